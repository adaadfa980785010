// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace wobblix::platform {

// Positions and sizes of the window are given in twips (1/1440 inch). This is the number of twips in one
// logical pixel of the primary screen: 15 at 96 dots per inch, 12 at 120.
double TwipsPerPixelX();
double TwipsPerPixelY();

// A length in twips as whole logical pixels, rounded to the nearest.
int pixelsX(int twips);
int pixelsY(int twips);

} // namespace wobblix::platform

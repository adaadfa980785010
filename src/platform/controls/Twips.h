// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

namespace wobblix::platform {

// Positions and sizes of the window are given in twips (1/1440 inch). This is the number of twips in one
// logical pixel of the primary screen: 15 at 96 dots per inch, 12 at 120.
Single TwipsPerPixelX();
Single TwipsPerPixelY();

} // namespace wobblix::platform

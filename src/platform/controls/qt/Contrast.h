// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QColor;

namespace wobblix::platform {

// The contrast that normal text needs to read, as the web's accessibility guidelines measure it.
constexpr double ReadableContrast = 4.5;

// The contrast of two colours as those guidelines define it: from 1 (the same luminance) to 21 (black on
// white), the same whichever colour comes first.
double contrast(const QColor& a, const QColor& b);

} // namespace wobblix::platform

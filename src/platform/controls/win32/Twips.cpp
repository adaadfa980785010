// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Twips.h"

#include <cmath>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

constexpr double TwipsPerInch = 1440.0;

// The primary screen's logical DPI, as the program is aware of it (its manifest says it is).
double logicalDpi(int axis)
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

Single TwipsPerPixelX()
{
    return static_cast<Single>(std::round(TwipsPerInch / logicalDpi(LOGPIXELSX)));
}

Single TwipsPerPixelY()
{
    return static_cast<Single>(std::round(TwipsPerInch / logicalDpi(LOGPIXELSY)));
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Twips.h"

#include "platform/controls/qt/Native.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace wobblix::platform {

namespace {
constexpr double TwipsPerInch = 1440.0;

double logicalDpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 96.0; // no screen at all: the usual desktop value
    return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}
} // namespace

Single TwipsPerPixelX()
{
    return static_cast<Single>(std::round(TwipsPerInch / logicalDpi(true)));
}
Single TwipsPerPixelY()
{
    return static_cast<Single>(std::round(TwipsPerInch / logicalDpi(false)));
}

int qt::pixelsX(Long twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(TwipsPerPixelX())));
}
int qt::pixelsY(Long twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(TwipsPerPixelY())));
}

} // namespace wobblix::platform

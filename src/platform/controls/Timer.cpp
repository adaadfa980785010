// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Timer.h"

namespace wobblix::platform {

Timer::Timer(int intervalMs, bool enabled, QObject* parent) : QTimer(parent)
{
    setInterval(intervalMs);
    setTimerType(Qt::PreciseTimer);
    setEnabled(enabled);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == isActive())
        return;
    if (enabled)
        start();
    else
        stop();
}

} // namespace wobblix::platform

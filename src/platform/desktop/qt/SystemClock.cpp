// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/Clock.h"

#include <QTime>

namespace wobblix::platform {

TimeOfDay SystemClock::Now() const
{
    const QTime now = QTime::currentTime();
    return {static_cast<Integer>(now.hour()), static_cast<Integer>(now.minute()),
            static_cast<Integer>(now.second())};
}

} // namespace wobblix::platform

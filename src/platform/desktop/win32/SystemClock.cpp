// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/Clock.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

TimeOfDay SystemClock::Now() const
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {static_cast<Integer>(now.wHour), static_cast<Integer>(now.wMinute),
            static_cast<Integer>(now.wSecond)};
}

} // namespace wobblix::platform

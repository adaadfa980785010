// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

namespace wobblix::platform {

// A local time of day.
struct TimeOfDay {
    Integer hour = 0;   // 0 to 23
    Integer minute = 0; // 0 to 59
    Integer second = 0; // 0 to 59
};

// The local time of day. The alarm reads it through this interface so that tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay Now() const = 0;
};

// The system's wall clock in the local time zone.
class SystemClock final : public Clock {
public:
    TimeOfDay Now() const override;
};

} // namespace wobblix::platform

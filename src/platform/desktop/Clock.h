// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTime>

namespace wobblix::platform {

// The local time of day. The alarm reads it through this interface so that tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QTime Now() const = 0;
};

// The system's wall clock in the local time zone.
class SystemClock final : public Clock {
public:
    QTime Now() const override { return QTime::currentTime(); }
};

} // namespace wobblix::platform

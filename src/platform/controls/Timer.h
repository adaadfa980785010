// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/Event.h"

namespace wobblix::platform {

// A window timer: while Enabled it raises its Timer event every Interval milliseconds, on the window's
// thread like every event. Off, it raises none; switched on, it counts a full interval from that moment.
// Ticks are precise: a timer that may fire up to 5% early would end a sixty-second rest three seconds
// early, still inside the minute that just sounded.
class Timer final : public Object {
public:
    explicit Timer(Form& form, String name);
    ~Timer() override;

    Long Interval() const;
    void setInterval(Long milliseconds);
    bool Enabled() const;
    void setEnabled(bool enabled);

    // The Timer event.
    Event<> Tick;

    struct Native;
    Native& native() const { return *m_native; }

private:
    std::unique_ptr<Native> m_native;
};

} // namespace wobblix::platform

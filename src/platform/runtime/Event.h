// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <utility>

namespace wobblix::platform {

// An event of a control or a window (Click, Change, KeyPress, MouseMove, Timer): at most one handler,
// which the runtime calls when the event is raised. An argument passed by reference (KeyPress's key code)
// comes back to the raiser as the handler left it. An event without a handler does nothing.
template <typename... Args> class Event {
public:
    using Handler = std::function<void(Args...)>;

    // Sets the handler: a member function of the window that owns the control.
    template <typename Owner> void Handle(Owner* owner, void (Owner::*handler)(Args...))
    {
        m_handler = [owner, handler](Args... args) { (owner->*handler)(std::forward<Args>(args)...); };
    }
    void Handle(Handler handler) { m_handler = std::move(handler); }

    // Called by the platform when the event happens.
    void Raise(Args... args) const
    {
        if (m_handler)
            m_handler(std::forward<Args>(args)...);
    }

private:
    Handler m_handler;
};

} // namespace wobblix::platform

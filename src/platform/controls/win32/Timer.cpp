// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Timer.h"

#include "platform/controls/win32/Native.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// A window timer of the form's window, its Tick raised on WM_TIMER. A window timer comes no earlier than
// its interval allows at the system clock's tick (about 16 ms), and may come later while the thread is busy.
Timer::Timer(Form& form, String name) : Object(form, std::move(name)), m_native(std::make_unique<Native>())
{
    Form::Native& window = form.native();
    m_native->window = window.hwnd;
    m_native->id = window.nextTimerId++;
    window.timers[m_native->id] = this;
}

Timer::~Timer()
{
    if (m_native->enabled && IsWindow(m_native->window))
        KillTimer(m_native->window, m_native->id);
    form().native().timers.erase(m_native->id);
}

Long Timer::Interval() const
{
    return m_native->interval;
}

// A new interval on a running timer counts from now, as switching it on does.
void Timer::setInterval(Long milliseconds)
{
    m_native->interval = milliseconds;
    if (m_native->enabled)
        SetTimer(m_native->window, m_native->id, static_cast<UINT>(milliseconds), nullptr);
}

bool Timer::Enabled() const
{
    return m_native->enabled;
}

// SetTimer starts the count afresh.
void Timer::setEnabled(bool enabled)
{
    if (enabled == m_native->enabled)
        return;
    m_native->enabled = enabled;
    if (enabled)
        SetTimer(m_native->window, m_native->id, static_cast<UINT>(m_native->interval), nullptr);
    else
        KillTimer(m_native->window, m_native->id);
}

} // namespace wobblix::platform

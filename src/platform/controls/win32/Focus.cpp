// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Focus.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// Windows lets the foreground window's process, and the one the user just started, take the foreground;
// the launch tokens are Linux's and have no part here. The form given the focus gives it on to its
// control.
void SetFocus(WindowHandle window, const LaunchTokens&)
{
    const HWND target = win32::ToHwnd(window);
    SetForegroundWindow(target);
    ::SetFocus(target);
}

} // namespace wobblix::platform

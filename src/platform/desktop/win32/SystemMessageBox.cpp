// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/MessageBox.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// Windows' message box, modal to the owner. The style values are Windows' own (MB_ICONEXCLAMATION 48,
// MB_ICONINFORMATION 64, MB_OK 0) and go to it as they are.
Long SystemMessageBox::MsgBox(WindowHandle owner, const String& prompt, Long style, const String& title)
{
    return MessageBoxW(win32::ToHwnd(owner), win32::Wide(prompt), win32::Wide(title),
                       static_cast<UINT>(style));
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Options > Exit and Help > About..

#include "main_window/MainForm.h"

#include "platform/desktop/MessageBox.h"

namespace wobblix {

// Ends the program. Nothing is saved: settings changed since the last Save are given up on purpose, and
// the notification icon is not touched (the window is shown whenever Exit can be reached).
void MainForm::menuExit_Click()
{
    Unload();
}

// The version message. The timers go on ticking while it is open, so the alarm still rings.
void MainForm::menuAbout_Click()
{
    const String prompt = String(u"Wobblix Clock Version 1.00") + u"\r\n" +
                          u"Made by the Wobblix Clock developers, for everyone who wakes up.";
    m_platform.messageBox.MsgBox(hWnd(), prompt, platform::MessageBox::Information, u"About Wobblix Clock");
}

} // namespace wobblix

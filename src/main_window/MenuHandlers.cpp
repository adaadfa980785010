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
    const QString prompt = QStringLiteral("Wobblix Clock Version 1.00") + QStringLiteral("\r\n") +
                           QStringLiteral("Made by the Wobblix Clock developers, for everyone who wakes up.");
    m_platform.messageBox.MsgBox(this, prompt, platform::MessageBox::Information,
                                 QStringLiteral("About Wobblix Clock"));
}

} // namespace wobblix

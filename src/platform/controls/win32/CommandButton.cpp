// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/CommandButton.h"

#include "platform/controls/win32/Native.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// Not a default button: Enter elsewhere on the window presses none.
CommandButton::CommandButton(Form& form, PictureBox* container, String name)
    : Control(form, container, std::move(name),
              win32::CreateControl(form, container, WC_BUTTONW,
                                   WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON))
{
    native().notify = [this](UINT code) {
        if (code == BN_CLICKED)
            Click.Raise();
    };
}

void CommandButton::setCaption(const String& caption)
{
    SetWindowTextW(native().hwnd, win32::Wide(caption));
}

} // namespace wobblix::platform

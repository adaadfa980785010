// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/CommandButton.h"

#include "platform/controls/win32/Native.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// Not a default button: Enter elsewhere on the window presses none.
CommandButton::CommandButton(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              win32::CreateControl(form, container, WC_BUTTONW,
                                   WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, description))
{
    native().notify = [this](UINT code) {
        if (code == BN_CLICKED)
            Click.Raise();
    };
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/CheckBox.h"

#include "platform/controls/win32/Native.h"
#include "platform/runtime/RuntimeError.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// A three-state box that the program handles itself, so that a click never makes it grayed: Windows'
// states BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE are the values 0, 1 and 2.
CheckBox::CheckBox(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              win32::CreateControl(form, container, WC_BUTTONW,
                                   WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_3STATE, description))
{
    native().checkBox = true;
    native().notify = [this](UINT code) {
        if (code == BN_CLICKED)
            setValue(Value() == Unchecked ? Checked : Unchecked);
    };
}

Integer CheckBox::Value() const
{
    return static_cast<Integer>(SendMessageW(native().hwnd, BM_GETCHECK, 0, 0));
}

void CheckBox::setValue(Long value)
{
    if (value != Unchecked && value != Checked && value != Grayed)
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
    SendMessageW(native().hwnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

} // namespace wobblix::platform

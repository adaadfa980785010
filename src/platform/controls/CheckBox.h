// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"

namespace wobblix::platform {

// A check box whose Value is the clock's 16-bit check-box state: 0 unchecked, 1 checked, 2 grayed. A click
// turns an unchecked box on and a checked or grayed one off; only the program sets grayed.
class CheckBox final : public Control {
public:
    static constexpr Integer Unchecked = 0;
    static constexpr Integer Checked = 1;
    static constexpr Integer Grayed = 2;

    CheckBox(Form& form, PictureBox* container, String name, const Description& description);

    Integer Value() const;
    // Throws RuntimeError "Invalid property value" (380) for anything but 0, 1 or 2.
    void setValue(Long value);
};

} // namespace wobblix::platform

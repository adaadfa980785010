// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"

namespace wobblix::platform {

// A caption on the window. Labels lie beneath every other control: a label that reaches into the control
// below it never covers that control's border.
class Label final : public Control {
public:
    Label(Form& form, PictureBox* container, String name, const Description& description);

    // Narrows the caption's face just enough for it to fit the label's width, where the desktop's face is
    // wider than the one the layout was drawn for: the widest stretch, in steps of 2%, at which it fits.
    void setShrinkToFit(bool shrink);
    // The control the label names, for screen readers.
    void setBuddy(Control& control);
};

} // namespace wobblix::platform

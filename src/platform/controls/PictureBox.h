// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/Event.h"

namespace wobblix::platform {

// A picture box: a panel with a sunken border and a background colour that holds other controls, and
// optionally a picture. A visible one takes the focus through Tab only. Mouse movements over it, and the
// notification area's reports to its window, are raised as MouseMove with the position in twips.
class PictureBox final : public Control {
public:
    PictureBox(Form& form, PictureBox* container, String name, const Description& description);

    // The picture, by the name of a picture resource of the program; its handle, or none.
    void setPicture(StringView resource);
    PictureHandle Picture() const;

    // Button and Shift as the runtime numbers them (left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4);
    // X and Y in twips.
    Event<Integer, Integer, Single, Single> MouseMove;
};

} // namespace wobblix::platform

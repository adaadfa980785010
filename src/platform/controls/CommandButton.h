// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/Event.h"

namespace wobblix::platform {

// A push button. Click is raised when it is pressed, by the mouse or by Space while it has the focus;
// Enter elsewhere on the window presses no button.
class CommandButton final : public Control {
public:
    CommandButton(Form& form, PictureBox* container, String name, const Description& description);

    Event<> Click;
};

} // namespace wobblix::platform

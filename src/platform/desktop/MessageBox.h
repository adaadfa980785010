// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

namespace wobblix::platform {

// The modal message box, with an OK button only. The style value is the sum of the buttons and the icon
// the way the clock's callers give it; the two icons they use are these.
class MessageBox {
public:
    static constexpr Long Exclamation = 48;
    static constexpr Long Information = 64;
    static constexpr Long Ok = 1; // the result when OK was pressed

    virtual ~MessageBox() = default;
    // Shows the box modal to the owner window and returns when the user has dismissed it.
    virtual Long MsgBox(WindowHandle owner, const String& prompt, Long style, const String& title) = 0;
};

// The desktop's own message box.
class SystemMessageBox final : public MessageBox {
public:
    Long MsgBox(WindowHandle owner, const String& prompt, Long style, const String& title) override;
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/Event.h"

namespace wobblix::platform {

// A one-line text box with the two events the clock handles:
// - Change, raised after every change of the text, typed, pasted or set by the program, and only when
//   the text really changed. A handler may set the text again; that raises Change once more, nested.
// - KeyPress, raised before the box sees a key that types or deletes, with the character's code:
//   printable characters as themselves, Backspace 8, Enter 13, Escape 27, and Ctrl with a letter as the
//   control character (Ctrl+A 1 ... Ctrl+Z 26). The editing shortcuts arrive as their Ctrl+letter's code
//   on whatever key the desktop binds them to (Shift+Insert as Ctrl+V 22, Ctrl+Insert as Ctrl+C 3).
//   Ctrl+Backspace, which deletes a word backwards, arrives as DEL, 127. The code is 16 bits: a character
//   from U+8000 up arrives negative. A handler that sets the code to 0 discards the key. Keys that type no
//   character raise no KeyPress and work as usual: those that move the cursor or the focus (arrows, Home,
//   End, Tab, with Shift selecting), and Delete and Ctrl+Delete, which delete forwards. Text committed by
//   an input method raises KeyPress for each of its characters, and only the characters the handler keeps
//   are typed.
// With a maximum length the box never holds more: a longer text, typed, pasted or set, is cut to fit.
// Disabled, the box takes no focus and cannot be typed into, and its text still reads.
class TextBox final : public Control {
public:
    // The code of Ctrl+Backspace: the DEL character.
    static constexpr Integer DeleteCode = 127;

    TextBox(Form& form, PictureBox* container, String name, const Description& description);

    String Text() const;
    void setText(const String& text);
    // At most this many characters; 0 for no limit.
    void setMaxLength(Long length);

    Event<> Change;
    Event<Integer&> KeyPress;
};

} // namespace wobblix::platform

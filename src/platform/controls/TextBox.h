// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>

namespace wobblix::platform {

// A one-line text box with the two events the clock handles:
// - Change, raised after every change of the text, typed, pasted or set by the program, and only when
//   the text really changed. A handler may set the text again; that raises Change once more, nested.
// - KeyPress, raised before the box sees a key that types or deletes, with the character's code:
//   printable characters as themselves, Backspace 8, Enter 13, Escape 27, and Ctrl with a letter as the
//   control character (Ctrl+A 1 ... Ctrl+Z 26). The editing shortcuts arrive as their Ctrl+letter's code
//   on whatever key the desktop binds them to (Shift+Insert as Ctrl+V 22, Ctrl+Insert as Ctrl+C 3).
//   Ctrl+Backspace, which deletes a word backwards, arrives as DEL, 127, the character it types on
//   Windows. The code is 16 bits: a character from U+8000 up arrives negative. A handler that sets the
//   code to 0 discards the key. Keys that type no character raise no KeyPress and work as usual: those
//   that move the cursor or the focus (arrows, Home, End, Tab, with Shift selecting), and Delete and
//   Ctrl+Delete, which delete forwards. Text committed by an input method (dead keys, compose, input
//   method editors) raises KeyPress for each of its characters, and only the characters the handler
//   keeps are typed.
// With a maximum length the box never holds more: a longer text, typed, pasted or set, is cut to fit.
// Disabled, the box still looks disabled (its background and frame) and takes no focus, but its text is
// drawn at a contrast of at least 4.5:1 against that background, so that it reads: the style's own
// disabled text is a light grey at under 2:1.
class TextBox final : public QLineEdit {
    Q_OBJECT
public:
    // The code of Ctrl+Backspace: the DEL character.
    static constexpr int DeleteCode = 127;

    explicit TextBox(QWidget* parent);

    QString Text() const { return text(); }
    // Hides QLineEdit::setText only to give it the name the handlers use; the behaviour is QLineEdit's.
    void setText(const QString& text) { QLineEdit::setText(text); }

Q_SIGNALS:
    void Change();
    void KeyPress(qint16& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The character code a key event carries in the sense above, or 0 when it produces no character.
    static int keyAscii(const QKeyEvent& event);
    void keepDisabledTextReadable();
};

} // namespace wobblix::platform

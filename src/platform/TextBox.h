#pragma once

#include <QLineEdit>

namespace wobblix::platform {

// A one-line text box with the two events the clock handles:
// - Change, raised after every change of the text, typed, pasted or set by the program, and only when
//   the text really changed. A handler may set the text again; that raises Change once more, nested.
// - KeyPress, raised before the box sees a key that produces a character, with the character's code:
//   printable characters as themselves, Backspace 8, Enter 13, Escape 27, and Ctrl with a letter as the
//   control character (Ctrl+A 1 ... Ctrl+Z 26). The editing shortcuts arrive as their Ctrl+letter's code
//   on whatever key the desktop binds them to (Shift+Insert as Ctrl+V 22, Ctrl+Insert as Ctrl+C 3). The
//   code is 16 bits: a character from U+8000 up arrives negative. A handler that sets the code to 0
//   discards the key. Keys that produce no character (arrows, Home, End, Delete, Tab) raise no KeyPress
//   and work as usual. Text committed by an input method (dead keys, compose, input method editors)
//   raises KeyPress for each of its characters, and only the characters the handler keeps are typed.
// With a maximum length the box never holds more: a longer text, typed, pasted or set, is cut to fit.
class TextBox final : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent);

    QString Text() const { return text(); }
    // Hides QLineEdit::setText only to give it the name the handlers use; the behaviour is QLineEdit's.
    void setText(const QString& text) { QLineEdit::setText(text); }

    // The character code a key event carries in the sense above, or 0 when it produces no character.
    static int keyAscii(const QKeyEvent& event);

Q_SIGNALS:
    void Change();
    void KeyPress(qint16& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

} // namespace wobblix::platform

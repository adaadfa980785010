#include "platform/TextBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <utility>

namespace wobblix::platform {

namespace {

// The key code is 16 bits wide: a character from U+8000 up arrives as a negative number, its 16 bits read
// as signed, and goes back to the same character.
qint16 toKeyCode(char16_t character)
{
    return static_cast<qint16>(character);
}
QChar fromKeyCode(qint16 code)
{
    return QChar(static_cast<char16_t>(code));
}

} // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    // QLineEdit raises textChanged for every real change, the program's own included: that is Change.
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

int TextBox::keyAscii(const QKeyEvent& event)
{
    // The editing shortcuts arrive as the control character of their Ctrl+letter key, whichever key the
    // desktop binds to them (Shift+Insert pastes, Ctrl+Insert copies, Shift+Delete cuts, Alt+Backspace
    // undoes), so that one decision about Ctrl+V covers every way of pasting from the keyboard.
    static constexpr std::pair<QKeySequence::StandardKey, int> editingShortcuts[] = {
        {QKeySequence::SelectAll, 1}, {QKeySequence::Copy, 3},  {QKeySequence::Paste, 22},
        {QKeySequence::Cut, 24},      {QKeySequence::Redo, 25}, {QKeySequence::Undo, 26},
    };
    for (const auto& [shortcut, code] : editingShortcuts)
        if (event.matches(shortcut))
            return code;
    const int key = event.key();
    // Keys that move or delete rather than type; X11 reports Delete with the text "\x7f".
    if (key == Qt::Key_Delete || key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return 0;
    if (event.modifiers().testFlag(Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0) == QChar(0x7f))
        return 0;
    return text.at(0).unicode();
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    const int character = keyAscii(*event);
    if (character == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const qint16 original = toKeyCode(static_cast<char16_t>(character));
    qint16 code = original;
    Q_EMIT KeyPress(code);
    if (code == original) {
        QLineEdit::keyPressEvent(event);
    } else if (code == 0) {
        event->accept(); // discarded: the box never sees it
    } else {
        insert(QString(fromKeyCode(code))); // the handler typed another character
        event->accept();
    }
}

// Text an input method commits (a dead key or compose sequence, or an input method editor) is typed too:
// each of its characters goes through KeyPress, and only those the handler keeps reach the box.
void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    QString kept;
    for (const QChar character : committed) {
        qint16 code = toKeyCode(character.unicode());
        Q_EMIT KeyPress(code);
        if (code != 0)
            kept += fromKeyCode(code);
    }
    if (kept == committed) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

} // namespace wobblix::platform

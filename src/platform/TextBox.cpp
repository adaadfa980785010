#include "platform/TextBox.h"

#include <QKeyEvent>

namespace wobblix::platform {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    // QLineEdit raises textChanged for every real change, the program's own included: that is Change.
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

int TextBox::keyAscii(const QKeyEvent& event)
{
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
    const int original = keyAscii(*event);
    if (original == 0 || original > 0x7fff) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    qint16 code = static_cast<qint16>(original);
    Q_EMIT KeyPress(code);
    if (code == original) {
        QLineEdit::keyPressEvent(event);
    } else if (code == 0) {
        event->accept(); // discarded: the box never sees it
    } else {
        insert(QString(QChar(static_cast<char16_t>(code)))); // the handler typed another character
        event->accept();
    }
}

} // namespace wobblix::platform

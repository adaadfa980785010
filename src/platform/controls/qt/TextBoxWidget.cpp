// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/qt/TextBoxWidget.h"

#include "platform/controls/TextBox.h"
#include "platform/controls/qt/Contrast.h"
#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <utility>

namespace wobblix::platform {

namespace qt {

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

// The first colour, in twentieths of the way from `from` to `to`, that reads on `background`; black or
// white when not even `to` does.
QColor readableOn(const QColor& background, const QColor& from, const QColor& to)
{
    constexpr int Steps = 20;
    for (int step = 0; step <= Steps; ++step) {
        const double t = static_cast<double>(step) / Steps;
        const QColor mixed =
            QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * t),
                             static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * t),
                             static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * t));
        if (contrast(mixed, background) >= ReadableContrast)
            return mixed;
    }
    return contrast(Qt::black, background) >= contrast(Qt::white, background) ? QColor(Qt::black)
                                                                              : QColor(Qt::white);
}

} // namespace

TextBoxWidget::TextBoxWidget(QWidget* parent) : QLineEdit(parent)
{
    // QLineEdit raises textChanged for every real change, the program's own included: that is Change.
    connect(this, &QLineEdit::textChanged, this, &TextBoxWidget::Change);
    keepDisabledTextReadable();
}

// The palette can change at any time (the desktop's theme), and with it the disabled background.
void TextBoxWidget::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        keepDisabledTextReadable();
}

// Darkens (or, on a dark theme, lightens) the disabled text towards the enabled text just as far as it
// takes to read. Setting the palette raises PaletteChange again, which then finds nothing to do.
void TextBoxWidget::keepDisabledTextReadable()
{
    const QPalette colours = palette();
    const QColor background = colours.color(QPalette::Disabled, QPalette::Base);
    const QColor text = colours.color(QPalette::Disabled, QPalette::Text);
    if (contrast(text, background) >= ReadableContrast)
        return;
    QPalette readable = colours;
    readable.setColor(QPalette::Disabled, QPalette::Text,
                      readableOn(background, text, colours.color(QPalette::Active, QPalette::Text)));
    setPalette(readable);
}

int TextBoxWidget::keyAscii(const QKeyEvent& event)
{
    // The editing shortcuts arrive as the control character of their Ctrl+letter key, whichever key the
    // desktop binds to them (Shift+Insert pastes, Ctrl+Insert copies, Shift+Delete cuts, Alt+Backspace
    // undoes), so that one decision about Ctrl+V covers every way of pasting from the keyboard. The
    // deletions backwards by word and of the line type DEL, as Ctrl+Backspace does on Windows; Delete and
    // Ctrl+Delete type nothing there, and nothing here.
    static constexpr std::pair<QKeySequence::StandardKey, int> editingShortcuts[] = {
        {QKeySequence::SelectAll, 1},
        {QKeySequence::Copy, 3},
        {QKeySequence::Paste, 22},
        {QKeySequence::Cut, 24},
        {QKeySequence::Redo, 25},
        {QKeySequence::Undo, 26},
        {QKeySequence::DeleteStartOfWord, TextBox::DeleteCode},
        {QKeySequence::DeleteEndOfLine, TextBox::DeleteCode},
        {QKeySequence::DeleteCompleteLine, TextBox::DeleteCode},
    };
    for (const auto& [shortcut, code] : editingShortcuts)
        if (event.matches(shortcut))
            return code;
    const int key = event.key();
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    // QLineEdit deletes a word backwards on Ctrl+Backspace, whatever else is held.
    if (ctrl && key == Qt::Key_Backspace)
        return TextBox::DeleteCode;
    // Keys that move the focus rather than type.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return 0;
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z)
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
    // Delete comes from X11 with the text "\x7f", DEL, though it types nothing.
    const QString text = event.text();
    if (text.isEmpty() || text.at(0) == QChar(0x7f))
        return 0;
    return text.at(0).unicode();
}

void TextBoxWidget::keyPressEvent(QKeyEvent* event)
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
void TextBoxWidget::inputMethodEvent(QInputMethodEvent* event)
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

} // namespace qt

TextBox::TextBox(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              std::make_unique<Native>(Native{new qt::TextBoxWidget(qt::containerWidget(form, container))}))
{
    auto* box = static_cast<qt::TextBoxWidget*>(native().widget.data());
    QObject::connect(box, &qt::TextBoxWidget::Change, box, [this] { Change.Raise(); });
    QObject::connect(box, &qt::TextBoxWidget::KeyPress, box, [this](qint16& code) { KeyPress.Raise(code); });
}

String TextBox::Text() const
{
    return qt::fromQString(static_cast<const QLineEdit&>(qt::widget(*this)).text());
}

void TextBox::setText(const String& text)
{
    static_cast<QLineEdit&>(qt::widget(*this)).setText(qt::toQString(text));
}

void TextBox::setMaxLength(Long length)
{
    if (length > 0)
        static_cast<QLineEdit&>(qt::widget(*this)).setMaxLength(length);
}

} // namespace wobblix::platform

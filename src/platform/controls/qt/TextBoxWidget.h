// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>

namespace wobblix::platform::qt {

// The text box on Qt (platform/controls/TextBox.h says what it does), with its events as signals: Change,
// and KeyPress with the character's code, which a handler may change (0 discards the key). Disabled, its
// text is drawn at a contrast of at least 4.5:1 against the disabled background, so that it reads: the
// style's own disabled text is a light grey at under 2:1.
class TextBoxWidget final : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBoxWidget(QWidget* parent);

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

} // namespace wobblix::platform::qt

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

namespace wobblix::platform {

// The modal message box, with an OK button only. The style value is the sum of the buttons and the icon
// the way the clock's callers give it; the two icons they use are these.
class MessageBox {
public:
    static constexpr int Exclamation = 48;
    static constexpr int Information = 64;
    static constexpr int Ok = 1; // the result when OK was pressed

    virtual ~MessageBox() = default;
    // Shows the box modal to owner and returns when the user has dismissed it.
    virtual int MsgBox(QWidget* owner, const QString& prompt, int style, const QString& title) = 0;
};

// The real box, a QMessageBox.
class QtMessageBox final : public MessageBox {
public:
    int MsgBox(QWidget* owner, const QString& prompt, int style, const QString& title) override;
};

} // namespace wobblix::platform

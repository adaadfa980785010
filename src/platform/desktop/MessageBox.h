// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

namespace wobblix::platform {

// The modal message box. The style value combines the buttons and the icon the way the clock's
// callers give it: 0 OK only; 16 critical, 32 question, 48 exclamation, 64 information icon.
class MessageBox {
public:
    static constexpr int OkOnly = 0;
    static constexpr int Critical = 16;
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

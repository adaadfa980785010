// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/MessageBox.h"
#include "platform/runtime/qt/QtText.h"

#include <QMessageBox>

namespace wobblix::platform {

// Qt's message box, modal to the owner's window.
Long SystemMessageBox::MsgBox(WindowHandle owner, const String& prompt, Long style, const String& title)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & 0x70) { // the icon's part of the style
    case Exclamation:
        icon = QMessageBox::Warning;
        break;
    case Information:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    // Parented to the owner for the time it is shown; deleted with the scope.
    QMessageBox box(icon, qt::toQString(title), qt::toQString(prompt), QMessageBox::Ok,
                    reinterpret_cast<QWidget*>(owner));
    box.setObjectName(QStringLiteral("MsgBox"));
    box.exec();
    return Ok;
}

} // namespace wobblix::platform

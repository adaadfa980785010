// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// The open-file record and the one global record that both Browse buttons share. The dialog itself is
// platform::FileDialog::GetOpenFileName, which takes the record in its ANSI form
// (platform::OPENFILENAMEA, where each field's meaning is given); the Browse handlers convert the record
// for each call and copy the answer back.
namespace wobblix {

// Field for field the dialog's record, with the program's own strings: a null QString is a field never
// set, and a text may hold NULs.
struct OPENFILENAME {
    quint32 lStructSize = 0;
    QWidget* hwndOwner = nullptr;
    quintptr hInstance = 0;
    QString lpstrFilter;
    QString lpstrCustomFilter;
    quint32 nMaxCustFilter = 0;
    quint32 nFilterIndex = 0;
    QString lpstrFile;
    quint32 nMaxFile = 0;
    QString lpstrFileTitle;
    quint32 nMaxFileTitle = 0;
    QString lpstrInitialDir;
    QString lpstrTitle;
    quint32 Flags = 0;
    quint16 nFileOffset = 0;
    quint16 nFileExtension = 0;
    QString lpstrDefExt;
    qint32 lCustData = 0;
    quintptr lpfnHook = 0;
    QString lpTemplateName;
};

// The one open-file record: zero at start, refilled before every dialog.
extern OPENFILENAME OFName;

} // namespace wobblix

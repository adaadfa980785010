// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QtGlobal>

class QWidget;

namespace wobblix::platform {

// The open-file dialog's flags the clock uses.
constexpr quint32 OFN_HIDEREADONLY = 0x4;    // no read-only check box
constexpr quint32 OFN_CREATEPROMPT = 0x2000; // a missing name is accepted once the user agrees to create it
constexpr quint32 OFN_EXPLORER = 0x80000;    // the explorer-style dialog
constexpr quint32 OFN_NODEREFERENCELINKS = 0x100000; // a link is returned as its own path, not its target's
constexpr quint32 OFN_LONGNAMES = 0x200000;          // long file names are shown

// The open-file record in the form the dialog takes at the call, its ANSI form: what the dialog is told
// and what it answers. The program converts its own record to this form for each call and copies it back
// after. Texts are 8-bit, in UTF-8 (the code page that holds every path), so lengths and offsets count
// bytes; a text may hold NULs, which end a name or separate the parts of a list ("Wave Sound Files" NUL
// "*.wav" NUL NUL), and a null QByteArray is a field never set. Buffers the dialog writes into keep their
// length: the answer is written at their start, ended by a NUL, and what stood behind it stays.
struct OPENFILENAMEA {
    quint32 lStructSize = 0;      // the record's size in its platform form, in bytes
    QWidget* hwndOwner = nullptr; // the window the dialog is modal to
    quintptr hInstance = 0;       // unused
    QByteArray lpstrFilter;       // pairs of description NUL patterns NUL, ended by one more NUL
    QByteArray lpstrCustomFilter; // unused
    quint32 nMaxCustFilter = 0;   // unused
    quint32 nFilterIndex = 0;     // the chosen filter, from 1; the dialog writes back the one last shown
    QByteArray lpstrFile;         // in: the initial name up to its first NUL; out: the chosen full path, NUL
    quint32 nMaxFile = 0;         // lpstrFile's length, the ending NUL included
    QByteArray lpstrFileTitle;    // out: the chosen name without its folder, NUL
    quint32 nMaxFileTitle = 0;    // lpstrFileTitle's length
    QByteArray lpstrInitialDir;   // the folder the dialog opens in, up to its first NUL
    QByteArray lpstrTitle;        // the dialog's title
    quint32 Flags = 0;            // OFN_ values
    quint16 nFileOffset = 0;      // out: where the name starts in lpstrFile
    quint16 nFileExtension = 0;   // out: where the extension starts in lpstrFile, 0 when there is none
    QByteArray lpstrDefExt;       // appended with a dot to a name typed without an extension
    qint32 lCustData = 0;         // unused
    quintptr lpfnHook = 0;        // unused: no hook
    QByteArray lpTemplateName;    // unused
};

// The modal open-file dialog, driven by the record: true when the user confirmed a file, whose full path
// is then in the record's file buffer; false on Cancel or failure, the buffers untouched.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual bool GetOpenFileName(OPENFILENAMEA& record) = 0;
};

} // namespace wobblix::platform

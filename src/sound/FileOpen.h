#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// The open-file record and the one global record that both Browse buttons share. The dialog itself is
// platform::FileDialog::GetOpenFileName.
namespace wobblix {

// The open-file dialog's flags the clock uses.
constexpr quint32 OFN_HIDEREADONLY = 0x4;    // no read-only check box
constexpr quint32 OFN_CREATEPROMPT = 0x2000; // a missing name is accepted once the user agrees to create it
constexpr quint32 OFN_EXPLORER = 0x80000;    // the explorer-style dialog
constexpr quint32 OFN_NODEREFERENCELINKS = 0x100000; // a link is returned as its own path, not its target's
constexpr quint32 OFN_LONGNAMES = 0x200000;          // long file names are shown

// What the dialog is told and what it answers. Texts are the program's own strings; a text may hold NULs,
// which end a name or separate the parts of a list ("Wave Sound Files" NUL "*.wav" NUL NUL), and a null
// QString is a field never set. Buffers the dialog writes into keep their length: the answer is written
// at their start, ended by a NUL, and what stood behind it stays.
struct OPENFILENAME {
    quint32 lStructSize = 0;      // the record's size in its platform form, in bytes
    QWidget* hwndOwner = nullptr; // the window the dialog is modal to
    quintptr hInstance = 0;       // unused
    QString lpstrFilter;          // pairs of description NUL patterns NUL, ended by one more NUL
    QString lpstrCustomFilter;    // unused
    quint32 nMaxCustFilter = 0;   // unused
    quint32 nFilterIndex = 0;     // the chosen filter, from 1; the dialog writes back the one last shown
    QString lpstrFile;            // in: the initial name up to its first NUL; out: the chosen full path, NUL
    quint32 nMaxFile = 0;         // lpstrFile's length in characters, the ending NUL included
    QString lpstrFileTitle;       // out: the chosen name without its folder, NUL
    quint32 nMaxFileTitle = 0;    // lpstrFileTitle's length in characters
    QString lpstrInitialDir;      // the folder the dialog opens in, up to its first NUL
    QString lpstrTitle;           // the dialog's title
    quint32 Flags = 0;            // OFN_ values
    quint16 nFileOffset = 0;      // out: where the name starts in lpstrFile
    quint16 nFileExtension = 0;   // out: where the extension starts in lpstrFile, 0 when there is none
    QString lpstrDefExt;          // appended with a dot to a name typed without an extension
    qint32 lCustData = 0;         // unused
    quintptr lpfnHook = 0;        // unused: no hook
    QString lpTemplateName;       // unused
};

// The one open-file record: zero at start, refilled before every dialog.
extern OPENFILENAME OFName;

} // namespace wobblix

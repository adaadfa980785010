// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The two Browse buttons: each lets the user pick a wave file and puts its full path into its field.

#include "main_window/MainForm.h"

#include "platform/controls/TextBox.h"
#include "platform/desktop/FileDialog.h"
#include "sound/FileOpen.h"

namespace wobblix {

namespace {

const QChar NUL(u'\0');

// A text of the record in the dialog's 8-bit form, NULs and all; a text never set stays null.
QByteArray ansi(const QString& text)
{
    return text.isNull() ? QByteArray() : text.toUtf8();
}
QString wide(const QByteArray& text)
{
    return text.isNull() ? QString() : QString::fromUtf8(text);
}

// The record converted field for field, each text through `text`: to the form the dialog takes at the
// call, and back. Coming back, each text is rebuilt from its whole buffer, so the path's NUL and what
// stood behind it come back too.
template <typename To, typename From, typename Text> To converted(const From& record, Text text)
{
    return {
        .lStructSize = record.lStructSize,
        .hwndOwner = record.hwndOwner,
        .hInstance = record.hInstance,
        .lpstrFilter = text(record.lpstrFilter),
        .lpstrCustomFilter = text(record.lpstrCustomFilter),
        .nMaxCustFilter = record.nMaxCustFilter,
        .nFilterIndex = record.nFilterIndex,
        .lpstrFile = text(record.lpstrFile),
        .nMaxFile = record.nMaxFile,
        .lpstrFileTitle = text(record.lpstrFileTitle),
        .nMaxFileTitle = record.nMaxFileTitle,
        .lpstrInitialDir = text(record.lpstrInitialDir),
        .lpstrTitle = text(record.lpstrTitle),
        .Flags = record.Flags,
        .nFileOffset = record.nFileOffset,
        .nFileExtension = record.nFileExtension,
        .lpstrDefExt = text(record.lpstrDefExt),
        .lCustData = record.lCustData,
        .lpfnHook = record.lpfnHook,
        .lpTemplateName = text(record.lpTemplateName),
    };
}

// Refills every field of the shared record that the dialog reads, so nothing of an earlier dialog, from
// either button, carries into this one; shows the dialog; and on a confirmed file puts its path into the
// field. Cancel, closing the dialog or a failed dialog leave the field as it was, without a message.
void browseInto(QWidget* owner, platform::FileDialog& dialog, platform::TextBox& field)
{
    const QString filter = QStringLiteral("Wave Sound Files") + NUL + QStringLiteral("*.wav") + NUL + NUL;
    OFName.lStructSize = 76;
    OFName.hwndOwner = owner;
    OFName.lpstrFilter = filter;
    OFName.nFilterIndex = 1;
    // A name of blanks: the dialog opens with an empty name box.
    OFName.lpstrFile = QString(1024, u' ') + NUL + NUL;
    OFName.nMaxFile = static_cast<quint32>(OFName.lpstrFile.size());
    // "wav", not "bas": a name typed without an extension must come back as a wave file, or the alarm
    // would be set to a file that never plays.
    OFName.lpstrDefExt = QStringLiteral("wav") + NUL + NUL;
    OFName.lpstrFileTitle = NUL + QString(512, u' ') + NUL + NUL;
    OFName.nMaxFileTitle = static_cast<quint32>(OFName.lpstrFileTitle.size());
    OFName.lpstrInitialDir = QStringLiteral("c:\\") + NUL + NUL;
    OFName.lpstrTitle = QStringLiteral("Sound to Play");
    OFName.Flags = platform::OFN_HIDEREADONLY | platform::OFN_CREATEPROMPT | platform::OFN_EXPLORER |
                   platform::OFN_NODEREFERENCELINKS | platform::OFN_LONGNAMES;

    platform::OPENFILENAMEA call = converted<platform::OPENFILENAMEA>(OFName, ansi);
    const bool confirmed = dialog.GetOpenFileName(call);
    OFName = converted<OPENFILENAME>(call, wide);
    if (!confirmed)
        return;
    // The buffer holds the path, its NUL and the rest of the blanks: the field takes the path alone.
    field.setText(OFName.lpstrFile.left(OFName.lpstrFile.indexOf(NUL)));
}

} // namespace

void MainForm::cmdBrowse_Click()
{
    browseInto(this, m_platform.fileDialog, *txtSound);
}

void MainForm::cmdChimesBrowse_Click()
{
    browseInto(this, m_platform.fileDialog, *txtChimesSoundFile);
}

} // namespace wobblix

// The two Browse buttons: each lets the user pick a wave file and puts its full path into its field.

#include "main_window/MainForm.h"

#include "platform/FileDialog.h"
#include "platform/TextBox.h"
#include "sound/FileOpen.h"

namespace wobblix {

namespace {

const QChar NUL(u'\0');

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
    OFName.Flags =
        OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_EXPLORER | OFN_NODEREFERENCELINKS | OFN_LONGNAMES;

    if (!dialog.GetOpenFileName(OFName))
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

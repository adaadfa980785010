// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The two Browse buttons: each lets the user pick a wave file and puts its full path into its field.

#include "main_window/MainForm.h"

#include "platform/controls/TextBox.h"
#include "platform/desktop/FileDialog.h"
#include "platform/runtime/Strings.h"
#include "sound/FileOpen.h"

#include <optional>
#include <string>

namespace wobblix {

namespace {

constexpr char16_t NUL = u'\0';

// A text of the record in the dialog's 8-bit form, NULs and all; a text never set stays unset.
std::optional<std::string> ansi(const std::optional<String>& text)
{
    return text ? std::optional(platform::ToAnsi(*text)) : std::nullopt;
}
std::optional<String> wide(const std::optional<std::string>& text)
{
    return text ? std::optional(platform::FromAnsi(*text)) : std::nullopt;
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
void browseInto(platform::WindowHandle owner, platform::FileDialog& dialog, platform::TextBox& field)
{
    const String filter = String(u"Wave Sound Files") + NUL + u"*.wav" + NUL + NUL;
    OFName.lStructSize = 76;
    OFName.hwndOwner = owner;
    OFName.lpstrFilter = filter;
    OFName.nFilterIndex = 1;
    // A name of blanks: the dialog opens with an empty name box.
    OFName.lpstrFile = String(1024, u' ') + NUL + NUL;
    OFName.nMaxFile = static_cast<std::uint32_t>(OFName.lpstrFile->size());
    // "wav", not "bas": a name typed without an extension must come back as a wave file, or the alarm
    // would be set to a file that never plays.
    OFName.lpstrDefExt = String(u"wav") + NUL + NUL;
    OFName.lpstrFileTitle = NUL + String(512, u' ') + NUL + NUL;
    OFName.nMaxFileTitle = static_cast<std::uint32_t>(OFName.lpstrFileTitle->size());
    OFName.lpstrInitialDir = String(u"c:\\") + NUL + NUL;
    OFName.lpstrTitle = String(u"Sound to Play");
    OFName.Flags = platform::OFN_HIDEREADONLY | platform::OFN_CREATEPROMPT | platform::OFN_EXPLORER |
                   platform::OFN_NODEREFERENCELINKS | platform::OFN_LONGNAMES;

    platform::OPENFILENAMEA call = converted<platform::OPENFILENAMEA>(OFName, ansi);
    const bool confirmed = dialog.GetOpenFileName(call);
    OFName = converted<OPENFILENAME>(call, wide);
    if (!confirmed)
        return;
    // The buffer holds the path, its NUL and the rest of the blanks: the field takes the path alone.
    const String& buffer = OFName.lpstrFile.value_or(String());
    field.setText(buffer.substr(0, buffer.find(NUL)));
}

} // namespace

void MainForm::cmdBrowse_Click()
{
    browseInto(hWnd(), m_platform.fileDialog, *txtSound);
}

void MainForm::cmdChimesBrowse_Click()
{
    browseInto(hWnd(), m_platform.fileDialog, *txtChimesSoundFile);
}

} // namespace wobblix

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <cstdint>
#include <optional>
#include <string>

namespace wobblix::platform {

// The open-file dialog's flags the clock uses.
constexpr std::uint32_t OFN_HIDEREADONLY = 0x4; // no read-only check box
constexpr std::uint32_t OFN_CREATEPROMPT =
    0x2000; // a missing name is accepted once the user agrees to create it
constexpr std::uint32_t OFN_EXPLORER = 0x80000; // the explorer-style dialog
constexpr std::uint32_t OFN_NODEREFERENCELINKS =
    0x100000;                                     // a link is returned as its own path, not its target's
constexpr std::uint32_t OFN_LONGNAMES = 0x200000; // long file names are shown

// The open-file record in the form the dialog takes at the call, its ANSI form: what the dialog is told
// and what it answers. The program converts its own record to this form for each call and copies it back
// after. Texts are 8-bit, in the ANSI code page (platform/runtime/Strings.h), so lengths and offsets count
// bytes; a text may hold NULs, which end a name or separate the parts of a list ("Wave Sound Files" NUL
// "*.wav" NUL NUL), and a field without a value is one never set. Buffers the dialog writes into keep their
// length: the answer is written at their start, ended by a NUL, and what stood behind it stays.
struct OPENFILENAMEA {
    std::uint32_t lStructSize = 0;          // the record's size in its platform form, in bytes
    WindowHandle hwndOwner = nullptr;       // the window the dialog is modal to
    std::uintptr_t hInstance = 0;           // unused
    std::optional<std::string> lpstrFilter; // pairs of description NUL patterns NUL, ended by one more NUL
    std::optional<std::string> lpstrCustomFilter; // unused
    std::uint32_t nMaxCustFilter = 0;             // unused
    std::uint32_t nFilterIndex = 0; // the chosen filter, from 1; the dialog writes back the one last shown
    std::optional<std::string>
        lpstrFile;              // in: the initial name up to its first NUL; out: the chosen full path, NUL
    std::uint32_t nMaxFile = 0; // lpstrFile's length, the ending NUL included
    std::optional<std::string> lpstrFileTitle;  // out: the chosen name without its folder, NUL
    std::uint32_t nMaxFileTitle = 0;            // lpstrFileTitle's length
    std::optional<std::string> lpstrInitialDir; // the folder the dialog opens in, up to its first NUL
    std::optional<std::string> lpstrTitle;      // the dialog's title
    std::uint32_t Flags = 0;                    // OFN_ values
    std::uint16_t nFileOffset = 0;              // out: where the name starts in lpstrFile
    std::uint16_t nFileExtension = 0; // out: where the extension starts in lpstrFile, 0 when there is none
    std::optional<std::string> lpstrDefExt;    // appended with a dot to a name typed without an extension
    std::int32_t lCustData = 0;                // unused
    std::uintptr_t lpfnHook = 0;               // unused: no hook
    std::optional<std::string> lpTemplateName; // unused
};

// The modal open-file dialog, driven by the record: true when the user confirmed a file, whose full path
// is then in the record's file buffer; false on Cancel or failure, the buffers untouched.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual bool GetOpenFileName(OPENFILENAMEA& record) = 0;
};

} // namespace wobblix::platform

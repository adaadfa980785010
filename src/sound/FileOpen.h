// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <cstdint>
#include <optional>

// The open-file record and the one global record that both Browse buttons share. The dialog itself is
// platform::FileDialog::GetOpenFileName, which takes the record in its ANSI form
// (platform::OPENFILENAMEA, where each field's meaning is given); the Browse handlers convert the record
// for each call and copy the answer back.
namespace wobblix {

// Field for field the dialog's record, with the program's own strings: a text without a value is a field
// never set, and a text may hold NULs.
struct OPENFILENAME {
    std::uint32_t lStructSize = 0;
    platform::WindowHandle hwndOwner = nullptr;
    std::uintptr_t hInstance = 0;
    std::optional<platform::String> lpstrFilter;
    std::optional<platform::String> lpstrCustomFilter;
    std::uint32_t nMaxCustFilter = 0;
    std::uint32_t nFilterIndex = 0;
    std::optional<platform::String> lpstrFile;
    std::uint32_t nMaxFile = 0;
    std::optional<platform::String> lpstrFileTitle;
    std::uint32_t nMaxFileTitle = 0;
    std::optional<platform::String> lpstrInitialDir;
    std::optional<platform::String> lpstrTitle;
    std::uint32_t Flags = 0;
    std::uint16_t nFileOffset = 0;
    std::uint16_t nFileExtension = 0;
    std::optional<platform::String> lpstrDefExt;
    std::int32_t lCustData = 0;
    std::uintptr_t lpfnHook = 0;
    std::optional<platform::String> lpTemplateName;
};

// The one open-file record: zero at start, refilled before every dialog.
extern OPENFILENAME OFName;

} // namespace wobblix

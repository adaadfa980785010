// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/win32/SystemSound.h"

#include "platform/runtime/Strings.h"
#include "platform/runtime/win32/Ansi.h"

#include <string>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

// Whether the process's ANSI code page holds every character of the text.
bool fitsCodePage(const std::wstring& text)
{
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                        nullptr, &lost);
    return lost == FALSE;
}

// The multimedia library beneath PlaySound opens a file by its name in the ANSI code page, the wide form
// of the call too: a path that code page cannot hold would be silent. Such a path is played by its short
// name, which it can hold, where the file's volume gives short names; elsewhere it stays as it was.
std::wstring playableName(std::wstring name)
{
    if (fitsCodePage(name))
        return name;
    const DWORD length = GetShortPathNameW(name.c_str(), nullptr, 0);
    if (length == 0)
        return name;
    std::wstring shortName(length, L'\0');
    shortName.resize(GetShortPathNameW(name.c_str(), shortName.data(), length));
    return !shortName.empty() && fitsCodePage(shortName) ? shortName : name;
}

} // namespace

// The flags go to Windows as they are given.
bool SystemSound::PlaySound(const String& name, std::uint32_t flags)
{
    const std::string ansi = ToAnsi(name);
    if (win32::AnsiIsUtf8())
        return PlaySoundA(ansi.c_str(), nullptr, flags) != FALSE;
    return PlaySoundW(playableName(win32::WideFromUtf8(ansi)).c_str(), nullptr, flags) != FALSE;
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/win32/SystemSound.h"

#include "platform/runtime/Strings.h"
#include "platform/runtime/win32/Ansi.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// The flags go to Windows as they are given.
bool SystemSound::PlaySound(const String& name, std::uint32_t flags)
{
    const std::string ansi = ToAnsi(name);
    if (win32::AnsiIsUtf8())
        return PlaySoundA(ansi.c_str(), nullptr, flags) != FALSE;
    return PlaySoundW(win32::WideFromUtf8(ansi).c_str(), nullptr, flags) != FALSE;
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/win32/SystemSound.h"

#include "platform/playback/win32/WaveImage.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/win32/Ansi.h"
#include "platform/runtime/win32/SystemLibrary.h"

#include <string>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

// The longest name the multimedia library beneath PlaySound opens a file by: mmioOpen takes 128
// characters with the NUL, in the ANSI code page, the wide form of PlaySound too.
constexpr std::size_t LongestOpenableName = 127;

// Whether PlaySound can open the file by this name: the name fits mmioOpen's length and the process's
// ANSI code page holds every character of it. In UTF-8 every character is held, and the length counts
// its bytes.
bool opensByName(const std::string& ansi, const std::wstring& wide)
{
    if (win32::AnsiIsUtf8())
        return ansi.size() <= LongestOpenableName;
    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(),
                                          static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
    return lost == FALSE && static_cast<std::size_t>(bytes) <= LongestOpenableName;
}

// PlaySound's two forms, from the multimedia library, which is loaded at the first sound rather than with
// the program: it brings COM's libraries with it, which a start has no need of. Null where it cannot be had,
// and every sound is then silent.
struct PlaySoundFunctions {
    decltype(&::PlaySoundA) ansi;
    decltype(&::PlaySoundW) wide;
};
const PlaySoundFunctions& playSound()
{
    static const PlaySoundFunctions functions{
        win32::LibraryFunction<decltype(&::PlaySoundA)>(L"winmm.dll", "PlaySoundA"),
        win32::LibraryFunction<decltype(&::PlaySoundW)>(L"winmm.dll", "PlaySoundW")};
    return functions;
}

} // namespace

SystemSound::SystemSound() = default;

// The sound still playing may be reading the image.
SystemSound::~SystemSound()
{
    stopImage();
}

void SystemSound::stopImage()
{
    if (m_image == nullptr)
        return;
    playSound().wide(nullptr, nullptr, 0); // there, for the image was played
    m_image.reset();
}

// The flags go to Windows as they are given, with SND_MEMORY where the sound plays from memory. A name
// PlaySound opens (a path, or a registered sound event's name) goes by name; any other path from memory,
// silent where the file cannot be read or is no wave file. Either way the sound playing stops first.
bool SystemSound::PlaySound(const String& name, std::uint32_t flags)
{
    const PlaySoundFunctions& play = playSound();
    if (play.ansi == nullptr || play.wide == nullptr)
        return false;
    const std::string ansi = ToAnsi(name);
    const std::wstring wide = win32::WideFromUtf8(ansi);
    if (opensByName(ansi, wide)) {
        stopImage();
        if (win32::AnsiIsUtf8())
            return play.ansi(ansi.c_str(), nullptr, flags) != FALSE;
        return play.wide(wide.c_str(), nullptr, flags) != FALSE;
    }
    std::unique_ptr<win32::WaveImage> image = win32::WaveImage::Open(wide);
    // The sound playing stops before its image goes: PlaySound may still be reading it.
    play.wide(nullptr, nullptr, 0);
    m_image = std::move(image);
    if (m_image == nullptr)
        return false;
    return play.wide(static_cast<LPCWSTR>(m_image->data()), nullptr, flags | SND_MEMORY) != FALSE;
}

} // namespace wobblix::platform

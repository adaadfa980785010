// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// The flags of the playback request (platform::Sound::PlaySound).
namespace wobblix::PlaySoundMod {

constexpr std::uint32_t SND_ASYNC = 0x1;     // return at once while the sound plays
constexpr std::uint32_t SND_NODEFAULT = 0x2; // a name that plays nothing stays silent: no fallback sound

} // namespace wobblix::PlaySoundMod

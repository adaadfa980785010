// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/playback/Sound.h"

namespace wobblix::platform {

// Windows' own playback, PlaySound of the multimedia library: a name registered as a sound event plays
// that event's sound, any other is taken as a file path (the flags name neither). Windows plays one sound
// of a process at a time, so a new request cuts off the one playing.
class SystemSound final : public Sound {
public:
    bool PlaySound(const String& name, std::uint32_t flags) override;
};

} // namespace wobblix::platform

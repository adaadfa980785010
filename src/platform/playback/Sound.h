// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <cstdint>

namespace wobblix::platform {

// Asynchronous sound playback by name: a path to a sound file or the name of a sound of the desktop's
// sound theme. Returns at once while the sound plays; one sound at a time for the whole program, so a new
// request cuts off the sound still playing. A name that plays nothing gives silence and no message.
// Returns true when playback started.
class Sound {
public:
    virtual ~Sound() = default;
    virtual bool PlaySound(const String& name, std::uint32_t flags) = 0;
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/playback/Sound.h"

#include <memory>

namespace wobblix::platform {

namespace win32 {
class WaveImage;
}

// Windows' own playback, PlaySound of the multimedia library: a name registered as a sound event plays
// that event's sound, any other is taken as a file path (the flags name neither). Windows plays one sound
// of a process at a time, so a new request cuts off the one playing.
//
// A path that PlaySound cannot open by its name is played from memory instead (win32/WaveImage.h), which
// then lives until the next request, or the end of the program, has stopped the sound that reads it.
class SystemSound final : public Sound {
public:
    SystemSound();
    SystemSound(const SystemSound&) = delete;
    SystemSound& operator=(const SystemSound&) = delete;
    ~SystemSound() override;

    bool PlaySound(const String& name, std::uint32_t flags) override;

private:
    // Stops the sound playing and lets go of the image it may have been reading.
    void stopImage();

    std::unique_ptr<win32::WaveImage> m_image; // of the sound requested last, if it went from memory
};

} // namespace wobblix::platform

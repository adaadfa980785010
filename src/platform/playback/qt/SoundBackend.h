// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/playback/Sound.h"

#include <QtPlugin>

class QObject;

namespace wobblix::platform {

// What the audio module offers the program: the desktop's sound playback, made when first asked for. The
// module carries libsndfile and libpulse with it, so the program starts without loading them (see
// AudioModule).
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // A new player, a QObject child of `parent`, which deletes it.
    virtual Sound* createSound(QObject* parent) = 0;
};

} // namespace wobblix::platform

// A module built for another version of this interface is refused when it is loaded.
#define WOBBLIX_SOUND_BACKEND_IID "io.github.wobblix.WobblixClock.SoundBackend/1"
Q_DECLARE_INTERFACE(wobblix::platform::SoundBackend, WOBBLIX_SOUND_BACKEND_IID)

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The audio module's entry point: the one class the program finds in the module when it loads it at the
// first sound request.

#include "platform/playback/qt/SoundBackend.h"
#include "platform/playback/qt/audio/SoundPlayer.h"

#include <QObject>

namespace wobblix::platform {

class AudioPlugin final : public QObject, public SoundBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WOBBLIX_SOUND_BACKEND_IID)
    Q_INTERFACES(wobblix::platform::SoundBackend)
public:
    Sound* createSound(QObject* parent) override { return new SoundPlayer(parent); }
};

} // namespace wobblix::platform

#include "AudioPlugin.moc"

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/playback/Sound.h"

#include <QObject>

#include <memory>

namespace wobblix::platform {

class PulsePlayback;

// The desktop's sound playback: a sound file decoded by libsndfile, played by the sound server on its
// default output of the moment (see PulsePlayback). A name that is not a path to a file is looked up in
// the freedesktop sound theme. A request opens the file and hands it to the playback thread, and returns:
// it never waits on the sound server. Every request ends the sound still playing; a name that plays
// nothing gives silence. The flags change nothing: playback is always asynchronous and never falls back
// to another sound.
class SoundPlayer final : public QObject, public Sound {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    bool PlaySound(const String& name, std::uint32_t flags) override;

Q_SIGNALS:
    // The sound of the last request is over: played to its end and its stream closed at the server, or
    // dropped by the server, or given up because no server answered. A sound cut off by a new request
    // raises nothing. The program does not listen; the tests do, for the moment a sound as short as 50 ms
    // closes at the server is more than polling the server from outside can tell.
    void finished();

private:
    void soundEnded(quint64 request);

    quint64 m_requests = 0; // requests made so far; each one's number is its count
    quint64 m_playing = 0;  // the request whose sound plays or waits; 0 in silence
    std::unique_ptr<PulsePlayback> m_playback;
};

} // namespace wobblix::platform

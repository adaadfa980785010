#pragma once

#include "platform/Sound.h"

#include <QAudio>
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

class QAudioSink;

namespace wobblix::platform {

class SoundFileSource;

// The desktop's sound playback: a sound file decoded by libsndfile as Qt's audio sink pulls it, to the
// output that is the default at the moment of the request. A name that is not a path to a file is looked
// up in the freedesktop sound theme. Nothing of the audio back end exists before the first request, and
// nothing stays open at the sound server once a sound has ended. Every request ends the sound still
// playing; a name that plays nothing gives silence. The flags change nothing: playback is always
// asynchronous and never falls back to another sound.
class SoundPlayer final : public QObject, public Sound {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    bool PlaySound(const QString& name, quint32 flags) override;

    // Whether a sound's stream is open at the sound server.
    bool isPlaying() const { return m_sink != nullptr; }

Q_SIGNALS:
    // A sound played to its end (or its output failed) and its stream is closed. A sound cut off by a new
    // request raises nothing.
    void finished();

private:
    void stop();
    void sinkStateChanged(QAudio::State state);
    // Closes the stream once the sink has played all of the sound. The sink is fed silence after the
    // sound (see SoundFileSource), so this is decided here: once the sound server's play position is past
    // the sound's end, or at the latest EndGraceMs after the end was due, should the server stall.
    void soundDelivered();
    void closeWhenPlayed();
    qint64 microsecondsLeft() const;

    QAudioSink* m_sink = nullptr;          // the playing sound's stream; null in silence
    SoundFileSource* m_source = nullptr;   // what m_sink pulls; a child of it
    QTimer* m_endCheck = new QTimer(this); // single shot: look again whether the end has been heard
    QDeadlineTimer m_endDeadline;
};

} // namespace wobblix::platform

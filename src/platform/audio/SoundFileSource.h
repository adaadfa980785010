#pragma once

#include "platform/audio/FrameConverter.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QFile>
#include <QIODevice>

#include <memory>
#include <vector>

struct sf_private_tag; // libsndfile's SNDFILE

namespace wobblix::platform {

// A sound file as a stream of samples for an audio sink that pulls them: libsndfile decodes only the
// frames each read asks for, so a ten-minute file costs no more to start than a one-second one, and memory
// stays a few kilobytes whatever the file claims. The file is read through QFile, so any path Qt opens
// works (spaces, non-ASCII characters, very long paths). Every format libsndfile recognises by content
// plays: each wave encoding (PCM, float, A-law, mu-law, IMA and MS ADPCM, GSM 6.10), FLAC and Ogg Vorbis.
//
// After the sound, the stream goes on with silence until it is closed: the sink never runs dry by itself,
// so its owner decides when the sound has been heard and stops it. (Qt 6.4's PulseAudio sink, run dry at
// the end of its source, asks the server to drain with a callback that can outlive the sink.)
class SoundFileSource final : public QIODevice {
    Q_OBJECT
public:
    // The sound in the file, open for reading in its own rate and channels as float samples; nullptr when
    // the path is no regular file (missing, a folder, a device, a pipe), cannot be read, is no sound file
    // libsndfile recognises (an unknown type, a cut or corrupt header) or holds no frames.
    static std::unique_ptr<SoundFileSource> open(const QString& path, QObject* parent = nullptr);
    ~SoundFileSource() override;

    int fileSampleRate() const { return m_fileRate; }
    int fileChannelCount() const { return m_fileChannels; }

    // Delivers the sound in `format` from now on (call before the first read).
    void setOutputFormat(const QAudioFormat& format);
    const QAudioFormat& outputFormat() const { return m_converter.outputFormat(); }

    // The bytes of the sound delivered so far, silence after it left out.
    qint64 soundBytesDelivered() const { return m_delivered; }
    // Whether all of the sound has been delivered: reads give silence from now on.
    bool isSoundDelivered() const { return m_decoderDone && m_pending.isEmpty(); }

    bool isSequential() const override { return true; }
    // What is left of the sound, as far as the file's header tells: an audio sink sizes its first
    // buffer by it, so that a sound shorter than that buffer starts at once.
    qint64 bytesAvailable() const override;
    bool atEnd() const override { return !isOpen(); }

Q_SIGNALS:
    // All of the sound has been delivered (raised once, from within the read that delivered its end).
    void soundDelivered();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    struct CloseSndfile {
        void operator()(sf_private_tag* sndfile) const;
    };

    SoundFileSource(std::unique_ptr<QFile> file, QObject* parent);
    // Decodes one piece of the file into m_pending; sets m_decoderDone at the end or on a read error.
    void decodePiece();

    std::unique_ptr<QFile> m_file; // read by libsndfile through its virtual I/O, so it outlives m_sndfile
    std::unique_ptr<sf_private_tag, CloseSndfile> m_sndfile;
    int m_fileRate = 0;
    int m_fileChannels = 0;
    qint64 m_fileFrames = 0; // as the header tells; the data may end sooner

    FrameConverter m_converter{1, 1, {}};
    std::vector<float> m_decoded; // one piece of decoded frames
    QByteArray m_pending;         // converted bytes not yet read
    qint64 m_delivered = 0;
    bool m_decoderDone = false;
};

} // namespace wobblix::platform

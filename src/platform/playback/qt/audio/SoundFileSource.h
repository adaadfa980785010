// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QString>

#include <memory>

struct sf_private_tag; // libsndfile's SNDFILE

namespace wobblix::platform {

// A sound file as float frames in its own rate and channels: libsndfile decodes only the frames each read
// asks for, so a ten-minute file costs no more to start than a one-second one, and memory stays a few
// kilobytes whatever the file claims. The file is read through QFile, so any path Qt opens works (spaces,
// non-ASCII characters, very long paths). Every format libsndfile recognises by content plays: each wave
// encoding (PCM, float, A-law, mu-law, IMA and MS ADPCM, GSM 6.10), FLAC and Ogg Vorbis.
//
// Opened on one thread, it may be read on another, one thread at a time.
class SoundFileSource final {
public:
    // The sound in the file; nullptr when the path is no regular file (missing, a folder, a device, a
    // pipe), cannot be read, is no sound file libsndfile recognises (an unknown type, a cut or corrupt
    // header) or holds no frames.
    static std::unique_ptr<SoundFileSource> open(const QString& path);
    ~SoundFileSource();

    int sampleRate() const { return m_rate; }
    int channelCount() const { return m_channels; }
    // As the header tells; the data may end sooner. Only the tests read it: that a long file is taken at
    // its whole length without being decoded shows nowhere outside.
    qint64 frameCount() const { return m_frames; }

    // Decodes up to `maxFrames` interleaved float frames (-1 to 1) into `frames`: fewer only at the end of
    // the sound, where a piece that cannot be decoded counts as the end too.
    qint64 read(float* frames, qint64 maxFrames);

private:
    struct CloseSndfile {
        void operator()(sf_private_tag* sndfile) const;
    };

    explicit SoundFileSource(std::unique_ptr<QFile> file);

    std::unique_ptr<QFile> m_file; // read by libsndfile through its virtual I/O, so it outlives m_sndfile
    std::unique_ptr<sf_private_tag, CloseSndfile> m_sndfile;
    int m_rate = 0;
    int m_channels = 0;
    qint64 m_frames = 0;
    bool m_ended = false; // a read came back short: nothing more is read from the file
};

} // namespace wobblix::platform

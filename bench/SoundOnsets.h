// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QtGlobal>

namespace wobblix::bench {

// One sound heard in a recording: where it began, its tone and its length.
struct Onset {
    qint64 frame = 0;     // first sample louder than -40 dBFS
    double frequency = 0; // Hz, from the sound's rising zero crossings
    double lengthMs = 0;
};

// Finds the sounds in a mono recording fed to it piece by piece: a sound begins with a sample louder than
// -40 dBFS and ends after 50 ms below it. Meant for the test tones of the benchmarks (one sine each).
class SoundOnsets {
public:
    static constexpr int Rate = 48000;

    void feed(const qint16* samples, qsizetype count);
    // Ends a sound still sounding at the end of the recording.
    void finish();
    // The sounds that have ended since the last call.
    QList<Onset> takeEnded();
    qint64 frames() const { return m_frame; }

private:
    void endSound();

    static constexpr int Threshold = 328;              // -40 dBFS of full scale
    static constexpr qint64 EndGap = Rate * 50 / 1000; // quiet frames that end a sound

    qint64 m_frame = 0;
    bool m_sounding = false;
    qint64 m_onset = 0;
    qint64 m_lastLoud = 0;
    qint64 m_firstCrossing = -1;
    qint64 m_lastCrossing = -1;
    qint64 m_crossings = 0;
    qint16 m_previous = 0;
    QList<Onset> m_ended;
};

} // namespace wobblix::bench

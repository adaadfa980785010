// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <vector>

namespace wobblix::test {

// What played in a recorded channel, as a sequence of runs: a stretch of one of the expected tones, of
// silence, or of anything else, told apart window by window (20 ms).
struct ToneRun {
    static constexpr double Silence = 0;
    static constexpr double Other = -1;
    double frequency = Silence; // Hz, or Silence, or Other
    int startMs = 0;
    int lengthMs = 0;
};

// Splits a channel (samples at `rate`) into runs of the `tones` (Hz). A window is a tone when that tone
// carries at least half of its energy, and silence when its level is below -40 dBFS.
QList<ToneRun> toneRuns(const std::vector<float>& samples, int rate, const QList<double>& tones);

// The runs of tones and of anything else, leaving out silence and runs shorter than `minimumMs` (the
// windows where one sound gives way to the next).
QList<ToneRun> heardRuns(const QList<ToneRun>& runs, int minimumMs = 50);

// The largest sample magnitude, 0 to 1.
float peakLevel(const std::vector<float>& samples);

// The amplitude of the tone of a run: its RMS times the square root of 2, which for a sine is its peak,
// and which lossy encodings (GSM) keep better than the peak itself.
double toneAmplitude(const std::vector<float>& samples, int rate, const ToneRun& run);

// The frequency of the loudest stretch's zero crossings, for messages: what played instead.
double roughFrequency(const std::vector<float>& samples, int rate);

// "440 Hz 0-300 ms, silence 300-320 ms, ..." for failure messages.
QString describe(const QList<ToneRun>& runs);

} // namespace wobblix::test

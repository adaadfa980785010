// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/ToneAnalysis.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace wobblix::test {

namespace {

constexpr int WindowMs = 20;
constexpr double SilenceRms = 0.01; // -40 dBFS

// The share of the window's energy at `frequency` (Goertzel): 1 for a pure tone of that frequency, near 0
// for a tone two or more of the window's frequency steps (50 Hz) away.
double energyShare(const float* samples, size_t count, int rate, double frequency, double energy)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / rate);
    double previous = 0;
    double beforePrevious = 0;
    for (size_t i = 0; i < count; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power =
        previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    return 2 * power / (static_cast<double>(count) * energy);
}

} // namespace

QList<ToneRun> toneRuns(const std::vector<float>& samples, int rate, const QList<double>& tones)
{
    const size_t window = static_cast<size_t>(rate) * WindowMs / 1000;
    QList<ToneRun> runs;
    for (size_t start = 0; start + window <= samples.size(); start += window) {
        const float* at = samples.data() + start;
        double energy = 0;
        for (size_t i = 0; i < window; ++i)
            energy += double(at[i]) * at[i];
        double heard = ToneRun::Silence;
        if (std::sqrt(energy / static_cast<double>(window)) >= SilenceRms) {
            heard = ToneRun::Other;
            for (double tone : tones)
                if (energyShare(at, window, rate, tone, energy) >= 0.5)
                    heard = tone;
        }
        const int startMs = static_cast<int>(start * 1000 / static_cast<size_t>(rate));
        if (!runs.isEmpty() && runs.last().frequency == heard)
            runs.last().lengthMs += WindowMs;
        else
            runs.append({heard, startMs, WindowMs});
    }
    return runs;
}

QList<ToneRun> heardRuns(const QList<ToneRun>& runs, int minimumMs)
{
    QList<ToneRun> heard;
    for (const ToneRun& run : runs) {
        if (run.frequency == ToneRun::Silence || run.lengthMs < minimumMs)
            continue;
        if (!heard.isEmpty() && heard.last().frequency == run.frequency)
            heard.last().lengthMs = run.startMs + run.lengthMs - heard.last().startMs;
        else
            heard.append(run);
    }
    return heard;
}

float peakLevel(const std::vector<float>& samples)
{
    float peak = 0;
    for (float sample : samples)
        peak = std::max(peak, std::abs(sample));
    return peak;
}

double toneAmplitude(const std::vector<float>& samples, int rate, const ToneRun& run)
{
    const size_t first = static_cast<size_t>(run.startMs) * static_cast<size_t>(rate) / 1000;
    const size_t end = std::min(samples.size(),
                                first + static_cast<size_t>(run.lengthMs) * static_cast<size_t>(rate) / 1000);
    double energy = 0;
    for (size_t i = first; i < end; ++i)
        energy += double(samples[i]) * samples[i];
    return end > first ? std::sqrt(2 * energy / static_cast<double>(end - first)) : 0;
}

double roughFrequency(const std::vector<float>& samples, int rate)
{
    qint64 crossings = 0;
    qint64 loud = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (std::abs(samples[i]) < SilenceRms && std::abs(samples[i - 1]) < SilenceRms)
            continue;
        ++loud;
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    }
    return loud == 0 ? 0 : crossings * rate / (2.0 * static_cast<double>(loud));
}

QString describe(const QList<ToneRun>& runs)
{
    QStringList parts;
    for (const ToneRun& run : runs) {
        const QString what = run.frequency == ToneRun::Silence ? QStringLiteral("silence")
                             : run.frequency == ToneRun::Other ? QStringLiteral("other")
                                                               : QStringLiteral("%1 Hz").arg(run.frequency);
        parts.append(
            QStringLiteral("%1 %2-%3 ms").arg(what).arg(run.startMs).arg(run.startMs + run.lengthMs));
    }
    return parts.isEmpty() ? QStringLiteral("nothing") : parts.join(QStringLiteral(", "));
}

} // namespace wobblix::test

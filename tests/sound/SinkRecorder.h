// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QProcess>

#include <optional>
#include <vector>

namespace wobblix::test {

// Runs a command of the sound server's (pactl, as PULSE_SERVER or the session names it); its standard
// output, or nothing when it fails.
std::optional<QByteArray> pactl(const QStringList& arguments);

// What a stretch of a recording holds, one channel at a time, samples from -1 to 1.
struct Recording {
    std::vector<float> left;
    std::vector<float> right;
};

// Records what a PulseAudio sink plays, from its monitor, into memory: 48 kHz stereo float, through
// `parec`. The sink must never fall idle (the test session keeps a stream of zeros playing into it), so
// that the number of frames recorded is a clock: frames(), taken before an action, marks its moment in
// the recording.
class SinkRecorder final : public QObject {
    Q_OBJECT
public:
    static constexpr int Rate = 48000;

    explicit SinkRecorder(const QString& sink, QObject* parent = nullptr);
    ~SinkRecorder() override;

    // Starts recording and waits until data flows (parec takes up to a few seconds to connect).
    bool start();

    qint64 frames() const { return static_cast<qint64>(m_samples.size() / 2); }
    // Processes events until the recording holds `count` frames; false after `timeoutMs` without.
    bool waitForFrames(qint64 count, int timeoutMs = 10000);
    // Records `ms` more milliseconds.
    bool recordFor(int ms) { return waitForFrames(frames() + static_cast<qint64>(ms) * Rate / 1000); }
    // The frames recorded from `frame` on.
    Recording since(qint64 frame) const;

    static qint64 framesForMs(int ms) { return static_cast<qint64>(ms) * Rate / 1000; }

private:
    void readRecorded();

    QString m_sink;
    QProcess* m_parec = new QProcess(this);
    QByteArray m_partial;         // an incomplete sample left from the last read
    std::vector<float> m_samples; // interleaved left, right
};

} // namespace wobblix::test

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SinkRecorder.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstring>

namespace wobblix::test {

std::optional<QByteArray> pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

SinkRecorder::SinkRecorder(const QString& sink, QObject* parent) : QObject(parent), m_sink(sink)
{
    connect(m_parec, &QProcess::readyReadStandardOutput, this, &SinkRecorder::readRecorded);
}

SinkRecorder::~SinkRecorder()
{
    if (m_parec->state() != QProcess::NotRunning) {
        m_parec->terminate();
        m_parec->waitForFinished(5000);
    }
}

bool SinkRecorder::start()
{
    m_parec->start(QStringLiteral("parec"),
                   {QStringLiteral("--device=%1.monitor").arg(m_sink), QStringLiteral("--latency-msec=20"),
                    QStringLiteral("--raw"), QStringLiteral("--format=float32le"),
                    QStringLiteral("--rate=%1").arg(Rate), QStringLiteral("--channels=2")});
    return m_parec->waitForStarted(5000) && waitForFrames(1);
}

bool SinkRecorder::waitForFrames(qint64 count, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (frames() < count) {
        if (deadline.hasExpired() || m_parec->state() != QProcess::Running)
            return false;
        QEventLoop pause; // the events of everything else go on meanwhile
        QTimer::singleShot(5, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return true;
}

Recording SinkRecorder::since(qint64 frame) const
{
    Recording recording;
    for (auto i = static_cast<size_t>(std::max<qint64>(frame, 0)) * 2; i + 1 < m_samples.size(); i += 2) {
        recording.left.push_back(m_samples[i]);
        recording.right.push_back(m_samples[i + 1]);
    }
    return recording;
}

void SinkRecorder::readRecorded()
{
    m_partial += m_parec->readAllStandardOutput();
    const size_t whole = static_cast<size_t>(m_partial.size()) / sizeof(float);
    const size_t old = m_samples.size();
    m_samples.resize(old + whole);
    std::memcpy(m_samples.data() + old, m_partial.constData(), whole * sizeof(float));
    m_partial.remove(0, static_cast<qsizetype>(whole * sizeof(float)));
}

} // namespace wobblix::test

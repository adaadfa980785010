#include "platform/audio/SoundPlayer.h"

#include "platform/audio/DefaultOutput.h"
#include "platform/audio/SinkFormat.h"
#include "platform/audio/SoundFileSource.h"
#include "platform/audio/SoundTheme.h"

#include <QAudioSink>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace wobblix::platform {

namespace {

// The file a request names: a path to a file, relative or absolute, as it stands; a name that is no path
// of anything, a sound of the desktop's sound theme.
QString soundFileOf(const QString& name)
{
    const QFileInfo info(name);
    if (info.exists())
        return info.isFile() ? name : QString();
    return findThemeSound(name);
}

// How long past the expected end of a sound to keep its stream open, at most, waiting for the server.
constexpr int EndGraceMs = 1000;

} // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent)
{
    m_endCheck->setSingleShot(true);
    m_endCheck->setTimerType(Qt::PreciseTimer);
    connect(m_endCheck, &QTimer::timeout, this, &SoundPlayer::closeWhenPlayed);
}

SoundPlayer::~SoundPlayer()
{
    stop();
}

bool SoundPlayer::PlaySound(const QString& name, quint32)
{
    stop();

    std::unique_ptr<SoundFileSource> source = SoundFileSource::open(soundFileOf(name));
    if (!source)
        return false;

    // The default output now, not at start-up: headphones plugged in since then get the sound. The
    // first request here is what starts Qt's audio back end.
    const QAudioDevice device = defaultAudioOutput();
    if (device.isNull())
        return false;
    const QAudioFormat format =
        chooseSinkFormat(source->fileSampleRate(), source->fileChannelCount(), device);
    if (!format.isValid())
        return false;
    source->setOutputFormat(format);

    m_sink = new QAudioSink(device, format, this);
    m_source = source.release();
    m_source->setParent(m_sink);
    // Each check drops a signal of a sound already replaced: some arrive queued (the source's is raised
    // from within the sink's read, and the sink raises some from the sound server's thread).
    connect(m_sink, &QAudioSink::stateChanged, m_sink, [this, sink = m_sink](QAudio::State state) {
        if (sink == m_sink)
            sinkStateChanged(state);
    });
    connect(
        m_source, &SoundFileSource::soundDelivered, m_source,
        [this, source = m_source] {
            if (source == m_source)
                soundDelivered();
        },
        Qt::QueuedConnection);
    m_sink->start(m_source);
    if (m_sink->state() == QAudio::StoppedState) {
        stop();
        return false;
    }
    return true;
}

void SoundPlayer::stop()
{
    m_endCheck->stop();
    m_source = nullptr;
    QAudioSink* sink = std::exchange(m_sink, nullptr);
    if (!sink)
        return;
    sink->stop();
    // Later, from the event loop: Qt's PulseAudio sink processes events while it is destroyed, which must
    // not happen inside a handler that is playing the next sound.
    sink->deleteLater();
}

void SoundPlayer::sinkStateChanged(QAudio::State state)
{
    // The output went away (the sound server ended, the device vanished). Idle, on the other hand, is
    // only a passing underrun (the program was busy for a buffer's length): the sink never runs out.
    if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        stop();
        Q_EMIT finished();
    }
}

void SoundPlayer::soundDelivered()
{
    m_endDeadline.setRemainingTime(std::max<qint64>(microsecondsLeft() / 1000, 0) + EndGraceMs);
    closeWhenPlayed();
}

void SoundPlayer::closeWhenPlayed()
{
    const qint64 left = microsecondsLeft();
    if (left <= 0 || m_endDeadline.hasExpired()) {
        stop();
        Q_EMIT finished();
        return;
    }
    m_endCheck->start(static_cast<int>(left / 1000) + 1);
}

qint64 SoundPlayer::microsecondsLeft() const
{
    return m_sink->format().durationForBytes(m_source->soundBytesDelivered()) - m_sink->processedUSecs();
}

} // namespace wobblix::platform

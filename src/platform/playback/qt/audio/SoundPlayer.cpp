// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/qt/audio/SoundPlayer.h"

#include "platform/playback/qt/audio/PulsePlayback.h"
#include "platform/playback/qt/audio/SoundFileSource.h"
#include "platform/playback/qt/audio/SoundTheme.h"

#include "platform/runtime/qt/QtText.h"

#include <QFileInfo>

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

} // namespace

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent), m_playback(std::make_unique<PulsePlayback>([this](quint64 request) {
          // From the playback thread: handled in this object's thread.
          QMetaObject::invokeMethod(
              this, [this, request] { soundEnded(request); }, Qt::QueuedConnection);
      }))
{
}

// The playback thread ends first, so that nothing it posts arrives here afterwards.
SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::PlaySound(const String& name, std::uint32_t)
{
    // The file is opened here rather than on the playback thread, with the user's rights of the moment,
    // and so that a name that plays nothing is known at once; reading a header takes microseconds.
    std::unique_ptr<SoundFileSource> sound = SoundFileSource::open(soundFileOf(qt::toQString(name)));
    if (sound && (!PulsePlayback::canPlay(*sound) || !m_playback->isRunning()))
        sound.reset();
    const quint64 request = ++m_requests;
    m_playing = sound ? request : 0;
    m_playback->play(request, std::move(sound));
    return m_playing != 0;
}

void SoundPlayer::soundEnded(quint64 request)
{
    if (request != m_playing)
        return; // cut off by a later request
    m_playing = 0;
    Q_EMIT finished();
}

} // namespace wobblix::platform

#include "platform/audio/SoundPlayer.h"

namespace wobblix::platform {

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

bool SoundPlayer::PlaySound(const QString&, quint32) { return false; }

} // namespace wobblix::platform

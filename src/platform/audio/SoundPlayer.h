#pragma once

#include "platform/Sound.h"

#include <QObject>

namespace wobblix::platform {

// The desktop's sound playback.
class SoundPlayer final : public QObject, public Sound {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    bool PlaySound(const QString& name, quint32 flags) override;
};

} // namespace wobblix::platform

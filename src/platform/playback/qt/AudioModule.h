// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/playback/Sound.h"

#include <QObject>
#include <QString>

namespace wobblix::platform {

// The desktop's sound playback as the program holds it. The player and the audio libraries it needs live
// in the audio module, which is loaded at the first request rather than at start: the window comes up
// without waiting for them, and a clock that never sounds never loads them. Once loaded, the module stays
// for the rest of the run.
//
// A module that is missing, damaged or built for another version of the program plays nothing: the
// request gives silence, as any name that plays nothing does, with a warning on standard error. The next
// request tries again, so a package that was being upgraded at the time of one alarm rings at the next.
class AudioModule final : public QObject, public Sound {
    Q_OBJECT
public:
    // The module installed with the program (in the build tree, the one built with it).
    explicit AudioModule(QObject* parent = nullptr);
    // The module at `path`: for the tests, which cannot damage the installed one to see what a damaged
    // one does.
    AudioModule(const QString& path, QObject* parent);

    bool PlaySound(const String& name, std::uint32_t flags) override;

    // Where the module is installed: at a fixed place relative to the program's own folder.
    static QString installedPath();

private:
    void load();

    QString m_path;
    Sound* m_sound = nullptr; // the module's player, a child of this object; null until it is loaded
};

} // namespace wobblix::platform

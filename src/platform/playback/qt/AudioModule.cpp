// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/qt/AudioModule.h"

#include "platform/playback/qt/SoundBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace wobblix::platform {

AudioModule::AudioModule(QObject* parent) : AudioModule(installedPath(), parent) {}

AudioModule::AudioModule(const QString& path, QObject* parent) : QObject(parent), m_path(path) {}

QString AudioModule::installedPath()
{
    // WOBBLIX_AUDIO_MODULE is the module's path relative to the program's folder, the same in the build
    // tree as where the program is installed (../lib/wobblix-clock/libwobblix-audio.so and the like).
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(WOBBLIX_AUDIO_MODULE));
}

bool AudioModule::PlaySound(const String& name, std::uint32_t flags)
{
    if (!m_sound)
        load();
    return m_sound && m_sound->PlaySound(name, flags);
}

void AudioModule::load()
{
    // A loader of its own for each try: one that has failed once never tries again. Its end leaves the
    // module loaded, and the module stays mapped until the process ends, so that the sound server's
    // connection inside it is closed at exit as it would be in a program linked to it.
    QPluginLoader loader(m_path);
    loader.setLoadHints(QLibrary::PreventUnloadHint);
    auto* backend = qobject_cast<SoundBackend*>(loader.instance());
    if (!backend) {
        qWarning("Wobblix Clock plays no sound: %s", qUtf8Printable(loader.errorString()));
        return;
    }
    m_sound = backend->createSound(this);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/AudioLibraries.h"

#include <QFile>

namespace wobblix::test {

bool audioLibrariesLoaded(qint64 pid)
{
    QFile maps(pid == 0 ? QStringLiteral("/proc/self/maps") : QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return true;
    const QByteArray mapped = maps.readAll();
    for (const char* library : {"libwobblix-audio", "libsndfile", "libpulse"})
        if (mapped.contains(library))
            return true;
    return false;
}

bool mapped(const QString& path)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QFile::encodeName(path));
}

} // namespace wobblix::test

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/qt/audio/SoundTheme.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace wobblix::platform {

QString findThemeSound(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
    // $XDG_DATA_HOME, then $XDG_DATA_DIRS, with their standard defaults. A folder earlier in the list
    // overrides a later one whatever the file type, so the user's own .wav wins over the system's .oga.
    for (const QString& dataFolder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString stem = dataFolder + QStringLiteral("/sounds/freedesktop/stereo/") + name;
        for (const char* extension : {".oga", ".ogg", ".wav"}) {
            const QString candidate = stem + QLatin1String(extension);
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
    }
    return {};
}

} // namespace wobblix::platform

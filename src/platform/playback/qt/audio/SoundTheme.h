// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace wobblix::platform {

// The file of a sound of the freedesktop sound theme ("bell", "alarm-clock-elapsed"):
// sounds/freedesktop/stereo/<name>.oga, .ogg or .wav in the first data folder that has one, the user's
// ($XDG_DATA_HOME) before the system's ($XDG_DATA_DIRS, by default /usr/local/share and /usr/share).
// Empty when no folder has it, or when the name holds a folder separator and so is no theme name.
QString findThemeSound(const QString& name);

} // namespace wobblix::platform

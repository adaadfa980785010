// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTimer>

namespace wobblix::platform {

// A window timer with the Enabled switch the clock's handlers use: off raises no ticks, on counts a full
// interval from the moment it is switched on. Ticks are precise: a coarse timer may fire up to 5% early,
// which would end a sixty-second rest three seconds early, still inside the minute that just sounded.
class Timer final : public QTimer {
    Q_OBJECT
public:
    Timer(int intervalMs, bool enabled, QObject* parent);

    bool Enabled() const { return isActive(); }
    void setEnabled(bool enabled);
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTimer>

namespace wobblix::platform::qt {

// The window timer on Qt (platform/controls/Timer.h): a precise QTimer with the Enabled switch.
class TimerWidget final : public QTimer {
    Q_OBJECT
public:
    explicit TimerWidget(QObject* parent);

    bool Enabled() const { return isActive(); }
    void setEnabled(bool enabled);
};

} // namespace wobblix::platform::qt

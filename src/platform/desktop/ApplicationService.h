// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Application.h"
#include "platform/runtime/LaunchTokens.h"

#include <QObject>

namespace wobblix::platform {

// One clock per user: the clock's well-known name on the session bus, where it serves the freedesktop
// org.freedesktop.Application interface (Activate), as desktop applications do. A start that finds the
// name taken asks the clock that holds it to Activate and goes no further. The bus frees the name when
// its holder ends, however it ends, so nothing is left that stops the next start. Without a session bus,
// or where the bus refuses the name for another reason, every start is a clock of its own, as before.
class ApplicationService final : public QObject {
    Q_OBJECT
public:
    // The well-known name: the application's ID.
    static constexpr QLatin1StringView Name = Application::Id;
    // How long a second start waits for the running clock to answer its Activate.
    static constexpr int ActivateTimeoutMs = 800;

    explicit ApplicationService(QObject* parent = nullptr);

    // Claims the name for this process and serves Activate there. True when this start is to be the clock:
    // the name is its own now, or there is no name to be had. False when another clock holds it: that
    // clock has been asked to Activate with `launch` (and has answered, or not within
    // ActivateTimeoutMs), and this start has nothing more to do.
    bool claim(const LaunchTokens& launch);

Q_SIGNALS:
    // The desktop asks for the clock (a second start, a launcher), with the tokens its start was given.
    void Activate(const platform::LaunchTokens& launch);
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Event.h"
#include "platform/runtime/LaunchTokens.h"

#include <memory>

namespace wobblix::platform {

// One clock per user. On Linux: the clock's well-known name on the session bus, where it serves the
// freedesktop org.freedesktop.Application interface (Activate), as desktop applications do. A start that
// finds the name taken asks the clock that holds it to Activate and goes no further. The bus frees the
// name when its holder ends, however it ends, so nothing is left that stops the next start. Without a
// session bus, or where the bus refuses the name for another reason, every start is a clock of its own.
class ApplicationService final {
public:
    // How long a second start waits for the running clock to answer its Activate.
    static constexpr int ActivateTimeoutMs = 800;

    ApplicationService();
    ~ApplicationService();
    ApplicationService(const ApplicationService&) = delete;
    ApplicationService& operator=(const ApplicationService&) = delete;

    // Claims the name for this process and serves Activate there. True when this start is to be the clock:
    // the name is its own now, or there is no name to be had. False when another clock holds it: that
    // clock has been asked to Activate with `launch` (and has answered, or not within
    // ActivateTimeoutMs), and this start has nothing more to do.
    bool claim(const LaunchTokens& launch);

    // The desktop asks for the clock (a second start, a launcher), with the tokens its start was given.
    Event<const LaunchTokens&> Activate;

    struct Native;

private:
    std::unique_ptr<Native> m_native;
};

} // namespace wobblix::platform

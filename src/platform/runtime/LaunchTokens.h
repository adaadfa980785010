// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

namespace wobblix::platform {

// What the desktop's launcher gives a program it starts so that the program's window may take the focus:
// on X11 the startup notification id (DESKTOP_STARTUP_ID), whose "_TIME" part is the moment the user
// asked for the start; on Wayland an xdg-activation token (XDG_ACTIVATION_TOKEN). A start that hands over
// to the clock already running passes them on, and that clock's window takes the focus with them. Where
// the desktop gives none (Windows), both are empty.
struct LaunchTokens {
    String startupId;
    String activationToken;

    // The tokens of this process's own start. Qt's X11 platform takes DESKTOP_STARTUP_ID out of the
    // environment as the application starts, so this is read before.
    static LaunchTokens fromEnvironment();
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/LaunchTokens.h"
#include "platform/runtime/Types.h"

namespace wobblix::platform {

// Gives the keyboard focus to a shown top-level window: raises it above the other windows and makes it the
// active window, whose focused control then gets the keys. Where the desktop refuses, nothing happens.
// With the tokens of a start the user has just asked for, the window takes the focus as that start's
// window: the desktop lets it, as it would not let a window that merely asks, and the launcher stops
// showing the start as under way.
void SetFocus(WindowHandle window, const LaunchTokens& launch = {});

} // namespace wobblix::platform

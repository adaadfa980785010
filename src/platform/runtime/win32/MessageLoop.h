// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/win32/Windows.h"

#include <functional>

namespace wobblix::platform::win32 {

// What the message loop asks first about every message it takes from the queue: the start-up window's
// keyboard interface (Tab and Shift+Tab between its controls, the dialog keys). True when the message was
// handled there and goes no further; otherwise it is translated and dispatched as usual. Set by the form
// while its window exists, cleared with an empty function.
void SetKeyboardInterface(std::function<bool(MSG&)> keyboard);

} // namespace wobblix::platform::win32

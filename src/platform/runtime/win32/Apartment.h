// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform::win32 {

// The COM apartment of the window's thread, the program's only thread: entered when something first needs
// it, not at start, and the lightest kind that need takes. The accessibility annotations need COM, in a
// single-threaded apartment as a window's thread is; the open-file dialog needs OLE besides, for its list
// of files takes drag and drop. The runtime leaves it as it ends.
enum class Apartment {
    Com, // COM in a single-threaded apartment
    Ole, // the same, with OLE's clipboard and drag and drop
};

// True when the thread is in an apartment that gives what `needed` asks for.
bool EnterApartment(Apartment needed);
void LeaveApartment();

// CoCreateInstance of an in-process server, in the thread's apartment (entered here where it is not yet).
HRESULT CreateInstance(REFCLSID server, REFIID iid, void** object);

} // namespace wobblix::platform::win32

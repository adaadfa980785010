// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform::win32 {

// One of Windows' own DLLs, loaded from the system folder and never from the program's folder or the
// current one, where a DLL of the same name could be put; it stays loaded. Null where it cannot be had.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of one of Windows' own DLLs that the program needs only for some of what it does (the
// open-file dialog, a sound, the notification area, COM). The DLL is loaded when the function is first
// looked for, not with the program: a start then pays only for what its window needs, and a second
// start, which only hands over to the running clock, for less. Null where it cannot be had.
template <typename Function> Function LibraryFunction(const wchar_t* library, const char* name)
{
    return ModuleFunction<Function>(LoadSystemLibrary(library), name);
}

} // namespace wobblix::platform::win32

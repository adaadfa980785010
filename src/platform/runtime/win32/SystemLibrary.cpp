// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/win32/SystemLibrary.h"

#include <string>

namespace wobblix::platform::win32 {

// By its full path in the system folder, which every Windows takes (LOAD_LIBRARY_SEARCH_SYSTEM32 needs an
// update on Windows 7). A 32-bit program on 64-bit Windows is given the 32-bit system folder by Windows'
// redirection.
HMODULE LoadSystemLibrary(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L'\\' + name;
    return LoadLibraryW(path.c_str());
}

} // namespace wobblix::platform::win32

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Win32 API as the backend includes it. Windows' headers define macros under names the neutral headers
// use for their own (MessageBox, PlaySound, GetOpenFileName, Shell_NotifyIcon as functions; OFN_, NIM_, NIF_
// and WM_ constants; RGB): a backend source includes the neutral headers first and this one last, in a
// block of its own, and the function-name macros are taken back here so that the neutral names stay
// usable after it.

#include "platform/runtime/Types.h"

// Windows 7's API: anything later is looked for at run time (SystemFunction below), so that the program
// starts wherever it ran before.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#undef MessageBox
#undef PlaySound
#undef GetOpenFileName
#undef Shell_NotifyIcon

namespace wobblix::platform::win32 {

// The runtime's opaque handles are Windows' own behind the platform layer.
inline HWND ToHwnd(WindowHandle handle)
{
    return reinterpret_cast<HWND>(handle);
}
inline WindowHandle ToHandle(HWND window)
{
    return reinterpret_cast<WindowHandle>(window);
}
inline HICON ToHicon(PictureHandle picture)
{
    return reinterpret_cast<HICON>(picture);
}
inline PictureHandle ToPicture(HICON icon)
{
    return reinterpret_cast<PictureHandle>(icon);
}
// The runtime's colours are packed as COLORREF is.
inline COLORREF ToColorref(Long colour)
{
    return static_cast<COLORREF>(colour) & 0xffffff;
}
// The runtime's strings as the W functions take them: wchar_t is 16 bits on Windows.
inline const wchar_t* Wide(const String& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// A function of a loaded module, by name; null where the module or the function is missing. The cast goes
// through the generic function type, which converts to every other.
template <typename Function> Function ModuleFunction(HMODULE module, const char* name)
{
    return module != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
               : nullptr;
}

// A function Windows has only from some version on, found at run time so that the program still starts
// where it is missing: null there.
template <typename Function> Function SystemFunction(const wchar_t* module, const char* name)
{
    return ModuleFunction<Function>(GetModuleHandleW(module), name);
}

} // namespace wobblix::platform::win32

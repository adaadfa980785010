// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/win32/ShellNotifyArea.h"

#include "platform/runtime/win32/Ansi.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

// The record as Shell_NotifyIcon takes it in its first form (NOTIFYICONDATA_V1_SIZE): the later forms add
// fields behind szTip, and Windows reads no further than cbSize says. Declared here, rather than taken
// from Windows' headers, so that its layout is the one the program gives in cbSize, checked below.
template <typename Char> struct NotifyIconRecord {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    Char szTip[NOTIFYICONDATAA::TipBytes];
};
using NotifyIconRecordA = NotifyIconRecord<char>;
using NotifyIconRecordW = NotifyIconRecord<wchar_t>;

static_assert(sizeof(NotifyIconRecordA) == 88);
static_assert(sizeof(NotifyIconRecordW) == 152);
static_assert(offsetof(NotifyIconRecordA, cbSize) == 0);
static_assert(offsetof(NotifyIconRecordA, hWnd) == 4);
static_assert(offsetof(NotifyIconRecordA, uID) == 8);
static_assert(offsetof(NotifyIconRecordA, uFlags) == 12);
static_assert(offsetof(NotifyIconRecordA, uCallbackMessage) == 16);
static_assert(offsetof(NotifyIconRecordA, hIcon) == 20);
static_assert(offsetof(NotifyIconRecordA, szTip) == 24);
// The same places as Windows' own record, whose first form ends with szTip.
static_assert(offsetof(NotifyIconRecordA, szTip) == offsetof(::NOTIFYICONDATAA, szTip));
static_assert(offsetof(NotifyIconRecordW, szTip) == offsetof(::NOTIFYICONDATAW, szTip));
static_assert(offsetof(NotifyIconRecordA, hIcon) == offsetof(::NOTIFYICONDATAA, hIcon));

template <typename Char> NotifyIconRecord<Char> header(const NOTIFYICONDATAA& record)
{
    NotifyIconRecord<Char> native{};
    native.hWnd = win32::ToHwnd(record.hWnd);
    native.uID = record.uID;
    native.uFlags = record.uFlags;
    native.uCallbackMessage = record.uCallbackMessage;
    native.hIcon = win32::ToHicon(record.hIcon);
    return native;
}

template <typename Char> void copyBack(const NotifyIconRecord<Char>& native, NOTIFYICONDATAA& record)
{
    record.hWnd = win32::ToHandle(native.hWnd);
    record.uID = native.uID;
    record.uFlags = native.uFlags;
    record.uCallbackMessage = native.uCallbackMessage;
    record.hIcon = win32::ToPicture(native.hIcon);
}

} // namespace

// Where the process's code page is UTF-8 the A form takes the record as it is. Elsewhere the W form takes
// the tip in UTF-16, cut to what its field holds before its NUL, and its record's own size.
bool ShellNotifyArea::Shell_NotifyIcon(std::uint32_t message, NOTIFYICONDATAA& record)
{
    if (win32::AnsiIsUtf8()) {
        NotifyIconRecordA native = header<char>(record);
        native.cbSize = record.cbSize;
        std::memcpy(native.szTip, record.szTip.data(), sizeof native.szTip);
        const bool done = Shell_NotifyIconA(message, reinterpret_cast<::NOTIFYICONDATAA*>(&native)) != FALSE;
        copyBack(native, record);
        std::memcpy(record.szTip.data(), native.szTip, sizeof native.szTip);
        return done;
    }
    NotifyIconRecordW native = header<wchar_t>(record);
    native.cbSize = sizeof native;
    const std::string_view bytes(record.szTip.data(), record.szTip.size());
    const std::wstring tip = win32::WideFromUtf8(bytes.substr(0, bytes.find('\0')));
    std::copy_n(tip.begin(), std::min<std::size_t>(tip.size(), NOTIFYICONDATAA::TipBytes - 1), native.szTip);
    const bool done = Shell_NotifyIconW(message, reinterpret_cast<::NOTIFYICONDATAW*>(&native)) != FALSE;
    copyBack(native, record);
    return done;
}

} // namespace wobblix::platform

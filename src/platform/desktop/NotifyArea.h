// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <cstdint>

#include <array>

namespace wobblix::platform {

// The notification-icon record in the form the notification area takes it at the call: the tip is a field
// of TipBytes single-byte characters in the ANSI code page, read up to its first NUL. Callers convert
// their own record into this form for each call and copy it back afterwards.
struct NOTIFYICONDATAA {
    static constexpr std::size_t TipBytes = 64;

    std::uint32_t cbSize = 0;           // the size of the record as the caller passes it, in bytes
    WindowHandle hWnd = nullptr;        // receives the icon's mouse actions; with uID, names the icon
    std::uint32_t uID = 0;              // the icon's number among hWnd's icons
    std::uint32_t uFlags = 0;           // NotifyArea::NIF_ values: which of the fields below count
    std::uint32_t uCallbackMessage = 0; // the message the mouse actions arrive as, at hWnd
    PictureHandle hIcon = nullptr;      // the image shown
    std::array<char, TipBytes> szTip{};
};

// The desktop's notification area, driven by the notification-icon record: adds or deletes the icon the
// record names. Mouse actions on an added icon are reported to the record's window as the record says:
// with NIF_MESSAGE and the callback message WM_MOUSEMOVE, each action arrives at hWnd as a mouse movement
// whose X, in pixels, is the number of the Windows mouse message below that the action stands for.
// Returns true on success.
class NotifyArea {
public:
    static constexpr std::uint32_t NIM_ADD = 0;
    static constexpr std::uint32_t NIM_DELETE = 2;

    // Which fields of the record the notification area reads (uFlags).
    static constexpr std::uint32_t NIF_MESSAGE =
        0x1; // uCallbackMessage: report mouse actions on the icon to hWnd
    static constexpr std::uint32_t NIF_ICON = 0x2; // hIcon: the image shown
    static constexpr std::uint32_t NIF_TIP = 0x4;  // szTip: the tip shown over the icon

    // Windows mouse message numbers. The program reports four of them and acts on one; the tests send the
    // rest too, the reports the window must ignore.
    static constexpr std::uint32_t WM_MOUSEMOVE = 0x200;
    static constexpr std::uint32_t WM_LBUTTONDOWN = 0x201;
    static constexpr std::uint32_t WM_LBUTTONUP = 0x202;
    static constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x203;
    static constexpr std::uint32_t WM_RBUTTONDOWN = 0x204;
    static constexpr std::uint32_t WM_RBUTTONUP = 0x205;
    static constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x206;
    static constexpr std::uint32_t WM_MBUTTONDOWN = 0x207;
    static constexpr std::uint32_t WM_MBUTTONUP = 0x208;
    static constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x209;

    virtual ~NotifyArea() = default;
    virtual bool Shell_NotifyIcon(std::uint32_t message, NOTIFYICONDATAA& record) = 0;
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QtGlobal>

#include <array>

class QWidget;

namespace wobblix::platform {

// The notification-icon record in the form the notification area takes it at the call: the tip is a field
// of TipBytes single-byte characters in the local 8-bit encoding, read up to its first NUL. Callers convert
// their own record into this form for each call and copy it back afterwards.
struct NOTIFYICONDATAA {
    static constexpr qsizetype TipBytes = 64;

    quint32 cbSize = 0;           // the size of the record as the caller passes it, in bytes
    QWidget* hWnd = nullptr;      // receives the icon's mouse actions; with uID, names the icon
    quint32 uID = 0;              // the icon's number among hWnd's icons
    quint32 uFlags = 0;           // NotifyArea::NIF_ values: which of the fields below count
    quint32 uCallbackMessage = 0; // the message the mouse actions arrive as, at hWnd
    QIcon hIcon;                  // the image shown
    std::array<char, TipBytes> szTip{};
};

// The desktop's notification area, driven by the notification-icon record: adds or deletes the icon the
// record names. Mouse actions on an added icon are reported to the record's window as the record says:
// with NIF_MESSAGE and the callback message WM_MOUSEMOVE, each action arrives at hWnd as a mouse movement
// whose X, in pixels, is the number of the Windows mouse message below that the action stands for.
// Returns true on success.
class NotifyArea {
public:
    static constexpr quint32 NIM_ADD = 0;
    static constexpr quint32 NIM_DELETE = 2;

    // Which fields of the record the notification area reads (uFlags).
    static constexpr quint32 NIF_MESSAGE = 0x1; // uCallbackMessage: report mouse actions on the icon to hWnd
    static constexpr quint32 NIF_ICON = 0x2;    // hIcon: the image shown
    static constexpr quint32 NIF_TIP = 0x4;     // szTip: the tip shown over the icon

    // Windows mouse message numbers. The program reports four of them and acts on one; the tests send the
    // rest too, the reports the window must ignore.
    static constexpr quint32 WM_MOUSEMOVE = 0x200;
    static constexpr quint32 WM_LBUTTONDOWN = 0x201;
    static constexpr quint32 WM_LBUTTONUP = 0x202;
    static constexpr quint32 WM_LBUTTONDBLCLK = 0x203;
    static constexpr quint32 WM_RBUTTONDOWN = 0x204;
    static constexpr quint32 WM_RBUTTONUP = 0x205;
    static constexpr quint32 WM_RBUTTONDBLCLK = 0x206;
    static constexpr quint32 WM_MBUTTONDOWN = 0x207;
    static constexpr quint32 WM_MBUTTONUP = 0x208;
    static constexpr quint32 WM_MBUTTONDBLCLK = 0x209;

    virtual ~NotifyArea() = default;
    virtual bool Shell_NotifyIcon(quint32 message, NOTIFYICONDATAA& record) = 0;
};

} // namespace wobblix::platform

#pragma once

#include <QtGlobal>

namespace wobblix {
struct NOTIFYICONDATA;
}

namespace wobblix::platform {

// The desktop's notification area, driven by the notification-icon record: adds or deletes the icon the
// record names. Mouse actions on an added icon are reported to the record's window as the record says:
// with NIF_MESSAGE and the callback message WM_MOUSEMOVE, each action arrives at hWnd as a mouse movement
// whose X, in pixels, is the number of the Windows mouse message below that the action stands for.
// Returns true on success.
class NotifyArea {
public:
    static constexpr quint32 NIM_ADD = 0;
    static constexpr quint32 NIM_DELETE = 2;

    // Windows mouse message numbers.
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
    virtual bool Shell_NotifyIcon(quint32 message, NOTIFYICONDATA& record) = 0;
};

} // namespace wobblix::platform

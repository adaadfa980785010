#pragma once

#include <QtGlobal>

namespace wobblix {
struct NOTIFYICONDATA;
}

namespace wobblix::platform {

// The desktop's notification area, driven by the notification-icon record: adds or deletes the icon the
// record names. Mouse actions on an added icon are reported to the record's window as the record says.
// Returns true on success.
class NotifyArea {
public:
    static constexpr quint32 NIM_ADD = 0;
    static constexpr quint32 NIM_DELETE = 2;

    virtual ~NotifyArea() = default;
    virtual bool Shell_NotifyIcon(quint32 message, NOTIFYICONDATA& record) = 0;
};

} // namespace wobblix::platform

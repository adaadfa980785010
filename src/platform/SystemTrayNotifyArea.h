#pragma once

#include "platform/NotifyArea.h"

#include <QObject>

namespace wobblix::platform {

// The notification area, realised with QSystemTrayIcon.
class SystemTrayNotifyArea final : public QObject, public NotifyArea {
    Q_OBJECT
public:
    explicit SystemTrayNotifyArea(QObject* parent = nullptr);
    bool Shell_NotifyIcon(quint32 message, NOTIFYICONDATA& record) override;
};

} // namespace wobblix::platform

#include "platform/SystemTrayNotifyArea.h"

namespace wobblix::platform {

SystemTrayNotifyArea::SystemTrayNotifyArea(QObject* parent) : QObject(parent) {}

bool SystemTrayNotifyArea::Shell_NotifyIcon(quint32, NOTIFYICONDATA&) { return false; }

} // namespace wobblix::platform

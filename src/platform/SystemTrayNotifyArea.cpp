#include "platform/SystemTrayNotifyArea.h"

#include "tray/ShellNotifyIcon.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

#ifdef WOBBLIX_TRAY_ON_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

namespace wobblix::platform {

std::optional<quint32> mouseMessageFor(QSystemTrayIcon::ActivationReason reason, TrayHost host)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return host == TrayHost::StatusNotifierItem ? NotifyArea::WM_LBUTTONDBLCLK : NotifyArea::WM_LBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return NotifyArea::WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context:
        return NotifyArea::WM_RBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return NotifyArea::WM_MBUTTONUP;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return std::nullopt;
}

#ifdef WOBBLIX_TRAY_ON_DBUS
TrayHost trayHostOn(const QDBusConnection& sessionBus)
{
    const QDBusConnectionInterface* bus = sessionBus.interface();
    if (bus != nullptr && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value())
        return TrayHost::StatusNotifierItem;
    return TrayHost::XEmbed;
}
#endif

namespace {

// The kind of host that a QSystemTrayIcon created now uses.
TrayHost currentTrayHost()
{
#ifdef WOBBLIX_TRAY_ON_DBUS
    return trayHostOn(QDBusConnection::sessionBus());
#else
    return TrayHost::XEmbed;
#endif
}

// The tip is the text of the fixed-length field up to its first NUL.
QString tipOf(const NOTIFYICONDATA& record)
{
    const qsizetype end = record.szTip.indexOf(QChar(u'\0'));
    return end < 0 ? record.szTip : record.szTip.left(end);
}

} // namespace

SystemTrayNotifyArea::SystemTrayNotifyArea(QObject* parent) : QObject(parent) {}

bool SystemTrayNotifyArea::Shell_NotifyIcon(quint32 message, NOTIFYICONDATA& record)
{
    switch (message) {
    case NIM_ADD:
        return add(record);
    case NIM_DELETE:
        return remove(record);
    default:
        return false;
    }
}

bool SystemTrayNotifyArea::add(const NOTIFYICONDATA& record)
{
    if (m_icon != nullptr || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    // Decided next to creating the icon, as Qt decides it there, so both agree on the host.
    m_host = currentTrayHost();
    m_icon = new QSystemTrayIcon(this);
    m_window = record.hWnd;
    m_id = record.uID;
    m_reportsMouse = (record.uFlags & NIF_MESSAGE) != 0 && record.uCallbackMessage == WM_MOUSEMOVE;
    // Qt shows no icon without an image; an icon that cannot be seen would leave no way back to the window.
    QIcon image = (record.uFlags & NIF_ICON) != 0 ? record.hIcon : QIcon();
    if (image.isNull())
        image = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    m_icon->setIcon(image);
    if ((record.uFlags & NIF_TIP) != 0)
        m_icon->setToolTip(tipOf(record));
    connect(m_icon, &QSystemTrayIcon::activated, this, &SystemTrayNotifyArea::report);
    m_icon->show();
    return true;
}

bool SystemTrayNotifyArea::remove(const NOTIFYICONDATA& record)
{
    if (m_icon == nullptr || record.hWnd != m_window || record.uID != m_id)
        return false;
    m_icon->hide();
    // Later, not now: a caller inside one of the icon's own signals must not lose it under its feet.
    m_icon->deleteLater();
    m_icon = nullptr;
    return true;
}

void SystemTrayNotifyArea::report(QSystemTrayIcon::ActivationReason reason) const
{
    const std::optional<quint32> number = mouseMessageFor(reason, m_host);
    if (!m_reportsMouse || !number || m_window.isNull())
        return;
    // X is the message number in pixels, as the low word of the message's second parameter is read as the
    // pointer's position. Posted, so it arrives after the icon's own mouse event has been handled.
    const QPointF at(*number, 0);
    QCoreApplication::postEvent(m_window, new QMouseEvent(QEvent::MouseMove, at, m_window->mapToGlobal(at),
                                                          Qt::NoButton, Qt::NoButton, Qt::NoModifier));
}

} // namespace wobblix::platform

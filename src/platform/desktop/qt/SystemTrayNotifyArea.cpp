// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/qt/SystemTrayNotifyArea.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

#ifdef WOBBLIX_SESSION_BUS
#include <QDBusConnection>
#include <QDBusReply>
#include <QDBusVariant>
#endif

#include <algorithm>

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

namespace {

#ifdef WOBBLIX_SESSION_BUS
const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// Whether a host shows the items the watcher holds. A watcher that does not answer within a second counts
// as none: Hide then keeps the window on screen.
bool statusNotifierHostRegistered()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        WatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 1000);
    return reply.isValid() && reply.value().variant().toBool();
}
#else
bool statusNotifierHostRegistered()
{
    return false;
}
#endif

// Qt shows an icon itself on the XEmbed tray (and on Windows and macOS), and knows its geometry from the
// moment it is shown; of an item that a StatusNotifierItem host draws Qt knows no geometry. Which route Qt
// takes is its own decision (Qt 6.4 takes the StatusNotifierItem route when the watcher says a host is
// registered, decided once per run; newer versions decide by other rules), so the shown icon is asked
// what Qt did, not the bus what Qt might do.
TrayHost hostOf(const QSystemTrayIcon& icon)
{
#ifdef WOBBLIX_SESSION_BUS
    return icon.geometry().isEmpty() ? TrayHost::StatusNotifierItem : TrayHost::XEmbed;
#else
    Q_UNUSED(icon);
    return TrayHost::XEmbed;
#endif
}

// The tip is the text of the fixed-length field up to its first NUL.
QString tipOf(const NOTIFYICONDATAA& record)
{
    const auto end = std::find(record.szTip.cbegin(), record.szTip.cend(), '\0');
    return QString::fromLocal8Bit(record.szTip.data(), end - record.szTip.cbegin());
}

} // namespace

SystemTrayNotifyArea::SystemTrayNotifyArea(QObject* parent) : QObject(parent) {}

bool SystemTrayNotifyArea::Shell_NotifyIcon(quint32 message, NOTIFYICONDATAA& record)
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

bool SystemTrayNotifyArea::add(const NOTIFYICONDATAA& record)
{
    if (m_icon != nullptr || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon = new QSystemTrayIcon(this);
    m_window = reinterpret_cast<QWidget*>(record.hWnd);
    m_id = record.uID;
    m_reportsMouse = (record.uFlags & NIF_MESSAGE) != 0 && record.uCallbackMessage == WM_MOUSEMOVE;
    // Qt shows no icon without an image; an icon that cannot be seen would leave no way back to the window.
    QIcon image = (record.uFlags & NIF_ICON) != 0 && record.hIcon != nullptr
                      ? *reinterpret_cast<const QIcon*>(record.hIcon)
                      : QIcon();
    if (image.isNull())
        image = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    m_icon->setIcon(image);
    if ((record.uFlags & NIF_TIP) != 0)
        m_icon->setToolTip(tipOf(record));
    connect(m_icon, &QSystemTrayIcon::activated, this, &SystemTrayNotifyArea::report);
    m_icon->show();
    m_host = hostOf(*m_icon);
    // An item that no host shows could never be activated: the window must not go where nothing brings it
    // back.
    if (m_host == TrayHost::StatusNotifierItem && !statusNotifierHostRegistered()) {
        m_icon->hide();
        delete m_icon;
        m_icon = nullptr;
        return false;
    }
    return true;
}

bool SystemTrayNotifyArea::remove(const NOTIFYICONDATAA& record)
{
    if (m_icon == nullptr || reinterpret_cast<QWidget*>(record.hWnd) != m_window || record.uID != m_id)
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

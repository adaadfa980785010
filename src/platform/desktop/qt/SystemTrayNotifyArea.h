// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/NotifyArea.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

namespace wobblix::platform {

// The two kinds of notification area QSystemTrayIcon meets; they report the same gesture differently.
enum class TrayHost {
    // Qt sees the mouse on the icon itself: the XEmbed tray of X11 panels, and Windows. A left double-click
    // arrives as Trigger (at the first press), then DoubleClick.
    XEmbed,
    // A StatusNotifierItem host (KDE Plasma; GNOME with the AppIndicator extension) handles the mouse and
    // sends its own activation gesture as one Trigger; Qt never reports a DoubleClick there.
    StatusNotifierItem,
};

// The Windows mouse message (NotifyArea::WM_...) that Qt's report of a mouse action on the icon stands for
// on the given kind of host, or nothing for a report that stands for no mouse action. On a
// StatusNotifierItem host the activation is the way back to the window, so it counts as the left
// double-click; on XEmbed only a real left double-click does.
std::optional<quint32> mouseMessageFor(QSystemTrayIcon::ActivationReason reason, TrayHost host);

// The notification area, realised with one QSystemTrayIcon while the icon is added: NIM_ADD creates and
// shows it with the record's icon and tip, NIM_DELETE removes it. Each mouse action on it is posted to the
// record's window as NotifyArea describes, after the icon's own event has ended, so the window may delete
// the icon while handling it. There is no icon menu.
// The kind of host is the one Qt used for the icon just shown, seen from what Qt did with it, so that the
// two never disagree about which report is the way back to the window.
// NIM_ADD fails when the desktop has no notification area (QSystemTrayIcon::isSystemTrayAvailable() is
// false, as on plain GNOME), when Qt showed the icon as a StatusNotifierItem but no host is there to show
// it (the host went away after Qt chose that route, which Qt 6.4 keeps for the whole run), or when the
// record's icon is already added; NIM_DELETE fails for an icon that is not.
class SystemTrayNotifyArea final : public QObject, public NotifyArea {
    Q_OBJECT
public:
    explicit SystemTrayNotifyArea(QObject* parent = nullptr);
    bool Shell_NotifyIcon(quint32 message, NOTIFYICONDATAA& record) override;

private:
    bool add(const NOTIFYICONDATAA& record);
    bool remove(const NOTIFYICONDATAA& record);
    void report(QSystemTrayIcon::ActivationReason reason) const;

    QSystemTrayIcon* m_icon = nullptr; // child of this, while added
    // What the added icon was told: its name (window and number) and where its mouse actions go.
    QPointer<QWidget> m_window;
    quint32 m_id = 0;
    bool m_reportsMouse = false; // NIF_MESSAGE with the callback message WM_MOUSEMOVE
    TrayHost m_host = TrayHost::XEmbed;
};

} // namespace wobblix::platform

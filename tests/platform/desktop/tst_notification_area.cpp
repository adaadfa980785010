// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The notification area's back end: which of Qt's reports on the icon stand for which mouse message, on
// each kind of tray. (The window on real trays: tests/tray.)

#include "platform/desktop/qt/SystemTrayNotifyArea.h"

#include <QtTest>

using namespace wobblix;
using platform::TrayHost;

Q_DECLARE_METATYPE(platform::TrayHost)

class TestNotificationArea : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mouseMessageForActivation_data()
    {
        QTest::addColumn<TrayHost>("host");
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<int>("message"); // -1: no mouse message

        // Qt sees the mouse: a left double-click comes as Trigger at the first press, then DoubleClick.
        QTest::newRow("XEmbed single left click") << TrayHost::XEmbed << QSystemTrayIcon::Trigger << 0x202;
        QTest::newRow("XEmbed left double-click")
            << TrayHost::XEmbed << QSystemTrayIcon::DoubleClick << 0x203;
        QTest::newRow("XEmbed right click") << TrayHost::XEmbed << QSystemTrayIcon::Context << 0x205;
        QTest::newRow("XEmbed middle click") << TrayHost::XEmbed << QSystemTrayIcon::MiddleClick << 0x208;
        QTest::newRow("XEmbed unknown") << TrayHost::XEmbed << QSystemTrayIcon::Unknown << -1;
        // The host's own activation gesture comes as one Trigger, and is the only way back to the window.
        QTest::newRow("SNI activation") << TrayHost::StatusNotifierItem << QSystemTrayIcon::Trigger << 0x203;
        QTest::newRow("SNI double-click")
            << TrayHost::StatusNotifierItem << QSystemTrayIcon::DoubleClick << 0x203;
        QTest::newRow("SNI context menu request")
            << TrayHost::StatusNotifierItem << QSystemTrayIcon::Context << 0x205;
        QTest::newRow("SNI secondary activation")
            << TrayHost::StatusNotifierItem << QSystemTrayIcon::MiddleClick << 0x208;
        QTest::newRow("SNI unknown") << TrayHost::StatusNotifierItem << QSystemTrayIcon::Unknown << -1;
    }

    void mouseMessageForActivation()
    {
        QFETCH(TrayHost, host);
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(int, message);
        const std::optional<quint32> number = platform::mouseMessageFor(reason, host);
        QCOMPARE(number.has_value(), message >= 0);
        if (number)
            QCOMPARE(int(*number), message);
    }
};

QTEST_GUILESS_MAIN(TestNotificationArea)
#include "tst_notification_area.moc"

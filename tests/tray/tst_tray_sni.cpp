// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program on desktops whose notification area is a StatusNotifierItem host (KDE Plasma, GNOME's
// AppIndicator extension): the session's status-notifier-watcher and gtk-sni-tray-standalone, with trayer's
// XEmbed tray beside them. The host is read and driven with gdbus, the window with xdotool. The cases run in
// order: the second ends the host, and the third meets the watcher it leaves behind.

#include "support/ClockProgram.h"
#include "support/DesktopDriver.h"
#include "tray/ShellNotifyIcon.h"
#include "tray/StatusNotifierHost.h"

#include <QtTest>

#include <QIcon>

#include <csignal>

using namespace wobblix::test;

namespace {

constexpr int Hide = 1; // the first item of the Options menu

// Waits for what must not happen, `ms` at most: whether `happens` comes true meanwhile.
template <typename Condition> bool within(int ms, Condition happens)
{
    return QTest::qWaitFor(happens, ms);
}

} // namespace

class TestTraySni : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;

    static bool shown(const ClockProgram& clock)
    {
        return isViewable(clock.window()) && focusedWindow() == clock.window();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        QVERIFY2(hostRegistered(), "the session's StatusNotifierItem host is not running");
        QVERIFY(qEnvironmentVariableIntValue("WOBBLIX_SESSION_TRAY_PID") > 0);
    }

    // The item shows the window's own image and tip; of the host's requests only Activate brings the window
    // back, and removes the item; over many rounds there is one item while hidden and none while shown.
    void onlyActivateRestoresTheItem()
    {
        ClockProgram clock(m_config.path());
        QVERIFY2(clock.start(), clock.state());
        QVERIFY(registeredItems().isEmpty());
        QVERIFY(clock.chooseFromOptions(Hide));
        QTRY_COMPARE(registeredItems().size(), 1);
        QTRY_VERIFY(!isViewable(clock.window()));
        const QString item = registeredItems().at(0);
        QVERIFY(iconsInTray(clock.pid()).isEmpty()); // not in trayer as well

        QCOMPARE(itemToolTip(item), QString::fromStdU16String(std::u16string(wobblix::NotifyIconTip)));
        const QIcon notification(QStringLiteral(":/icons/notification.ico"));
        const QList<QImage> images = itemImages(item);
        QVERIFY(!images.isEmpty());
        for (const QImage& image : images)
            QCOMPARE(image,
                     notification.pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32));

        const QList<std::pair<QString, QStringList>> ignored = {
            {QStringLiteral("SecondaryActivate"), {QStringLiteral("0"), QStringLiteral("0")}},
            {QStringLiteral("ContextMenu"), {QStringLiteral("0"), QStringLiteral("0")}},
            {QStringLiteral("Scroll"), {QStringLiteral("1"), QStringLiteral("vertical")}}};
        for (const auto& [method, arguments] : ignored) {
            // The call returns once the item has taken it; what the window would do follows at once.
            QVERIFY2(callItem(item, method, arguments), qPrintable(method));
            QVERIFY2(!within(500, [&clock] { return !clock.visibleWindows().isEmpty(); }),
                     qPrintable(method)); // neither the window nor a menu
            QCOMPARE(registeredItems(), QStringList{item});
        }

        QVERIFY(callItem(item, QStringLiteral("Activate"), {QStringLiteral("0"), QStringLiteral("0")}));
        QTRY_VERIFY(shown(clock));
        QTRY_VERIFY(registeredItems().isEmpty());

        for (int round = 1; round <= 10; ++round) {
            const QByteArray where = "round " + QByteArray::number(round);
            QVERIFY2(clock.chooseFromOptions(Hide), where.constData());
            QTRY_COMPARE(registeredItems().size(), 1);
            QTRY_VERIFY2(!isViewable(clock.window()), where.constData());
            QVERIFY(callItem(registeredItems().at(0), QStringLiteral("Activate"),
                             {QStringLiteral("0"), QStringLiteral("0")}));
            QTRY_VERIFY2(shown(clock), where.constData());
            QTRY_VERIFY2(registeredItems().isEmpty(), where.constData());
        }
    }

    // The host goes away while the clock runs; Qt keeps to the StatusNotifierItem route it took at the
    // first Hide, where nothing would show the item: the window stays and says why.
    void hostGoneTheWindowStays()
    {
        ClockProgram clock(m_config.path());
        QVERIFY2(clock.start(), clock.state());
        QVERIFY(clock.chooseFromOptions(Hide));
        QTRY_COMPARE(registeredItems().size(), 1);
        QVERIFY(callItem(registeredItems().at(0), QStringLiteral("Activate"),
                         {QStringLiteral("0"), QStringLiteral("0")}));
        QTRY_VERIFY(shown(clock));

        ::kill(qEnvironmentVariableIntValue("WOBBLIX_SESSION_SNI_HOST_PID"), SIGTERM);
        QTRY_VERIFY(!hostRegistered());
        QVERIFY(clock.chooseFromOptions(Hide));
        // The message takes the focus, the window on screen behind it.
        QTRY_VERIFY(focusedWindow() != clock.window() && focusedWindow() != 0);
        QVERIFY(isViewable(clock.window()));
        clock.keys({QStringLiteral("Return")});
        QTRY_COMPARE(clock.visibleWindows(), QStringList{QString::number(clock.window())});
        QVERIFY(registeredItems().isEmpty());
        QVERIFY(iconsInTray(clock.pid()).isEmpty());
    }

    // A watcher without a host (a crashed panel's) beside the XEmbed tray: Qt shows the icon in the tray,
    // where only a left double-click restores; a host that comes later changes nothing for this run.
    void hostlessWatcherBesideTheXEmbedTray()
    {
        QVERIFY(!hostRegistered());
        ClockProgram clock(m_config.path());
        QVERIFY2(clock.start(), clock.state());
        QProcess laterHost;
        for (int round = 1; round <= 2; ++round) {
            const QByteArray where = round == 1 ? "without a host" : "with a host come later";
            QVERIFY2(clock.chooseFromOptions(Hide), where.constData());
            QTRY_COMPARE(iconsInTray(clock.pid()).size(), 1);
            QTRY_VERIFY2(!isViewable(clock.window()), where.constData());
            QVERIFY2(registeredItems().isEmpty(), where.constData());
            const QPoint icon = iconsInTray(clock.pid()).at(0).center();

            // Watched for the double-click interval and a little more: a single click that restored would
            // have done so by then, and the double-click that follows is not taken as this one's second.
            clickAt(icon, 1, 1);
            QVERIFY2(!within(QApplication::doubleClickInterval() + 300,
                             [&clock] { return isViewable(clock.window()); }),
                     where.constData());
            clickAt(icon, 1, 2);
            QTRY_VERIFY2(shown(clock), where.constData());
            QTRY_VERIFY2(iconsInTray(clock.pid()).isEmpty(), where.constData());

            if (round == 1) {
                laterHost.start(QStringLiteral("gtk-sni-tray-standalone"), {QStringLiteral("--bottom")});
                QVERIFY(laterHost.waitForStarted());
                QTRY_VERIFY(hostRegistered());
            }
        }
        laterHost.kill();
        laterHost.waitForFinished();
    }
};

QTEST_MAIN(TestTraySni)
#include "tst_tray_sni.moc"

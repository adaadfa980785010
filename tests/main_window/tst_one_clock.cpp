// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// One clock per user, as the real program meets it in the desktop session: a second start brings the
// running clock's window forward and ends at once with status 0, whether that window is shown or hidden in
// the notification area; a clock ended by force leaves nothing that stops the next; two starts at the same
// moment give one clock; and without a session bus every start is a clock of its own.

#include "support/ClockProgram.h"
#include "support/DesktopDriver.h"

#include <QtTest>

using namespace wobblix::test;

namespace {

constexpr int Hide = 1, Save = 2; // items of the Options menu

// Takes the keyboard away from every program's window: to the session's panel.
void focusElsewhere()
{
    xdotool({QStringLiteral("windowfocus"), trayPanel()});
}

} // namespace

class TestOneClock : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;

    // A second start with the launcher's startup id (here without the time of the user's request, which
    // then counts as now): it ends with status 0 within a second, and the running clock's window is the
    // one that takes the focus, as that start's window.
    void startAgain(const ClockProgram& running)
    {
        ClockProgram second(m_config.path());
        second.setEnvironment(QStringLiteral("DESKTOP_STARTUP_ID"), QStringLiteral("wobblix-test"));
        QVERIFY(second.launch());
        QVERIFY2(second.ended(1000), "the second start did not end within a second");
        QVERIFY2(second.endedCleanly(), second.state());
        QTRY_VERIFY(isViewable(running.window()));
        QTRY_COMPARE(focusedWindow(), running.window());
        QVERIFY(run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(running.window()),
                                              QStringLiteral("_NET_STARTUP_ID")})
                    .endsWith(QStringLiteral("\"wobblix-test\"")));
    }

private Q_SLOTS:
    void init() { QVERIFY(m_config.isValid()); }

    void secondStartWhileShown()
    {
        ClockProgram first(m_config.path());
        QVERIFY2(first.start(), first.state());
        focusElsewhere();
        QTRY_VERIFY(focusedWindow() != first.window());
        startAgain(first);
        QCOMPARE(first.visibleWindows().size(), 1);
        QVERIFY(QDir(m_config.path()).isEmpty()); // nothing written
    }

    // The hidden clock comes back as from its icon, with the focus on the hour field that had it: the
    // digit typed next joins the one typed before Hide.
    void secondStartWhileHidden()
    {
        ClockProgram first(m_config.path());
        QVERIFY2(first.start(), first.state());
        first.keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")});
        first.type(QStringLiteral("1"));
        QVERIFY(first.chooseFromOptions(Hide));
        QTRY_COMPARE(iconsInTray(first.pid()).size(), 1);
        QTRY_VERIFY(!isViewable(first.window()));
        startAgain(first);
        QTRY_VERIFY(iconsInTray(first.pid()).isEmpty());
        first.type(QStringLiteral("5"));
        QVERIFY(first.chooseFromOptions(Save));
        QTRY_VERIFY(QFile::exists(m_config.filePath(QStringLiteral("Wobblix.conf"))));
        QSettings saved(m_config.filePath(QStringLiteral("Wobblix.conf")), QSettings::IniFormat);
        QTRY_COMPARE(saved.value(QStringLiteral("Main/Hour")).toString(), QStringLiteral("15"));
    }

    void startAfterTheClockWasKilled()
    {
        ClockProgram first(m_config.path());
        QVERIFY2(first.start(), first.state());
        first.kill(); // SIGKILL: nothing of the clock's own runs on the way out
        ClockProgram next(m_config.path());
        QVERIFY2(next.start(), next.state());
    }

    void twoStartsAtTheSameMoment()
    {
        ClockProgram a(m_config.path()), b(m_config.path());
        QVERIFY(a.launch() && b.launch());
        QTRY_VERIFY(a.ended(0) || b.ended(0));
        ClockProgram& handedOver = a.ended(0) ? a : b;
        ClockProgram& clock = a.ended(0) ? b : a;
        QVERIFY2(handedOver.endedCleanly(), handedOver.state());
        QTRY_COMPARE(clock.visibleWindows().size(), 1);
        QVERIFY(!clock.ended(0));
    }

    void withoutASessionBusEveryStartIsAClock()
    {
        ClockProgram first(m_config.path()), second(m_config.path());
        for (ClockProgram* clock : {&first, &second}) {
            clock->setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                  QStringLiteral("unix:path=%1/no-bus").arg(m_config.path()));
            QVERIFY2(clock->start(), clock->state());
        }
        QCOMPARE(first.visibleWindows().size(), 1);
        QCOMPARE(second.visibleWindows().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOneClock)
#include "tst_one_clock.moc"

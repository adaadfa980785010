// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's notification-area icon under Wine: Options > Hide puts the window away and one
// icon into the session's XEmbed tray (trayer), where Wine's explorer shows it as an X window of its
// own, with its tip under the mouse; a double click on it brings the window back with the keyboard focus
// and takes the icon away. In the program and in its copy that runs in the system's code page. The icon
// follows the shell: a restarted shell gets it again, and it goes with the clock when the clock ends.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

namespace {

// Options > Hide, and the one icon it adds.
QString hide(WineProgram& program)
{
    program.menu({QStringLiteral("Return"), QStringLiteral("Return")});
    if (!QTest::qWaitFor([&] { return !program.isShown() && wine::trayIcons().size() == 1; }, 10000))
        return QString();
    return wine::trayIcons().value(0);
}

// A left double click on the icon, as a person makes it.
void doubleClick(const QString& icon)
{
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QStringLiteral("--window"), icon, QStringLiteral("10"),
                       QStringLiteral("10"), QStringLiteral("click"), QStringLiteral("--repeat"),
                       QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"),
                       QStringLiteral("1")});
}

// The texts of the tips shown on the screen: Wine's explorer shows an icon's tip in a tooltip window.
QStringList shownTips()
{
    QStringList tips;
    for (const QString& line : wine::driver({QStringLiteral("windows")}).output.split(u'\n')) {
        const QStringList fields = line.split(u'\t'); // window HWND PID CLASS VISIBLE TITLE
        if (fields.value(3) == QLatin1String("tooltips_class32") &&
            fields.value(4) == QLatin1String("visible"))
            tips << fields.value(5);
    }
    return tips;
}

} // namespace

class TestWineTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(wine::storeSettings({}));
    }

    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons(), QStringList(), 5000); }

    // Each Hide adds exactly one icon, its tip under the mouse, and each restore removes it, twice; with
    // "shell restarts", the shell loses the icon first (as Explorer does when it crashes or is restarted)
    // and announces its new taskbar, and the clock's icon is back, one, to restore it by.
    void hideAndRestore_data()
    {
        QTest::addColumn<CodePage>("codePage");
        QTest::addColumn<bool>("shellRestarts");
        QTest::newRow("UTF-8") << CodePage::Utf8 << false;
        QTest::newRow("system code page") << CodePage::System << false;
        QTest::newRow("shell restarts while hidden") << CodePage::Utf8 << true;
    }
    void hideAndRestore()
    {
        QFETCH(CodePage, codePage);
        QFETCH(bool, shellRestarts);
        WineProgram program(codePage);
        QVERIFY2(program.start(), program.state());
        QTRY_COMPARE_WITH_TIMEOUT(program.focus(), QStringLiteral("chkAlarmClock"), 10000);
        for (int round = 1; round <= (shellRestarts ? 1 : 2); ++round) {
            QCOMPARE(wine::trayIcons(), QStringList());
            QString icon = hide(program);
            QVERIFY2(!icon.isEmpty(), qPrintable(wine::trayIcons().join(u' ')));
            if (shellRestarts) {
                WINE_VERIFY_RAN(wine::driver({QStringLiteral("forgeticon"),
                                              program.control(QStringLiteral("Picture1")).handle,
                                              QStringLiteral("125")}));
                QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons(), QStringList(), 5000);
                WINE_VERIFY_RAN(
                    wine::driver({QStringLiteral("broadcast"), QStringLiteral("TaskbarCreated")}));
                QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons().size(), 1, 5000);
                QVERIFY(!QTest::qWaitFor([] { return wine::trayIcons().size() != 1; }, 1000));
                icon = wine::trayIcons().value(0);
                QVERIFY(!program.isShown());
            }
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("mousemove"), QStringLiteral("--window"), icon,
                               QStringLiteral("10"), QStringLiteral("10")});
            QTRY_COMPARE_WITH_TIMEOUT(
                shownTips(), QStringList{QStringLiteral("Wobblix Clock (Double Click to Open)")}, 10000);
            doubleClick(icon);
            QTRY_VERIFY_WITH_TIMEOUT(program.isShown(), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(program.activeWindow(), program.window(), 5000);
            // The window itself, or the control that had the focus when it was hidden.
            QTRY_VERIFY_WITH_TIMEOUT(
                QStringList({QStringLiteral("MainForm"), QStringLiteral("chkAlarmClock")})
                    .contains(program.focus()),
                5000);
            QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons(), QStringList(), 5000);
        }
        QVERIFY2(program.exit(), program.state());
    }

    // A new taskbar while the window is shown: there is no icon to give it.
    void shellRestartsWhileShown()
    {
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        WINE_VERIFY_RAN(wine::driver({QStringLiteral("broadcast"), QStringLiteral("TaskbarCreated")}));
        QVERIFY(!QTest::qWaitFor([] { return !wine::trayIcons().isEmpty(); }, 2000));
        QVERIFY(program.isShown());
        QVERIFY2(program.exit(), program.state());
    }

    // The clock ends while hidden, and its icon goes with it rather than staying behind, dead, as Windows'
    // shell keeps an icon until the mouse passes over it: asked to close (WM_CLOSE, as the installer asks a
    // clock it replaces), the Restart Manager closing it, or the session ending. Windows ends a session by
    // ending the processes once each has answered WM_ENDSESSION, without destroying their windows, so
    // there the icon must be gone while the clock still runs. (Wine's shell, unlike Windows', drops the
    // icons of a window destroyed or a process ended by itself.)
    void endsWhileHidden_data()
    {
        QTest::addColumn<QStringList>("ending");
        QTest::addColumn<bool>("sessionEnds");
        QTest::newRow("asked to close") << QStringList{QStringLiteral("close")} << false;
        QTest::newRow("the Restart Manager closes it")
            << QStringList{QStringLiteral("endsession"), QStringLiteral("closeapp")} << false;
        QTest::newRow("the session ends") << QStringList{QStringLiteral("endsession")} << true;
    }
    void endsWhileHidden()
    {
        QFETCH(QStringList, ending);
        QFETCH(bool, sessionEnds);
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        QTRY_COMPARE_WITH_TIMEOUT(program.focus(), QStringLiteral("chkAlarmClock"), 10000);
        QVERIFY(!hide(program).isEmpty());
        WINE_VERIFY_RAN(wine::driver(QStringList{ending.value(0), program.window()} + ending.mid(1)));
        if (sessionEnds) {
            QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons(), QStringList(), 5000);
            QVERIFY2(!program.ends(0), "the clock ended by itself: it was not the clock that took its icon");
            program.kill();
        }
        QVERIFY2(program.ends(5000), program.state());
        QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons(), QStringList(), 5000);
    }
};

QTEST_GUILESS_MAIN(TestWineTray)
#include "tst_wine_tray.moc"

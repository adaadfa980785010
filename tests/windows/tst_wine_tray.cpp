// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's notification-area icon under Wine: Options > Hide puts the window away and one
// icon into the session's XEmbed tray (trayer), where Wine's explorer shows it as an X window of its
// own; a double click on it brings the window back with the keyboard focus and takes the icon away.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

class TestWineTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(wine::storeSettings({}));
    }

    // Twice: each Hide adds exactly one icon and each restore removes it.
    void hideAndRestore()
    {
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        QTRY_COMPARE_WITH_TIMEOUT(program.focus(), QStringLiteral("chkAlarmClock"), 10000);
        for (int round = 1; round <= 2; ++round) {
            QCOMPARE(wine::trayIcons(), QStringList());
            // Options > Hide
            program.menu({QStringLiteral("Return"), QStringLiteral("Return")});
            QTRY_VERIFY_WITH_TIMEOUT(!program.isShown(), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons().size(), 1, 10000);
            const QString icon = wine::trayIcons().value(0);
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("mousemove"), QStringLiteral("--window"), icon, QStringLiteral("10"),
                               QStringLiteral("10"), QStringLiteral("click"), QStringLiteral("--repeat"),
                               QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"),
                               QStringLiteral("1")});
            QTRY_VERIFY_WITH_TIMEOUT(program.isShown(), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(program.activeWindow(), program.window(), 5000);
            // The window itself, or the control that had the focus when it was hidden.
            QTRY_VERIFY_WITH_TIMEOUT(
                QStringList({QStringLiteral("MainForm"), QStringLiteral("chkAlarmClock")}).contains(program.focus()),
                5000);
            QTRY_COMPARE_WITH_TIMEOUT(wine::trayIcons(), QStringList(), 5000);
        }
        QVERIFY2(program.exit(), program.state());
    }
};

QTEST_GUILESS_MAIN(TestWineTray)
#include "tst_wine_tray.moc"

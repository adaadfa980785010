// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's notification-area icon under Wine: Options > Hide puts the window away and one
// icon into the session's XEmbed tray (trayer), where Wine's explorer shows it as an X window of its
// own, with its tip under the mouse; a double click on it brings the window back with the keyboard focus
// and takes the icon away. In the program and in its copy that runs in the system's code page.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

namespace {

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

    // Twice: each Hide adds exactly one icon and each restore removes it.
    void hideAndRestore_data()
    {
        QTest::addColumn<CodePage>("codePage");
        QTest::newRow("UTF-8") << CodePage::Utf8;
        QTest::newRow("system code page") << CodePage::System;
    }
    void hideAndRestore()
    {
        QFETCH(CodePage, codePage);
        WineProgram program(codePage);
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
                              {QStringLiteral("mousemove"), QStringLiteral("--window"), icon,
                               QStringLiteral("10"), QStringLiteral("10")});
            QTRY_COMPARE_WITH_TIMEOUT(
                shownTips(), QStringList{QStringLiteral("Wobblix Clock (Double Click to Open)")}, 10000);
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

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's window under Wine, as the system's own window classes build it: frame, controls,
// focus and Tab order, the time fields as typed at the keyboard, and the About box. One run of the
// program serves every test here, in order.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

Q_DECLARE_METATYPE(ControlDescription)

class TestWineWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(wine::storeSettings({}));
        QVERIFY2(m_program.start(), m_program.state());
    }

    void cleanupTestCase() { QVERIFY2(m_program.exit(), m_program.state()); }

    void focusAtStart() { QTRY_COMPARE_WITH_TIMEOUT(m_program.focus(), QStringLiteral("chkAlarmClock"), 10000); }

    void frame_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::newRow("caption") << "title" << "Wobblix Clock";
        QTest::newRow("no minimize box") << "minimizebox" << "0";
        QTest::newRow("no maximize box") << "maximizebox" << "0";
        QTest::newRow("no sizing frame") << "thickframe" << "0";
    }
    void frame()
    {
        QFETCH(QString, property);
        QFETCH(QString, value);
        QCOMPARE(m_program.windowRecord().value(property), value);
    }

    // 377 x 280 pixels of client area at 96 dots per inch, the frame centred on the screen.
    void placeAndSize()
    {
        QCOMPARE(wine::driver({QStringLiteral("dpi")}).output, QStringLiteral("dpi\t96\t96"));
        const QMap<QString, QString> window = m_program.windowRecord();
        QCOMPARE(window.value(QStringLiteral("client")).section(u' ', 2), QStringLiteral("377 280"));
        const QStringList frame = window.value(QStringLiteral("frame")).split(u' ');
        const QRect onScreen(frame.value(0).toInt(), frame.value(1).toInt(), frame.value(2).toInt(),
                             frame.value(3).toInt());
        // The session's screen, 1280 x 800 (tests/session/desktop-session.sh).
        QVERIFY2(qAbs(onScreen.center().x() - 640) <= 1 && qAbs(onScreen.center().y() - 400) <= 1,
                 qPrintable(window.value(QStringLiteral("frame"))));
    }

    void controls_data()
    {
        QTest::addColumn<ControlDescription>("expected");
        for (const ControlDescription& control : windowDescription())
            QTest::newRow(qPrintable(control.name)) << control;
    }
    void controls()
    {
        QFETCH(ControlDescription, expected);
        const WineControl found = m_program.control(expected.name);
        QVERIFY2(!found.handle.isEmpty(), qPrintable(QStringLiteral("nothing at %1,%2 in %3")
                                                         .arg(expected.pixels().x())
                                                         .arg(expected.pixels().y())
                                                         .arg(expected.container)));
        if (expected.className == QLatin1String("picture")) {
            // The picture boxes are a class of the program's own, the same for all three.
            const QStringList systemClasses{"Button", "Edit", "Static"};
            QVERIFY2(!systemClasses.contains(found.className, Qt::CaseInsensitive), qPrintable(found.className));
            QCOMPARE(found.className, m_program.control(QStringLiteral("Picture2")).className);
        } else {
            QVERIFY2(found.className.compare(expected.className, Qt::CaseInsensitive) == 0,
                     qPrintable(found.className));
        }
        QCOMPARE(found.text, expected.caption);
        QCOMPARE(found.place, expected.pixels());
        QCOMPARE(found.enabled, expected.enabled);
        QCOMPARE(found.visible, expected.visible);
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("stops");
        const QStringList forward{"cmdBrowse",       "cmdPlay",       "txtHour",  "txtMinute",
                                  "chkChimes",       "cmdChimesBrowse", "cmdChimesPlay", "Picture2",
                                  "Picture3",        "chkAlarmClock"};
        QStringList backward(forward.rbegin() + 1, forward.rend());
        backward << QStringLiteral("chkAlarmClock");
        QTest::newRow("Tab") << "Tab" << forward;
        QTest::newRow("Shift+Tab") << "shift+Tab" << backward;
    }
    void tabOrder()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, stops);
        QTRY_COMPARE_WITH_TIMEOUT(m_program.focus(), QStringLiteral("chkAlarmClock"), 5000);
        for (const QString& stop : stops) {
            m_program.keys({key});
            QTRY_COMPARE_WITH_TIMEOUT(m_program.focus(), stop, 5000);
        }
    }

    // Keys typed into a time field: only digits pass, values above the field's maximum become the
    // maximum, and two characters are all it holds. Refused keys come first, so that the text shown
    // is reached only once every key has been handled.
    void timeFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("then");
        QTest::addColumn<QString>("shows");
        QTest::newRow("digits") << "txtHour" << "7" << QStringList() << "7";
        QTest::newRow("letter, space, minus, point refused") << "txtHour" << "a -.4" << QStringList() << "4";
        QTest::newRow("25 becomes 23") << "txtHour" << "25" << QStringList() << "23";
        QTest::newRow("75 becomes 59") << "txtMinute" << "75" << QStringList() << "59";
        // Had the third been taken, BackSpace would leave two.
        QTest::newRow("third character refused") << "txtMinute" << "123" << QStringList{"BackSpace"} << "1";
    }
    void timeFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, then);
        QFETCH(QString, shows);
        QVERIFY(m_program.setText(field, QString()));
        m_program.click(field);
        QTRY_COMPARE_WITH_TIMEOUT(m_program.focus(), field, 5000);
        m_program.type(typed);
        if (!then.isEmpty())
            m_program.keys(then);
        QTRY_COMPARE_WITH_TIMEOUT(m_program.text(field), shows, 5000);
    }

    // Help > About..: a message box with the version as its first of two lines, and OK only.
    void about()
    {
        m_program.menu({QStringLiteral("Right"), QStringLiteral("Return"), QStringLiteral("Return")});
        const WineDialog box = findDialog(QStringLiteral("About Wobblix Clock"));
        QVERIFY2(!box.handle.isEmpty(), "no About box");
        QCOMPARE(box.texts.size(), 1);
        const QStringList lines = box.texts[0].split(QRegularExpression(QStringLiteral("\r?\n")));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Wobblix Clock Version 1.00"));
        QCOMPARE(box.buttons.size(), 1);
        QCOMPARE(box.buttons[0].second, QStringLiteral("OK"));
        QCOMPARE(wine::driver({QStringLiteral("press"), box.handle, QStringLiteral("OK")}).status, 0);
        QCOMPARE(wine::driver({QStringLiteral("gone"), box.handle, QStringLiteral("5000")}).status, 0);
    }

private:
    WineProgram m_program;
};

QTEST_GUILESS_MAIN(TestWineWindow)
#include "tst_wine_window.moc"

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's settings in the registry, as REG_SZ values of
// HKCU\Software\VB and VBA Program Settings\Wobblix\Main: what Options > Save writes there, what a
// start shows of what is there, and a damaged switch reported over the window. Each test starts from
// values written with `wine reg import` and reads with `wine reg export`.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

using Values = QMap<QString, QString>;

class TestWineSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    void cleanup() { QVERIFY(wine::storeSettings({})); }

    // The path fields take no typing: their texts come from the registry and go back through the window.
    void saveWrites_data()
    {
        QTest::addColumn<CodePage>("codePage");
        QTest::addColumn<Values>("stored");
        QTest::addColumn<bool>("switchAlarmOn");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<Values>("saved");
        const QString wake = QStringLiteral(R"(C:\sounds\wake up "now".wav)");
        const QString chime = QStringLiteral(R"(C:\sounds\chime.wav)");
        QTest::newRow("every field") << CodePage::Utf8 << Values{{"File", wake}, {"Chime", chime}} << true << "7" << "30"
                                     << Values{{"File", wake}, {"Hour", "7"},      {"Minute", "30"},
                                               {"AlarmON", "1"}, {"Chime", chime}, {"ChimesON", "0"}};
        QTest::newRow("empty texts left out, switches always")
            << CodePage::Utf8 << Values{} << false << "" << "" << Values{{"AlarmON", "0"}, {"ChimesON", "0"}};
        const QString greek = QStringLiteral(u"C:\\ήχοι\\ξύπνημα.wav");
        QTest::newRow("non-ASCII path") << CodePage::Utf8 << Values{{"File", greek}} << false << "" << ""
                                        << Values{{"File", greek}, {"AlarmON", "0"}, {"ChimesON", "0"}};
        QTest::newRow("non-ASCII path, system code page")
            << CodePage::System << Values{{"File", greek}} << false << "" << ""
            << Values{{"File", greek}, {"AlarmON", "0"}, {"ChimesON", "0"}};
        QTest::newRow("grayed switch") << CodePage::Utf8 << Values{{"ChimesON", "2"}} << false << "" << ""
                                       << Values{{"AlarmON", "0"}, {"ChimesON", "2"}};
    }
    void saveWrites()
    {
        QFETCH(CodePage, codePage);
        QFETCH(Values, stored);
        QFETCH(bool, switchAlarmOn);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(Values, saved);
        QVERIFY(wine::storeSettings(stored));
        WineProgram program(codePage);
        QVERIFY2(program.start(), program.state());
        QTRY_COMPARE_WITH_TIMEOUT(program.focus(), QStringLiteral("chkAlarmClock"), 10000);
        if (switchAlarmOn)
            program.keys({QStringLiteral("space")});
        for (const auto& [field, typed] : {std::pair{QStringLiteral("txtHour"), hour}, {QStringLiteral("txtMinute"), minute}}) {
            if (typed.isEmpty())
                continue;
            program.click(field);
            QTRY_COMPARE_WITH_TIMEOUT(program.focus(), field, 5000);
            program.type(typed);
            QTRY_COMPARE_WITH_TIMEOUT(program.text(field), typed, 5000);
        }
        QVERIFY(wine::storeSettings({}));
        // Options > Save
        program.menu({QStringLiteral("Return"), QStringLiteral("Down"), QStringLiteral("Return")});
        QTRY_COMPARE_WITH_TIMEOUT(wine::storedSettings(), saved, 10000);
        QVERIFY2(program.exit(), program.state());
    }

    // What a start shows: texts as stored, the time fields cut to two characters and clamped, switches
    // as their state.
    void startShows_data()
    {
        QTest::addColumn<Values>("stored");
        QTest::addColumn<Values>("shown"); // control: text, or a check box's state 0, 1 or 2
        QTest::newRow("nothing stored")
            << Values{}
            << Values{{"txtSound", ""}, {"txtHour", ""}, {"txtMinute", ""}, {"chkAlarmClock", "0"}, {"chkChimes", "0"}};
        QTest::newRow("hour 30 shows 23") << Values{{"Hour", "30"}, {"Minute", "5"}}
                                          << Values{{"txtHour", "23"}, {"txtMinute", "5"}};
        QTest::newRow("minute 75 shows 59, 123 cut to 12")
            << Values{{"Hour", "123"}, {"Minute", "75"}} << Values{{"txtHour", "12"}, {"txtMinute", "59"}};
        QTest::newRow("switches checked and grayed") << Values{{"AlarmON", "1"}, {"ChimesON", "2"}}
                                                     << Values{{"chkAlarmClock", "1"}, {"chkChimes", "2"}};
        QTest::newRow("paths as stored")
            << Values{{"File", QStringLiteral(u"C:\\ήχος.wav")}, {"Chime", " C:\\no such folder\\a b.wav"}}
            << Values{{"txtSound", QStringLiteral(u"C:\\ήχος.wav")}, {"txtChimesSoundFile", " C:\\no such folder\\a b.wav"}};
    }
    void startShows()
    {
        QFETCH(Values, stored);
        QFETCH(Values, shown);
        QVERIFY(wine::storeSettings(stored));
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        for (auto it = shown.begin(); it != shown.end(); ++it) {
            if (it.key().startsWith(QLatin1String("chk")))
                QTRY_COMPARE_WITH_TIMEOUT(QString::number(program.check(it.key())), it.value(), 5000);
            else
                QTRY_COMPARE_WITH_TIMEOUT(program.text(it.key()), it.value(), 5000);
        }
        QVERIFY2(program.exit(), program.state());
    }

    // A stored switch that is no check-box state: the program starts with that switch unchecked, the
    // other values loaded, and says so in a message over its window.
    void damagedSwitchReported()
    {
        QVERIFY(wine::storeSettings({{QStringLiteral("AlarmON"), QStringLiteral("x")},
                                     {QStringLiteral("Hour"), QStringLiteral("7")}}));
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        const WineDialog box = findDialog(QStringLiteral("Wobblix Clock"));
        QVERIFY2(!box.handle.isEmpty(), "no message at start");
        QCOMPARE(box.texts.size(), 1);
        QCOMPARE(QString(box.texts[0]).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                 QStringLiteral("The stored switch AlarmON is \"x\", not 0, 1 or 2.\n\n"
                                "That switch starts off until you set it and choose Options > Save."));
        QCOMPARE(wine::driver({QStringLiteral("press"), box.handle, QStringLiteral("OK")}).status, 0);
        QCOMPARE(wine::driver({QStringLiteral("gone"), box.handle, QStringLiteral("5000")}).status, 0);
        QCOMPARE(program.check(QStringLiteral("chkAlarmClock")), 0);
        QCOMPARE(program.text(QStringLiteral("txtHour")), QStringLiteral("7"));
        QVERIFY2(program.exit(), program.state());
    }
};

QTEST_GUILESS_MAIN(TestWineSettings)
#include "tst_wine_settings.moc"

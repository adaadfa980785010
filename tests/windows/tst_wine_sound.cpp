// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's sounds under Wine: a wave file chosen in the system's open-file dialog fills its
// field and plays, and the alarm rings at its minute. What plays is a stream of the program's process
// on the session's sound server (Wine's winepulse), which `pactl` lists.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

namespace {

// A wave file of 880 Hz on the prefix's C: drive.
bool writeTone(const QString& relative, int seconds = 2)
{
    QProcess sox;
    sox.start(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"),
                                      QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-c"),
                                      QStringLiteral("1"), wine::onDriveC(relative), QStringLiteral("synth"),
                                      QString::number(seconds), QStringLiteral("sine"), QStringLiteral("880")});
    return sox.waitForFinished(10000) && sox.exitCode() == 0;
}

} // namespace

class TestWineSound : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(writeTone(QStringLiteral("tone.wav")));
        QVERIFY(writeTone(QStringLiteral(u"ήχος.wav")));
        // Long enough to be heard however late the first check after the minute comes.
        QVERIFY(writeTone(QStringLiteral("alarm.wav"), 10));
    }

    void cleanup()
    {
        if (m_zoneShifted) {
            wine::setTimeZone(QString());
            m_zoneShifted = false;
        }
        QVERIFY(wine::storeSettings({}));
    }

    // Browse: the dialog "Sound to Play" with its one filter; a path typed into its file name and
    // confirmed with Open is the field's text; Play then plays it.
    void chosenFilePlays_data()
    {
        QTest::addColumn<QString>("browse");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("play");
        QTest::addColumn<QString>("path");
        QTest::newRow("alarm, Greek file name") << "cmdBrowse" << "txtSound" << "cmdPlay" << QStringLiteral(u"C:\\ήχος.wav");
        QTest::newRow("chime") << "cmdChimesBrowse" << "txtChimesSoundFile" << "cmdChimesPlay" << R"(C:\tone.wav)";
    }
    void chosenFilePlays()
    {
        QFETCH(QString, browse);
        QFETCH(QString, field);
        QFETCH(QString, play);
        QFETCH(QString, path);
        QVERIFY(wine::storeSettings({}));
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        program.click(browse);
        const WineDialog dialog = findDialog(QStringLiteral("Sound to Play"));
        QVERIFY2(!dialog.handle.isEmpty(), "no dialog \"Sound to Play\"");
        const QList<WineControl> items = controlsOf(dialog.handle);
        const auto item = [&](int id, const QString& className) {
            const auto found = std::find_if(items.begin(), items.end(), [&](const WineControl& c) {
                return c.id == id && c.className.compare(className, Qt::CaseInsensitive) == 0;
            });
            return found == items.end() ? WineControl{} : *found;
        };
        QCOMPARE(item(1136, QStringLiteral("ComboBox")).text, QStringLiteral("Wave Sound Files"));
        const WineControl fileName = item(1148, QStringLiteral("Edit"));
        QVERIFY2(!fileName.handle.isEmpty(), "no file name field in the dialog");
        QCOMPARE(wine::driver({QStringLiteral("settext"), fileName.handle, path}).status, 0);
        QCOMPARE(wine::driver({QStringLiteral("press"), dialog.handle, QStringLiteral("Open")}).status, 0);
        QCOMPARE(wine::driver({QStringLiteral("gone"), dialog.handle, QStringLiteral("5000")}).status, 0);
        QTRY_COMPARE_WITH_TIMEOUT(program.text(field), path, 5000);

        QCOMPARE(wine::streamsOf(program.pid()), 0);
        program.click(play);
        QTRY_VERIFY_WITH_TIMEOUT(wine::streamsOf(program.pid()) > 0, 10000);
        QVERIFY2(program.exit(), program.state());
    }

    // The alarm set for 7:45 with Wine's local time put a few seconds before it: nothing plays before
    // the minute, and the sound within a check's interval (3 s) after it starts.
    void alarmRingsAtItsMinute()
    {
        // From now to 7:45:00 local time: the prefix's restart in the new zone and the program's start
        // take most of it.
        constexpr int LeadMs = 20000;
        const QTime utc = QDateTime::currentDateTimeUtc().time();
        qint64 ahead = QTime(7, 45).addMSecs(-LeadMs).msecsSinceStartOfDay() / 1000 -
                       utc.msecsSinceStartOfDay() / 1000;
        if (ahead > 12 * 3600)
            ahead -= 24 * 3600;
        else if (ahead <= -12 * 3600)
            ahead += 24 * 3600;
        QElapsedTimer sinceShift;
        sinceShift.start();
        wine::setTimeZone(wine::zoneAhead(ahead));
        m_zoneShifted = true;
        QVERIFY(wine::storeSettings({{QStringLiteral("File"), QStringLiteral(R"(C:\alarm.wav)")},
                                     {QStringLiteral("Hour"), QStringLiteral("7")},
                                     {QStringLiteral("Minute"), QStringLiteral("45")},
                                     {QStringLiteral("AlarmON"), QStringLiteral("1")}}));
        WineProgram program;
        QVERIFY2(program.start(), program.state());
        const qint64 minuteAt = LeadMs - (utc.msec());
        QVERIFY2(sinceShift.elapsed() < minuteAt - 1000,
                 qPrintable(QStringLiteral("the program started %1 ms after the minute it was to wait for")
                                .arg(sinceShift.elapsed() - minuteAt)));
        while (sinceShift.elapsed() < minuteAt - 500)
            QVERIFY2(wine::streamsOf(program.pid()) == 0,
                     qPrintable(QStringLiteral("a sound %1 ms before the minute").arg(minuteAt - sinceShift.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(wine::streamsOf(program.pid()) > 0, 8000);
        QVERIFY2(sinceShift.elapsed() <= minuteAt + 3000 + 1500, qPrintable(QString::number(sinceShift.elapsed())));
        QVERIFY2(program.exit(), program.state());
    }

private:
    bool m_zoneShifted = false;
};

QTEST_GUILESS_MAIN(TestWineSound)
#include "tst_wine_sound.moc"

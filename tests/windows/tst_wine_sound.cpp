// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's sounds under Wine: a wave file chosen in the system's open-file dialog fills its
// field and plays, as does one at a path longer than PlaySound opens by name, and the alarm rings at its
// minute; in the program and in its copy that runs in the system's code page. What plays is a stream of
// the program's process on the session's sound server (Wine's winepulse), which `pactl` lists.

#include "WineProgram.h"

#include <QtTest>

using namespace wobblix::test;

namespace {

// A wave file of 880 Hz on the prefix's C: drive, its folders made first.
bool writeTone(const QString& relative, int seconds = 2)
{
    QDir().mkpath(QFileInfo(wine::onDriveC(relative)).path());
    QProcess sox;
    sox.start(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"),
                                      QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-c"),
                                      QStringLiteral("1"), wine::onDriveC(relative), QStringLiteral("synth"),
                                      QString::number(seconds), QStringLiteral("sine"), QStringLiteral("880")});
    return sox.waitForFinished(10000) && sox.exitCode() == 0;
}

// The Windows path of `length` characters to tone.wav, in folders of at most 50 characters on drive C.
QString longPath(int length)
{
    const QString file = QStringLiteral("tone.wav");
    QString path = QStringLiteral("C:\\");
    for (qsizetype left = length - path.size() - file.size(); left > 0;) {
        qsizetype folder = std::min<qsizetype>(left, 51); // with its backslash
        if (left - folder == 1)
            --folder;
        path += QString(folder - 1, u'x') + u'\\';
        left -= folder;
    }
    return path + file;
}

// The path under drive C of a Windows path on it, as wine::onDriveC takes it.
QString underDriveC(const QString& windowsPath)
{
    return windowsPath.mid(3).replace(u'\\', u'/');
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
        for (const int length : {200, 300})
            QVERIFY(writeTone(underDriveC(longPath(length))));
        // A recording cut short: its header claims two seconds, the file holds one.
        QVERIFY(writeTone(QStringLiteral("short/") + underDriveC(longPath(294))));
        QFile cut(wine::onDriveC(QStringLiteral("short/") + underDriveC(longPath(294))));
        QVERIFY(cut.resize(cut.size() / 2));
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
        QTest::addColumn<CodePage>("codePage");
        QTest::addColumn<QString>("browse");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("play");
        QTest::addColumn<QString>("path");
        const QString greek = QStringLiteral(u"C:\\ήχος.wav");
        QTest::newRow("alarm, Greek file name") << CodePage::Utf8 << "cmdBrowse" << "txtSound" << "cmdPlay" << greek;
        QTest::newRow("alarm, Greek file name, system code page")
            << CodePage::System << "cmdBrowse" << "txtSound" << "cmdPlay" << greek;
        QTest::newRow("chime") << CodePage::Utf8 << "cmdChimesBrowse" << "txtChimesSoundFile" << "cmdChimesPlay"
                               << R"(C:\tone.wav)";
        QTest::newRow("alarm, 200 characters") << CodePage::Utf8 << "cmdBrowse" << "txtSound" << "cmdPlay"
                                               << longPath(200);
        QTest::newRow("alarm, 200 characters, system code page")
            << CodePage::System << "cmdBrowse" << "txtSound" << "cmdPlay" << longPath(200);
    }
    void chosenFilePlays()
    {
        QFETCH(CodePage, codePage);
        QFETCH(QString, browse);
        QFETCH(QString, field);
        QFETCH(QString, play);
        QFETCH(QString, path);
        QVERIFY(wine::storeSettings({}));
        WineProgram program(codePage);
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

    // A stored path longer than any PlaySound opens by name (mmioOpen takes 127 characters): Play gives a
    // stream, from a file cut short too; a path to no file stays silent, and the program runs on.
    void storedPathPlays_data()
    {
        QTest::addColumn<CodePage>("codePage");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("rings");
        QTest::newRow("300 characters") << CodePage::Utf8 << longPath(300) << true;
        QTest::newRow("300 characters, system code page") << CodePage::System << longPath(300) << true;
        QTest::newRow("300 characters, cut short")
            << CodePage::Utf8 << QString(longPath(294)).insert(3, QStringLiteral("short\\")) << true;
        QTest::newRow("300 characters, no such file")
            << CodePage::Utf8
            << QString(longPath(300)).replace(QStringLiteral("tone"), QStringLiteral("none")) << false;
    }
    void storedPathPlays()
    {
        QFETCH(CodePage, codePage);
        QFETCH(QString, path);
        QFETCH(bool, rings);
        QCOMPARE(path.size(), 300);
        QVERIFY(wine::storeSettings({{QStringLiteral("File"), path}}));
        WineProgram program(codePage);
        QVERIFY2(program.start(), program.state());
        QTRY_COMPARE_WITH_TIMEOUT(program.text(QStringLiteral("txtSound")), path, 5000);
        program.click(QStringLiteral("cmdPlay"));
        if (rings) {
            QTRY_VERIFY_WITH_TIMEOUT(wine::streamsOf(program.pid()) > 0, 10000);
        } else {
            QElapsedTimer played;
            played.start();
            while (played.elapsed() < 3000)
                QVERIFY2(wine::streamsOf(program.pid()) == 0, "a stream for a file that is not there");
        }
        QVERIFY2(program.exit(), program.state());
    }

    // The alarm set for 7:45 with Wine's local time put before it: nothing plays before the minute, and
    // the sound within a check's interval (3 s) after it starts. Wine keeps a zone's offset in whole
    // minutes, so 7:45 is put on the first minute of UTC at least the lead away.
    void alarmRingsAtItsMinute()
    {
        // From now to 7:45:00 local time: the prefix's restart in the new zone and the program's start
        // take most of it.
        constexpr qint64 LeadMs = 20000;
        constexpr qint64 MinuteMs = 60000;
        constexpr qint64 DayMinutes = 24 * 60;
        const qint64 nowMs = QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
        const qint64 minuteOfUtc = (nowMs + LeadMs + MinuteMs - 1) / MinuteMs;
        qint64 aheadMinutes = ((7 * 60 + 45 - minuteOfUtc) % DayMinutes + DayMinutes) % DayMinutes;
        if (aheadMinutes > DayMinutes / 2)
            aheadMinutes -= DayMinutes;
        const qint64 minuteAt = minuteOfUtc * MinuteMs - nowMs;
        QElapsedTimer sinceShift;
        sinceShift.start();
        wine::setTimeZone(wine::zoneAhead(aheadMinutes * 60));
        m_zoneShifted = true;
        QVERIFY(wine::storeSettings({{QStringLiteral("File"), QStringLiteral(R"(C:\alarm.wav)")},
                                     {QStringLiteral("Hour"), QStringLiteral("7")},
                                     {QStringLiteral("Minute"), QStringLiteral("45")},
                                     {QStringLiteral("AlarmON"), QStringLiteral("1")}}));
        WineProgram program;
        QVERIFY2(program.start(), program.state());
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

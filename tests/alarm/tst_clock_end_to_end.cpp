// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program as a person uses it, in the test session (X server, trayer, PulseAudio): it rings at
// the hour and at its minute under a shifted, sped-up clock; values typed into the window and saved come
// back at the next start; Hide and a double-click on the icon.

#include "sound/AudioLibraries.h"
#include "sound/SinkRecorder.h"
#include "sound/SoundFiles.h"
#include "sound/ToneAnalysis.h"
#include "support/ClockProgram.h"
#include "support/DesktopDriver.h"

#include <QtTest>

#include <memory>

using namespace wobblix::test;

namespace {

constexpr double ChimeHz = 440;
constexpr double AlarmHz = 880;
constexpr int Speed = 10; // the shifted clock runs ten times as fast, Qt's timers with it

} // namespace

class TestClockEndToEnd : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_config;
    QString m_chime;
    QString m_alarm;
    std::unique_ptr<ClockProgram> m_clock;

    QString settingsFile() const { return m_config + QStringLiteral("/Wobblix.conf"); }

    // Starts the real program on this user's settings and waits for its window; at `startAt` (today) on a
    // clock running Speed times as fast, when given.
    void startClock(const QTime& startAt = QTime(), bool onAccessibilityBus = false)
    {
        m_clock = std::make_unique<ClockProgram>(m_config);
        if (startAt.isValid())
            m_clock->shiftClock(startAt, Speed);
        if (onAccessibilityBus)
            m_clock->setEnvironment(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        QVERIFY2(m_clock->start(), m_clock->state());
    }

    void endClock() { m_clock.reset(); }

    // When each tone began, in the shifted clock's time, from a recording that began as the program did.
    static QList<std::pair<double, QTime>> heardTones(const Recording& recording, const QTime& startedAt)
    {
        QList<std::pair<double, QTime>> heard;
        const QList<ToneRun> runs =
            heardRuns(toneRuns(recording.left, SinkRecorder::Rate, {ChimeHz, AlarmHz}));
        for (const ToneRun& run : runs)
            heard.append({run.frequency, startedAt.addMSecs(run.startMs * Speed)});
        return heard;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QVERIFY2(!fakeTimeLibrary().isEmpty(), "libfaketime is not installed (package faketime)");
        QVERIFY2(!qEnvironmentVariableIsEmpty("WOBBLIX_SINK"), "not inside the desktop test session");
        m_chime = m_folder.filePath(QStringLiteral("chime.wav"));
        m_alarm = m_folder.filePath(QStringLiteral("alarm.wav"));
        QVERIFY(writeToneSequence(m_chime, 48000, {{ChimeHz, 0.4}}));
        QVERIFY(writeToneSequence(m_alarm, 48000, {{AlarmHz, 0.4}}));
    }

    void init()
    {
        m_config = m_folder.filePath(
            QStringLiteral("config-%1").arg(QString::fromLatin1(QTest::currentTestFunction())));
        QVERIFY(QDir().mkpath(m_config));
    }

    void cleanup() { endClock(); }

    // With chimes on, from 7:59:50: each sound once and each within one tick (3 s) of its minute. An alarm
    // at the top of the hour sounds instead of the chime, not after it: the clock rests after one sound.
    void ringsAtTheHourAndAtTheAlarmMinute_data()
    {
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QList<double>>("tones");
        QTest::addColumn<QList<QTime>>("minutes");
        QTest::newRow("alarm at 8:02") << QStringLiteral("2") << QList<double>{ChimeHz, AlarmHz}
                                       << QList<QTime>{QTime(8, 0), QTime(8, 2)};
        QTest::newRow("alarm at 8:00")
            << QStringLiteral("0") << QList<double>{AlarmHz} << QList<QTime>{QTime(8, 0)};
    }
    void ringsAtTheHourAndAtTheAlarmMinute()
    {
        QFETCH(QString, minute);
        QFETCH(QList<double>, tones);
        QFETCH(QList<QTime>, minutes);
        QFile settings(settingsFile());
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("[Main]\nFile=%1\nHour=8\nMinute=%2\nAlarmON=1\nChime=%3\nChimesON=1\n")
                           .arg(m_alarm, minute, m_chime)
                           .toUtf8());
        settings.close();

        SinkRecorder recorder(qEnvironmentVariable("WOBBLIX_SINK"));
        QVERIFY(recorder.start());
        const qint64 startFrame = recorder.frames();
        startClock(QTime(7, 59, 50));
        // 7:59:50 to 8:02:10 is 140 s on the shifted clock.
        QVERIFY(recorder.waitForFrames(startFrame + SinkRecorder::framesForMs(140 * 1000 / Speed), 30000));
        endClock();

        const QList<std::pair<double, QTime>> heard =
            heardTones(recorder.since(startFrame), QTime(7, 59, 50));
        QString described;
        for (const auto& [tone, at] : heard)
            described +=
                QStringLiteral("%1 Hz at %2; ").arg(tone).arg(at.toString(QStringLiteral("HH:mm:ss.zzz")));
        QVERIFY2(heard.size() == tones.size(), qPrintable(described));
        // Measured from the program's start, which is a little later than the recording's mark, and heard a
        // little after it is played: allow half a second of the shifted clock for both.
        const auto withinATick = [](QTime at, QTime minute) {
            return at >= minute.addMSecs(-500) && at <= minute.addMSecs(3000 + 500 * 2);
        };
        for (qsizetype i = 0; i < tones.size(); ++i)
            QVERIFY2(heard[i].first == tones[i] && withinATick(heard[i].second, minutes[i]),
                     qPrintable(described));
    }

    // Values set in the window as a person sets them (the switch, the sound through the file dialog, the
    // hour and the minute), saved through the menu, come back at the next start: that start rings them.
    void savedSettingsComeBackAtTheNextStart()
    {
        // On the accessibility bus too, which tells when the window has the keyboard back after the dialog.
        startClock(QTime(), true);
        const quint64 window = m_clock->window();
        // The focus starts on the alarm's switch; the next stop is Browse.
        m_clock->keys({QStringLiteral("space"), QStringLiteral("Tab"), QStringLiteral("space")});
        const quint64 dialog = findWindow(m_clock->pid(), QStringLiteral("Sound to Play"));
        QVERIFY2(dialog != 0, "the file dialog did not open");
        // The titles as the window manager shows them: each window's own, nothing appended.
        const auto shownTitle = [](quint64 id) {
            return xdotool({QStringLiteral("getwindowname"), QString::number(id)});
        };
        QCOMPARE(shownTitle(dialog), QStringLiteral("Sound to Play"));
        QCOMPARE(shownTitle(window), QStringLiteral("Wobblix Clock"));
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(dialog)});
        m_clock->type(m_alarm);
        // The first Return may only take the name box's completion, as it does for a person.
        for (int presses = 0; presses < 3; ++presses) {
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
            if (QTest::qWaitFor([dialog] { return !isViewable(dialog); }, 300))
                break;
        }
        QTRY_VERIFY(!isViewable(dialog));
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window)});
        // Browse has the focus again: Play, then the hour and the minute. Keys sent before the window has
        // taken the keyboard back from the closed dialog would be lost, as a person's would.
        QTRY_COMPARE(m_clock->accessible({QStringLiteral("focused")}),
                     QStringLiteral("Browse for the alarm sound file"));
        m_clock->keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("8"),
                       QStringLiteral("Tab"), QStringLiteral("2")});
        QVERIFY(m_clock->chooseFromOptions(2)); // Hide, Save
        QTRY_VERIFY(QFile::exists(settingsFile()));
        QSettings saved(settingsFile(), QSettings::IniFormat);
        QTRY_COMPARE(saved.value(QStringLiteral("Main/Minute")).toString(), QStringLiteral("2"));
        QCOMPARE(saved.value(QStringLiteral("Main/File")).toString(), m_alarm);
        QCOMPARE(saved.value(QStringLiteral("Main/Hour")).toString(), QStringLiteral("8"));
        QCOMPARE(saved.value(QStringLiteral("Main/AlarmON")).toString(), QStringLiteral("1"));
        QCOMPARE(saved.value(QStringLiteral("Main/ChimesON")).toString(), QStringLiteral("0"));
        endClock();

        SinkRecorder recorder(qEnvironmentVariable("WOBBLIX_SINK"));
        QVERIFY(recorder.start());
        const qint64 startFrame = recorder.frames();
        startClock(QTime(8, 1, 55));
        QVERIFY(recorder.recordFor(15 * 1000 / Speed));
        const QList<std::pair<double, QTime>> heard = heardTones(recorder.since(startFrame), QTime(8, 1, 55));
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard[0].first, AlarmHz);
        QVERIFY(heard[0].second >= QTime(8, 1, 59, 500));
    }

    // Options > Hide puts the running program into the tray; a double-click on its icon brings it back with
    // the keyboard focus. With no sound asked for, the program never loads the audio libraries.
    void hidesIntoTheTrayAndComesBack()
    {
        startClock();
        const quint64 window = m_clock->window();
        QVERIFY2(!audioLibrariesLoaded(m_clock->pid()), "the audio libraries are loaded at start");
        QVERIFY(m_clock->chooseFromOptions(1)); // Hide
        QTRY_VERIFY(!isViewable(window));
        QTRY_COMPARE(iconsInTray(m_clock->pid()).size(), 1);
        clickAt(iconsInTray(m_clock->pid()).first().center(), 1, 2);
        QTRY_VERIFY(isViewable(window));
        QTRY_VERIFY(iconsInTray(m_clock->pid()).isEmpty());
        QTRY_COMPARE(focusedWindow(), window);
        QVERIFY2(!m_clock->ended(0), m_clock->state());
        QVERIFY(!audioLibrariesLoaded(m_clock->pid()));
    }
};

QTEST_GUILESS_MAIN(TestClockEndToEnd)
#include "tst_clock_end_to_end.moc"

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound playback heard at a real sound server: the test session's PulseAudio null sink, recorded from its
// monitor. Every sound is asked for the way the window asks, through the Play buttons of a MainForm with
// the real SoundPlayer (and fakes for the rest), and the window is never shown.

#include "main_window/MainForm.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "platform/playback/qt/audio/SoundPlayer.h"
#include "sound/SinkRecorder.h"
#include "sound/SoundFiles.h"
#include "sound/ToneAnalysis.h"
#include "support/FakePlatform.h"

#include <QtTest>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>

#include <memory>
#include <optional>

using namespace wobblix;
using test::pactl;

namespace {

// How far what is heard may be from what the file holds, in ms: the recording's 20 ms windows at each
// end, and the sound server's timing.
constexpr int LengthToleranceMs = 50;
// The longest time from a request to the sound in the recording (the recorder's own latency included).
constexpr int OnsetLimitMs = 250;

// Empty when `samples` hold `tone` alone, heard once, `lengthMs` long, at the file's amplitude (0.5), within
// OnsetLimitMs of the recording's start; otherwise what was heard.
QString checkTone(const std::vector<float>& samples, double tone, int lengthMs)
{
    const QList<test::ToneRun> heard =
        test::heardRuns(test::toneRuns(samples, test::SinkRecorder::Rate, {tone}));
    const double amplitude =
        heard.size() == 1 ? test::toneAmplitude(samples, test::SinkRecorder::Rate, heard[0]) : 0;
    if (heard.size() == 1 && heard[0].frequency == tone &&
        qAbs(heard[0].lengthMs - lengthMs) <= LengthToleranceMs && heard[0].startMs <= OnsetLimitMs &&
        amplitude > 0.4 && amplitude < 0.6)
        return {};
    return QStringLiteral("expected %1 Hz for %2 ms, heard %3 (about %4 Hz), amplitude %5")
        .arg(tone)
        .arg(lengthMs)
        .arg(test::describe(heard))
        .arg(test::roughFrequency(samples, test::SinkRecorder::Rate))
        .arg(amplitude);
}

} // namespace

class TestSoundPlayback : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    test::FakePlatform m_fakes;
    platform::SoundPlayer m_player;
    std::unique_ptr<MainForm> m_form;
    platform::qt::TextBoxWidget* m_txtSound = nullptr;
    QPushButton* m_cmdPlay = nullptr;
    test::SinkRecorder m_recorder{qEnvironmentVariable("WOBBLIX_SINK")};

    // The file of a tone: `seconds` long, 16-bit mono at 22.05 kHz.
    QString toneFile(const QString& name, double tone, double seconds)
    {
        const QString path = m_folder.filePath(name);
        const bool written = test::writeToneFile(
            path, {name, {QStringLiteral("-b"), QStringLiteral("16")}, 22050, {tone}}, seconds);
        return written ? path : QString();
    }

    // Asks for the sound as the window does: the name in the field, then Play.
    void play(const QString& name, QPushButton* button = nullptr,
              platform::qt::TextBoxWidget* field = nullptr)
    {
        (field ? field : m_txtSound)->setText(name);
        (button ? button : m_cmdPlay)->click();
    }

    // What was heard from a request until the sound's stream closed, and 150 ms more: empty when the
    // sound did not end in time.
    std::optional<test::Recording> playToEnd(const QString& name, QPushButton* button = nullptr,
                                             platform::qt::TextBoxWidget* field = nullptr)
    {
        QSignalSpy finished(&m_player, &platform::SoundPlayer::finished);
        const qint64 mark = m_recorder.frames();
        play(name, button, field);
        if (!finished.wait(10000) || !m_recorder.recordFor(150))
            return std::nullopt;
        return m_recorder.since(mark);
    }

    // Empty when no window and no message box has been shown; otherwise what was.
    QString checkNothingShown() const
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                return QStringLiteral("shown: %1 \"%2\"")
                    .arg(window->metaObject()->className(), window->windowTitle());
        if (!m_fakes.messageBox.shown.isEmpty())
            return QStringLiteral("message: ") + m_fakes.messageBox.shown.first().prompt;
        return {};
    }

    // The sinks that the playback streams of this process play to, by name (the session's own stream of
    // zeros and the recorders belong to other processes).
    QStringList ourStreamSinks() const
    {
        const auto list = [](const char* what) {
            return QJsonDocument::fromJson(
                       pactl({QStringLiteral("--format=json"), QStringLiteral("list"), QLatin1String(what)})
                           .value_or(QByteArray()))
                .array();
        };
        QMap<int, QString> sinkNames;
        for (const QJsonValue& sink : list("sinks"))
            sinkNames.insert(sink[QLatin1String("index")].toInt(), sink[QLatin1String("name")].toString());
        QStringList sinks;
        for (const QJsonValue& input : list("sink-inputs")) {
            const QString pid =
                input[QLatin1String("properties")][QLatin1String("application.process.id")].toString();
            if (pid == QString::number(QCoreApplication::applicationPid()))
                sinks.append(sinkNames.value(input[QLatin1String("sink")].toInt()));
        }
        return sinks;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("WOBBLIX_SINK"), "run inside tests/session/desktop-session.sh");
        QVERIFY(m_folder.isValid());
        QVERIFY2(test::writeDamageTone(m_folder.path()), "sox could not write the test tone");
        // The user's own data folder, for a theme sound of the user's.
        qputenv("XDG_DATA_HOME", m_folder.filePath(QStringLiteral("data")).toUtf8());

        const platform::Platform platform{m_fakes.clock,      m_fakes.messageBox, m_player,
                                          m_fakes.fileDialog, m_fakes.notifyArea, m_fakes.settings,
                                          m_fakes.application};
        m_form = std::make_unique<MainForm>(platform);
        m_txtSound =
            platform::qt::window(*m_form).findChild<platform::qt::TextBoxWidget*>(QStringLiteral("txtSound"));
        m_cmdPlay = platform::qt::window(*m_form).findChild<QPushButton*>(QStringLiteral("cmdPlay"));
        QVERIFY(m_txtSound && m_cmdPlay);
        QVERIFY2(m_recorder.start(), "parec does not record the session's sink");
    }

    // Every encoding, mono and stereo, 8 to 96 kHz: each file's own tones, on their own channels (a mono
    // file on both), at the file's length and level.
    void playsEachFormat_data()
    {
        QTest::addColumn<test::ToneFormat>("format");
        for (const test::ToneFormat& format : test::toneFormats())
            QTest::newRow(qPrintable(format.name)) << format;
    }
    void playsEachFormat()
    {
        QFETCH(test::ToneFormat, format);
        const QString path = m_folder.filePath(QStringLiteral("format.wav"));
        QVERIFY2(test::writeToneFile(path, format, 0.3), "sox cannot write this encoding");

        const auto heard = playToEnd(path);
        QVERIFY2(heard, "the sound did not end");
        const double left = format.tones.first();
        const double right = format.tones.last();
        const QString leftHeard = checkTone(heard->left, left, 300);
        QVERIFY2(leftHeard.isEmpty(), qPrintable(QStringLiteral("left: ") + leftHeard));
        const QString rightHeard = checkTone(heard->right, right, 300);
        QVERIFY2(rightHeard.isEmpty(), qPrintable(QStringLiteral("right: ") + rightHeard));
        const QString shown = checkNothingShown();
        QVERIFY2(shown.isEmpty(), qPrintable(shown));
    }

    // Any path the user can choose, from either Play button.
    void playsAnyPath_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("chimes");
        QTest::newRow("spaces and non-ASCII") << QStringLiteral("Réveil du matin – 目覚まし ⏰.wav") << false;
        QTest::newRow("quotes and signs") << QStringLiteral("it's \"loud\" #1 & 100% (final).wav") << false;
        QTest::newRow("chimes: spaces and non-ASCII") << QStringLiteral("Glocken Übung.wav") << true;
        QString deep;
        for (int i = 0; i < 14; ++i)
            deep += QString(200, QLatin1Char('a' + i)) + QLatin1Char('/');
        QTest::newRow("3000 characters") << deep + QStringLiteral("tone.wav") << false;
    }
    void playsAnyPath()
    {
        QFETCH(QString, relativePath);
        QFETCH(bool, chimes);
        const QString path = m_folder.filePath(relativePath);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::copy(m_folder.filePath(QStringLiteral("tone.wav")), path));

        const auto heard =
            chimes ? playToEnd(path,
                               platform::qt::window(*m_form).findChild<QPushButton*>(
                                   QStringLiteral("cmdChimesPlay")),
                               platform::qt::window(*m_form).findChild<platform::qt::TextBoxWidget*>(
                                   QStringLiteral("txtChimesSoundFile")))
                   : playToEnd(path);
        QVERIFY2(heard, "the sound did not end");
        const QString result = checkTone(heard->left, test::DamageToneHz, test::DamageToneMs);
        QVERIFY2(result.isEmpty(), qPrintable(result));
    }

    // Names of the freedesktop sound theme: the system's sounds, and one of the user's own.
    void playsThemeSounds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("alarm-clock-elapsed") << QStringLiteral("alarm-clock-elapsed");
        QTest::newRow("bell") << QStringLiteral("bell");
    }
    void playsThemeSounds()
    {
        QFETCH(QString, name);
        const auto heard = playToEnd(name);
        QVERIFY2(heard, "the sound did not end");
        const float peak = test::peakLevel(heard->left);
        QVERIFY2(peak > 0.05f, qPrintable(QStringLiteral("peak %1").arg(peak)));
    }
    void playsTheUsersThemeSound()
    {
        const QString folder = m_folder.filePath(QStringLiteral("data/sounds/freedesktop/stereo"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(m_folder.filePath(QStringLiteral("tone.wav")),
                            folder + QStringLiteral("/wobblix-tone.wav")));
        const auto heard = playToEnd(QStringLiteral("wobblix-tone"));
        QVERIFY2(heard, "the sound did not end");
        const QString result = checkTone(heard->left, test::DamageToneHz, test::DamageToneMs);
        QVERIFY2(result.isEmpty(), qPrintable(result));
    }

    // A name that plays nothing: silence, at once, with nothing shown and no stream opened.
    void silentForWhatIsNoSound_data()
    {
        QTest::addColumn<QString>("name");
        for (const test::SilentInput& input : test::silentInputs())
            QTest::newRow(qPrintable(input.name)) << input.make(m_folder.path());
    }
    void silentForWhatIsNoSound()
    {
        QFETCH(QString, name);
        const qint64 mark = m_recorder.frames();
        QElapsedTimer clock;
        clock.start();
        play(name);
        QVERIFY2(clock.elapsed() < 200,
                 qPrintable(QStringLiteral("the request took %1 ms").arg(clock.elapsed())));
        QVERIFY(m_recorder.recordFor(400));
        QCOMPARE(ourStreamSinks(), QStringList()); // nothing reached the sound server
        QCOMPARE(test::peakLevel(m_recorder.since(mark).left), 0.0f);
        const QString shown = checkNothingShown();
        QVERIFY2(shown.isEmpty(), qPrintable(shown));
    }
    void silentForAnUnreadableFile()
    {
        const QString path = test::writeUnreadableTone(m_folder.path());
        const qint64 mark = m_recorder.frames();
        {
            test::FileAccessAsNobody nobody;
            play(path);
        }
        QVERIFY(m_recorder.recordFor(400));
        QCOMPARE(ourStreamSinks(), QStringList());
        QCOMPARE(test::peakLevel(m_recorder.since(mark).left), 0.0f);
        QVERIFY(checkNothingShown().isEmpty());
    }

    // A header that claims more than the file holds: what the file holds plays, and the sound ends.
    void playsWhatDamagedFilesHold_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("heardMs");
        for (const test::DamagedInput& input : test::damagedInputs())
            QTest::newRow(qPrintable(input.name)) << input.make(m_folder.path()) << input.heardMs;
    }
    void playsWhatDamagedFilesHold()
    {
        QFETCH(QString, path);
        QFETCH(int, heardMs);
        const auto heard = playToEnd(path);
        QVERIFY2(heard, "the sound did not end");
        const QString result = checkTone(heard->left, test::DamageToneHz, heardMs);
        QVERIFY2(result.isEmpty(), qPrintable(result));
    }

    // A second request 300 ms into a long sound: the first stops there, the second plays from its start
    // (its first 150 ms are a tone of their own) to its end. A request that names nothing stops it too.
    void newRequestCutsOffTheSoundPlaying_data()
    {
        QTest::addColumn<bool>("secondPlays");
        QTest::newRow("a sound") << true;
        QTest::newRow("a name that plays nothing") << false;
    }
    void newRequestCutsOffTheSoundPlaying()
    {
        QFETCH(bool, secondPlays);
        const QString first = toneFile(QStringLiteral("long.wav"), 500, 3);
        const QString second = m_folder.filePath(QStringLiteral("second.wav"));
        QVERIFY(!first.isEmpty() && test::writeToneSequence(second, 44100, {{900, 0.15}, {1300, 0.35}}));

        const qint64 mark = m_recorder.frames();
        QElapsedTimer clock;
        clock.start();
        play(first);
        qint64 secondAtMs = 0;
        QTimer::singleShot(300, this, [&] {
            secondAtMs = clock.elapsed();
            play(secondPlays ? second : QStringLiteral("wobblix-no-such-sound"));
        });
        QTRY_VERIFY(secondAtMs > 0);
        if (secondPlays)
            QVERIFY(QSignalSpy(&m_player, &platform::SoundPlayer::finished).wait(5000));
        QVERIFY(!secondPlays || ourStreamSinks().isEmpty());
        QVERIFY(m_recorder.recordFor(secondPlays ? 150 : 600));

        const auto runs = test::heardRuns(
            test::toneRuns(m_recorder.since(mark).left, test::SinkRecorder::Rate, {500, 900, 1300}));
        const QString heard =
            test::describe(runs) + QStringLiteral("; second request at %1 ms").arg(secondAtMs);
        QVERIFY2(runs.size() == (secondPlays ? 3 : 1), qPrintable(heard));
        QVERIFY2(runs[0].frequency == 500 && qAbs(runs[0].lengthMs - secondAtMs) <= LengthToleranceMs,
                 qPrintable(heard));
        if (secondPlays) {
            QVERIFY2(runs[1].frequency == 900 && qAbs(runs[1].lengthMs - 150) <= LengthToleranceMs,
                     qPrintable(heard));
            QVERIFY2(runs[2].frequency == 1300 && qAbs(runs[2].lengthMs - 350) <= LengthToleranceMs,
                     qPrintable(heard));
            // No gap to speak of between the two.
            QVERIFY2(runs[1].startMs - (runs[0].startMs + runs[0].lengthMs) <= 60, qPrintable(heard));
        }
    }

    // The request returns at once and the sound starts as soon for a ten-minute file as for a short one.
    void longSoundStartsAsFastAsShort_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::newRow("one second") << 1.0;
        QTest::newRow("ten minutes") << 600.0;
    }
    void longSoundStartsAsFastAsShort()
    {
        QFETCH(double, seconds);
        const QString path = toneFile(QStringLiteral("long-%1.wav").arg(seconds), 1200, seconds);
        QVERIFY(!path.isEmpty());
        const qint64 mark = m_recorder.frames();
        QElapsedTimer clock;
        clock.start();
        play(path);
        const qint64 requestMs = clock.elapsed();
        QVERIFY(m_recorder.recordFor(500));
        play(QString(QLatin1Char(' '))); // ends it
        const auto runs =
            test::heardRuns(test::toneRuns(m_recorder.since(mark).left, test::SinkRecorder::Rate, {1200}));
        QVERIFY2(requestMs < 50, qPrintable(QStringLiteral("the request took %1 ms").arg(requestMs)));
        QVERIFY2(!runs.isEmpty() && runs[0].frequency == 1200 && runs[0].startMs <= OnsetLimitMs,
                 qPrintable(test::describe(runs)));
    }

    // Once a sound has ended, no stream of the program's is left at the sound server.
    void closesItsStreamWhenTheSoundEnds()
    {
        QSignalSpy finished(&m_player, &platform::SoundPlayer::finished);
        play(m_folder.filePath(QStringLiteral("tone.wav")));
        QCOMPARE(ourStreamSinks().size(), 1);
        QVERIFY(finished.wait(5000));
        QCOMPARE(ourStreamSinks(), QStringList());
    }

    // When the default output changes (headphones plugged in), the next sound plays there. (Last: the
    // sound server moves the streams that follow the default, the recorders' included, and back after.)
    void followsTheDefaultOutput()
    {
        const QString original = qEnvironmentVariable("WOBBLIX_SINK");
        const QString headphones = QStringLiteral("wobblix_headphones");
        const QByteArray module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                         QStringLiteral("sink_name=") + headphones,
                                         QStringLiteral("rate=48000"), QStringLiteral("channels=2")})
                                      .value_or(QByteArray())
                                      .trimmed();
        QVERIFY(!module.isEmpty());
        // Its own stream of zeros keeps its monitor's timeline going, as the session does for its sink.
        QProcess zeros;
        zeros.setStandardInputFile(QStringLiteral("/dev/zero"));
        const auto cleanup = qScopeGuard([&] {
            pactl({QStringLiteral("set-default-sink"), original});
            pactl({QStringLiteral("set-default-source"), original + QStringLiteral(".monitor")});
            zeros.kill();
            zeros.waitForFinished();
            pactl({QStringLiteral("unload-module"), QString::fromLatin1(module)});
        });
        zeros.start(QStringLiteral("pacat"),
                    {QStringLiteral("--playback"), QStringLiteral("--device=") + headphones,
                     QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                     QStringLiteral("--rate=48000"), QStringLiteral("--channels=2")});
        test::SinkRecorder headphonesRecorder(headphones);
        QVERIFY(headphonesRecorder.start());
        // A first sound before the change, so that the program's audio back end has seen the old default.
        QVERIFY(playToEnd(m_folder.filePath(QStringLiteral("tone.wav"))));

        QVERIFY(pactl({QStringLiteral("set-default-sink"), headphones}));
        const qint64 mark = headphonesRecorder.frames();
        QSignalSpy finished(&m_player, &platform::SoundPlayer::finished);
        play(m_folder.filePath(QStringLiteral("tone.wav")));
        QCOMPARE(ourStreamSinks(), QStringList{headphones});
        QVERIFY(finished.wait(5000));
        QVERIFY(headphonesRecorder.recordFor(150));
        const QString result =
            checkTone(headphonesRecorder.since(mark).left, test::DamageToneHz, test::DamageToneMs);
        QVERIFY2(result.isEmpty(), qPrintable(result));
    }
};

QTEST_MAIN(TestSoundPlayback)
#include "tst_sound_playback.moc"

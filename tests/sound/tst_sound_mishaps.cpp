// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program through what a sound server does to it on a desktop: not there yet, gone, stalled,
// killed in the middle of a sound, its output removed. Each case runs the program against a sound server
// of the test's own (so that the test may stop, stall and restart it), driven with the keyboard; what is
// heard is recorded from that server's null sink. Whatever happened, the program lives on, and the next
// request once the server is back rings.

#include "sound/SinkRecorder.h"
#include "sound/SoundFiles.h"
#include "sound/ToneAnalysis.h"
#include "support/ClockProgram.h"
#include "support/DesktopDriver.h"

#include <QtTest>

#include <csignal>
#include <memory>

using namespace wobblix::test;

namespace {

constexpr double ToneHz = 880;
const QString Sink = QStringLiteral("mishap_sink");
const QString OtherSink = QStringLiteral("mishap_headphones");

// How many streams play to a sink of the test's server, by the sink's name.
int streamsAt(const QString& sink)
{
    QByteArray index;
    for (const QByteArray& line :
         pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")})
             .value_or(QByteArray())
             .split('\n'))
        if (line.split('\t').value(1) == sink.toUtf8())
            index = line.split('\t').value(0);
    int streams = 0;
    for (const QByteArray& line :
         pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")})
             .value_or(QByteArray())
             .split('\n'))
        streams += !index.isEmpty() && line.split('\t').value(1) == index;
    return streams;
}

// A PulseAudio server of the test's own, at a fixed socket (PULSE_SERVER, for the program and for the
// test's pactl and parec), with a null sink as its default output and a stream of zeros into it (see
// SinkRecorder). Stopping it kills it, as a crash would.
class SoundServer {
public:
    explicit SoundServer(const QString& folder) : m_folder(folder)
    {
        QDir().mkpath(m_folder + QStringLiteral("/runtime"));
        QFile::setPermissions(m_folder + QStringLiteral("/runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PULSE_SERVER", socket().toUtf8());
    }
    ~SoundServer() { stop(); }

    QString socket() const { return QStringLiteral("unix:") + m_folder + QStringLiteral("/native"); }

    bool start()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Its own runtime folder: the session's server keeps its pid file in the session's.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder + QStringLiteral("/runtime"));
        // Off the session bus, where the session's server holds PulseAudio's name.
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        environment.remove(QStringLiteral("DISPLAY"));
        m_server.setProcessEnvironment(environment);
        m_server.setStandardOutputFile(m_folder + QStringLiteral("/pulseaudio.log"), QIODevice::Append);
        m_server.setStandardErrorFile(m_folder + QStringLiteral("/pulseaudio.log"), QIODevice::Append);
        m_server.start(
            QStringLiteral("pulseaudio"),
            {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-n"),
             QStringLiteral("--disable-shm=yes"), QStringLiteral("--use-pid-file=no"),
             QStringLiteral("--load=module-native-protocol-unix socket=%1/native auth-anonymous=1")
                 .arg(m_folder),
             QStringLiteral("--load=module-null-sink sink_name=%1 rate=48000 channels=2").arg(Sink)});
        if (!m_server.waitForStarted())
            return false;
        const QDeadlineTimer deadline(10000);
        while (!pactl({QStringLiteral("info")})) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(50);
        }
        m_zeros.setStandardInputFile(QStringLiteral("/dev/zero"));
        m_zeros.start(QStringLiteral("pacat"),
                      {QStringLiteral("--playback"), QStringLiteral("--device=") + Sink,
                       QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                       QStringLiteral("--rate=48000"), QStringLiteral("--channels=2")});
        m_recorder = std::make_unique<SinkRecorder>(Sink);
        return pactl({QStringLiteral("set-default-sink"), Sink}) && m_recorder->start();
    }

    void stop()
    {
        m_recorder.reset();
        for (QProcess* process : {&m_zeros, &m_server}) {
            process->kill();
            process->waitForFinished();
        }
    }

    void signal(int number) const { ::kill(static_cast<pid_t>(m_server.processId()), number); }

    // Whether process `pid` holds a connection to the server: the other end of a socket that the server
    // accepted on its own is one of the process's (ss lists each unix socket with its peer and owner:
    // state, queues, local name and inode, peer name and inode, owner). Readable while the server is
    // stopped, from the kernel's side.
    bool hasClient(qint64 pid) const
    {
        const QString own = m_folder + QStringLiteral("/native");
        const QString owner = QStringLiteral("pid=%1,").arg(pid);
        QList<QStringList> sockets;
        for (const QString& line : run(QStringLiteral("ss"), {QStringLiteral("-xpn")}).split(u'\n'))
            sockets.append(line.simplified().split(u' '));
        QStringList accepted; // the client ends' inodes
        for (const QStringList& socket : std::as_const(sockets))
            if (socket.size() >= 8 && socket[4] == own)
                accepted.append(socket[7]);
        for (const QStringList& socket : std::as_const(sockets))
            if (socket.size() >= 9 && accepted.contains(socket[5]) && socket[8].contains(owner))
                return true;
        return false;
    }

    SinkRecorder& recorder() { return *m_recorder; }
    // What the server wrote, for a failure message.
    QByteArray log() const
    {
        QFile file(m_folder + QStringLiteral("/pulseaudio.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().right(1500) : QByteArray("no log");
    }

private:
    QString m_folder;
    QProcess m_server;
    QProcess m_zeros;
    std::unique_ptr<SinkRecorder> m_recorder;
};

enum class Mishap { ServerDown, NoServerAtFirst, Stalled, KilledMidSound, OutputRemovedMidSound };

} // namespace

Q_DECLARE_METATYPE(Mishap)

class TestSoundMishaps : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_tone; // two seconds of ToneHz

    // Whether the tone is heard at the sink from `mark` on, within `timeoutMs`.
    static bool toneHeard(SinkRecorder& recorder, qint64 mark, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            recorder.recordFor(100);
            const QList<ToneRun> runs =
                heardRuns(toneRuns(recorder.since(mark).left, SinkRecorder::Rate, {ToneHz}));
            if (!runs.isEmpty() && runs.first().lengthMs >= 200)
                return true;
        }
        return false;
    }

    // Presses Play (it has the keyboard focus): whether its sound is heard within three seconds.
    static bool playIsHeard(ClockProgram& clock, SoundServer& server)
    {
        const qint64 mark = server.recorder().frames();
        clock.keys({QStringLiteral("space")});
        return toneHeard(server.recorder(), mark, 3000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("WOBBLIX_SINK"), "run inside tests/session/desktop-session.sh");
        QVERIFY(m_folder.isValid());
        m_tone = m_folder.filePath(QStringLiteral("tone.wav"));
        QVERIFY(writeToneSequence(m_tone, 44100, {{ToneHz, 2}}));
    }

    void ringsAfterEachMishap_data()
    {
        QTest::addColumn<Mishap>("mishap");
        QTest::newRow("server stopped before a request") << Mishap::ServerDown;
        QTest::newRow("no server at the first request") << Mishap::NoServerAtFirst;
        QTest::newRow("server stalled") << Mishap::Stalled;
        QTest::newRow("server killed mid-sound") << Mishap::KilledMidSound;
        QTest::newRow("default output removed mid-sound") << Mishap::OutputRemovedMidSound;
    }
    void ringsAfterEachMishap()
    {
        QFETCH(Mishap, mishap);
        const QString config = m_folder.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(config));
        QFile settings(config + QStringLiteral("/Wobblix.conf"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        // The alarm at 8:00, on for the case that lets it fall due.
        settings.write(QStringLiteral("[Main]\nFile=%1\nHour=8\nMinute=0\nAlarmON=%2\n")
                           .arg(m_tone)
                           .arg(mishap == Mishap::Stalled ? 1 : 0)
                           .toUtf8());
        settings.close();

        // A short path without spaces: the server's socket lives there, and its module arguments name it.
        SoundServer server(m_folder.filePath(QStringLiteral("server-%1").arg(int(mishap))));
        if (mishap != Mishap::NoServerAtFirst)
            QVERIFY2(server.start(), server.log());
        ClockProgram clock(config);
        clock.setEnvironment(QStringLiteral("PULSE_SERVER"), server.socket());
        if (mishap == Mishap::Stalled)
            clock.shiftClock(QTime(7, 59, 40), 1);
        QVERIFY2(clock.start(), clock.state());
        // The focus starts on the alarm's switch; Play is two stops on, and keeps the focus when pressed.
        clock.keys({QStringLiteral("Tab"), QStringLiteral("Tab")});

        switch (mishap) {
        case Mishap::ServerDown:
            QVERIFY2(playIsHeard(clock, server), "no sound before the server stopped");
            // Played to its end: only the stream of zeros is left.
            QTRY_VERIFY_WITH_TIMEOUT(streamsAt(Sink) == 1, 5000);
            server.stop();
            clock.keys({QStringLiteral("space")});
            break;
        case Mishap::NoServerAtFirst:
            clock.keys({QStringLiteral("space")});
            break;
        case Mishap::Stalled: {
            QVERIFY2(playIsHeard(clock, server), "no sound before the server stalled");
            server.signal(SIGSTOP);
            const auto resume = qScopeGuard([&] { server.signal(SIGCONT); });
            clock.keys({QStringLiteral("space")});
            // The window answers at once: Hide empties the screen of it within a second.
            QElapsedTimer hiding;
            hiding.start();
            QVERIFY(clock.chooseFromOptions(1));
            QTRY_VERIFY_WITH_TIMEOUT(!isViewable(clock.window()), 1000);
            qInfo("Hide took %lld ms with the sound server stalled", hiding.elapsed());
            // Stalled for longer than the program waits for a server: the sound still waiting is given up,
            // and its connection with it.
            QVERIFY(server.hasClient(clock.pid()));
            QTRY_VERIFY_WITH_TIMEOUT(!server.hasClient(clock.pid()), 10000);
            break;
        }
        case Mishap::KilledMidSound:
            QVERIFY2(playIsHeard(clock, server), "no sound before the server was killed");
            server.stop();
            break;
        case Mishap::OutputRemovedMidSound: {
            const QByteArray module =
                pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                       QStringLiteral("sink_name=") + OtherSink})
                    .value_or(QByteArray())
                    .trimmed();
            QVERIFY(!module.isEmpty());
            QVERIFY(pactl({QStringLiteral("set-default-sink"), OtherSink}));
            clock.keys({QStringLiteral("space")});
            // Playing there, then unplugged.
            QTRY_VERIFY(streamsAt(OtherSink) == 1);
            QVERIFY(pactl({QStringLiteral("unload-module"), QString::fromLatin1(module)}));
            break;
        }
        }

        // A clock that the mishap ended would do so at once: half a second to see that it does not.
        QVERIFY2(!clock.ended(500), clock.state());
        if (mishap == Mishap::Stalled) {
            // Hidden, the clock rings its alarm at 8:00, 20 s after it started.
            QVERIFY2(toneHeard(server.recorder(), server.recorder().frames(), 30000),
                     "the alarm did not ring after the stall");
        } else {
            if (mishap != Mishap::OutputRemovedMidSound)
                QVERIFY2(server.start(), server.log());
            QVERIFY2(playIsHeard(clock, server), "no sound at the request after the mishap");
        }
        QVERIFY2(!clock.ended(0), clock.state());
    }
};

QTEST_GUILESS_MAIN(TestSoundMishaps)
#include "tst_sound_mishaps.moc"

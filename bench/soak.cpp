// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The sounds a program plays, as heard at the session's sink, and the memory it keeps.
//
//   wobblix-bench-soak count FILE
//       FILE is a raw recording (s16le, mono, 48 kHz, from parec). Prints the number of sounds and each
//       one's start, tone and length.
//   wobblix-bench-soak soak --faketime LIB --clock-pair LIB --start "YYYY-MM-DD HH:MM:SS" --speed N
//                      --hours H --chime-hz F --alarm-hz F --alarm HH:MM --tick-ms MS -- PROGRAM [ARGS...]
//       Runs PROGRAM with libfaketime from the start time at N times the real speed, for H hours of its
//       clock, while recording the sink (WOBBLIX_SINK). Each sound heard is placed on the program's clock
//       (libfaketime's start is read back through the clock-pair library) and told apart by its tone.
//       Checks that each hour chimed once and the alarm rang once, each in its minute and no later than
//       one tick (plus 50 ms of playback latency, sped up) after the minute began, and that memory at the
//       end (RSS, and the anonymous pages) is within 1 MiB of memory after the first sound.
//       Exit status 1 when a check fails.
// Lines that begin with "value" carry one figure each, for bench/run.

#include "SoundOnsets.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <vector>

using namespace wobblix::bench;

namespace {

double realNow()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// Resident and proportional set size, and the anonymous pages (heap and the like). PSS, and which pages
// count as private, move when other processes map or unmap the same libraries; anonymous pages do not.
struct Memory {
    long rssKb = -1;
    long pssKb = -1;
    long anonymousKb = -1;
};

Memory memoryOf(qint64 pid)
{
    Memory memory;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray& line : rollup.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == "Rss:")
            memory.rssKb = fields[1].toLong();
        else if (fields.size() >= 2 && fields[0] == "Pss:")
            memory.pssKb = fields[1].toLong();
        else if (fields.size() >= 2 && fields[0] == "Anonymous:")
            memory.anonymousKb = fields[1].toLong();
    }
    return memory;
}

int count(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "wobblix-bench-soak: cannot read %s\n", qPrintable(path));
        return 2;
    }
    const QByteArray data = file.readAll();
    SoundOnsets onsets;
    onsets.feed(reinterpret_cast<const qint16*>(data.constData()), data.size() / 2);
    onsets.finish();
    const QList<Onset> heard = onsets.takeEnded();
    std::printf("value sounds %lld\n", static_cast<long long>(heard.size()));
    for (const Onset& onset : heard)
        std::printf("sound at %.3f s: %.0f Hz, %.0f ms\n", onset.frame / double(SoundOnsets::Rate),
                    onset.frequency, onset.lengthMs);
    return 0;
}

struct Options {
    QString faketime;
    QString clockPair;
    QDateTime start;
    double speed = 100;
    double hours = 24;
    double chimeHz = 440;
    double alarmHz = 880;
    QTime alarm;
    double tickMs = 3000;
    QStringList program;
};

std::optional<Options> parse(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (name == QStringLiteral("--")) {
            options.program = arguments.mid(i + 1);
            break;
        }
        if (i + 1 >= arguments.size())
            return std::nullopt;
        const QString value = arguments[++i];
        if (name == QStringLiteral("--faketime"))
            options.faketime = value;
        else if (name == QStringLiteral("--clock-pair"))
            options.clockPair = value;
        else if (name == QStringLiteral("--start"))
            options.start = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else if (name == QStringLiteral("--speed"))
            options.speed = value.toDouble();
        else if (name == QStringLiteral("--hours"))
            options.hours = value.toDouble();
        else if (name == QStringLiteral("--chime-hz"))
            options.chimeHz = value.toDouble();
        else if (name == QStringLiteral("--alarm-hz"))
            options.alarmHz = value.toDouble();
        else if (name == QStringLiteral("--alarm"))
            options.alarm = QTime::fromString(value, QStringLiteral("H:mm"));
        else if (name == QStringLiteral("--tick-ms"))
            options.tickMs = value.toDouble();
        else
            return std::nullopt;
    }
    if (options.faketime.isEmpty() || options.clockPair.isEmpty() || !options.start.isValid() ||
        !options.alarm.isValid() || options.program.isEmpty() || options.speed <= 0)
        return std::nullopt;
    return options;
}

// A sound heard, placed on the program's clock.
struct Heard {
    Onset onset;
    double real = 0; // when its first sample reached the sink, seconds since the epoch
    double fake = 0; // the same moment on the program's clock
};

class Soak : public QObject {
public:
    explicit Soak(Options options) : m_options(std::move(options)) {}

    bool start()
    {
        if (!m_files.isValid())
            return false;
        const QString sink = qEnvironmentVariable("WOBBLIX_SINK");
        if (sink.isEmpty()) {
            std::fprintf(stderr, "wobblix-bench-soak: run it inside tests/session/desktop-session.sh\n");
            return false;
        }
        connect(m_parec, &QProcess::readyReadStandardOutput, this, &Soak::readRecorded);
        m_parec->start(QStringLiteral("parec"),
                       {QStringLiteral("--device=%1.monitor").arg(sink), QStringLiteral("--latency-msec=20"),
                        QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                        QStringLiteral("--rate=%1").arg(SoundOnsets::Rate), QStringLiteral("--channels=1")});
        if (!m_parec->waitForStarted(5000))
            return false;
        // parec takes a while to connect: the program starts once the recording flows.
        connect(m_check, &QTimer::timeout, this, &Soak::check);
        m_check->start(50);
        return true;
    }

    int status() const { return m_status; }

private:
    double fakeAt(double real) const { return m_pairFake + (real - m_pairReal) * m_options.speed; }

    // When frame `frame` of the recording reached the sink. Each read's arrival bounds the moment of its
    // frames from above; the lowest bound within 20 s of the frame is the tightest.
    double realOfFrame(qint64 frame) const
    {
        const double around = frame / double(SoundOnsets::Rate);
        double best = 1e300;
        for (const auto& [seconds, origin] : m_arrivals)
            if (std::abs(seconds - around) < 20)
                best = std::min(best, origin);
        return best + frame / double(SoundOnsets::Rate);
    }

    void readRecorded()
    {
        const double arrived = realNow();
        m_partial += m_parec->readAllStandardOutput();
        const qsizetype whole = m_partial.size() / 2;
        m_onsets.feed(reinterpret_cast<const qint16*>(m_partial.constData()), whole);
        m_partial.remove(0, whole * 2);
        const double seconds = m_onsets.frames() / double(SoundOnsets::Rate);
        m_arrivals.emplace_back(seconds, arrived - seconds);
        for (const Onset& onset : m_onsets.takeEnded())
            m_pending.append(onset);
    }

    void check()
    {
        const double now = realNow();
        if (m_program->state() == QProcess::NotRunning && m_programPid == 0) {
            if (m_onsets.frames() < SoundOnsets::Rate / 2)
                return; // half a second recorded: the recording flows
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("LD_PRELOAD"), m_options.faketime + u':' + m_options.clockPair);
            environment.insert(QStringLiteral("FAKETIME"),
                               u'@' + m_options.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                                   QStringLiteral(" x") + QString::number(m_options.speed));
            environment.insert(QStringLiteral("WOBBLIX_BENCH_CLOCK_PAIR"),
                               m_files.filePath(QStringLiteral("pair")));
            m_program->setProcessEnvironment(environment);
            m_program->setProcessChannelMode(QProcess::ForwardedChannels);
            m_program->start(m_options.program.first(), m_options.program.mid(1));
            if (!m_program->waitForStarted(5000)) {
                fail("the program does not start");
                return;
            }
            m_programPid = m_program->processId();
            return;
        }
        if (m_program->state() != QProcess::Running) {
            fail("the program ended before its day was over");
            return;
        }
        if (m_pairReal == 0) {
            QFile pair(m_files.filePath(QStringLiteral("pair")));
            if (!pair.open(QIODevice::ReadOnly))
                return;
            const QList<QByteArray> fields = pair.readAll().simplified().split(' ');
            if (fields.size() != 2)
                return;
            m_pairReal = fields[0].toDouble();
            m_pairFake = fields[1].toDouble();
            m_end = static_cast<double>(m_options.start.toSecsSinceEpoch()) + m_options.hours * 3600;
            std::printf("program clock read at its start: %s\n",
                        qPrintable(QDateTime::fromMSecsSinceEpoch(qint64(m_pairFake * 1000))
                                       .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))));
        }
        for (const Onset& onset : std::exchange(m_pending, {})) {
            Heard heard{onset, realOfFrame(onset.frame), 0};
            heard.fake = fakeAt(heard.real);
            m_heard.push_back(heard);
            report(heard);
        }
        if (!m_heard.empty() && m_afterFirst.rssKb < 0 && now > m_heard.front().real + 1.5)
            m_afterFirst = memoryOf(m_programPid);
        if (now - m_lastSample >= 60) {
            m_lastSample = now;
            m_trend.push_back(memoryOf(m_programPid));
        }
        if (fakeAt(now) >= m_end)
            finish();
    }

    void report(const Heard& heard) const
    {
        std::printf("heard %s  %5.0f Hz %4.0f ms\n",
                    qPrintable(QDateTime::fromMSecsSinceEpoch(qint64(heard.fake * 1000))
                                   .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))),
                    heard.onset.frequency, heard.onset.lengthMs);
        std::fflush(stdout);
    }

    void fail(const char* why)
    {
        std::fprintf(stderr, "wobblix-bench-soak: %s\n", why);
        stopAll();
        m_status = 1;
        QCoreApplication::exit(1);
    }

    void stopAll()
    {
        m_check->stop();
        if (m_program->state() != QProcess::NotRunning) {
            m_program->terminate();
            m_program->waitForFinished(5000);
        }
        if (m_parec->state() != QProcess::NotRunning) {
            kill(static_cast<pid_t>(m_parec->processId()), SIGINT);
            m_parec->waitForFinished(5000);
        }
    }

    void finish()
    {
        const Memory end = memoryOf(m_programPid);
        stopAll();
        readRecorded();
        m_onsets.finish();
        for (const Onset& onset : m_onsets.takeEnded())
            m_pending.append(onset);
        for (const Onset& onset : std::exchange(m_pending, {})) {
            Heard heard{onset, realOfFrame(onset.frame), 0};
            heard.fake = fakeAt(heard.real);
            m_heard.push_back(heard);
            report(heard);
        }

        // How exactly the recording is placed in real time. The sound server renders the sink's audio in
        // blocks, each a little ahead of time, and parec delivers them in reads: a read's arrival bounds its
        // frames' moment from above, and the spread of those bounds (the 95th percentile above the lowest)
        // is how far a sound may seem earlier than it was rendered.
        std::vector<double> bounds;
        for (const auto& [seconds, origin] : m_arrivals)
            if (seconds > 2)
                bounds.push_back(origin);
        std::sort(bounds.begin(), bounds.end());
        const double spread = bounds.empty() ? 0 : bounds[bounds.size() * 95 / 100] - bounds.front();
        std::printf("value recording_placement_spread_ms %.1f\n", spread * 1000);

        // Which sound is which, and how far into its minute it came: no later than one tick plus 50 ms of
        // playback latency, no earlier than the placement's spread allows.
        const double allowance = m_options.tickMs / 1000 + 0.050 * m_options.speed;
        const double earlyAllowance = -spread * m_options.speed;
        int chimes = 0;
        int alarms = 0;
        int others = 0;
        int misplaced = 0;
        std::map<qint64, int> chimesInHour; // hours since the epoch
        double latest = 0;
        double earliest = 1e9;
        for (const Heard& heard : m_heard) {
            // Seconds from the start of the minute the sound belongs to (the nearest minute start before
            // it, or just after it within the placement's spread).
            const double minuteStart = std::floor((heard.fake - earlyAllowance) / 60) * 60;
            const double intoMinute = heard.fake - minuteStart;
            const QTime minute = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(minuteStart)).time();
            latest = std::max(latest, intoMinute);
            earliest = std::min(earliest, intoMinute);
            const bool inTime = intoMinute >= earlyAllowance && intoMinute <= allowance;
            const auto isTone = [&heard](double hz) {
                return std::abs(heard.onset.frequency - hz) < hz * 0.05;
            };
            if (isTone(m_options.chimeHz)) {
                ++chimes;
                ++chimesInHour[static_cast<qint64>(minuteStart) / 3600];
                if (minute.minute() != 0 || !inTime)
                    ++misplaced;
            } else if (isTone(m_options.alarmHz)) {
                ++alarms;
                if (minute.hour() != m_options.alarm.hour() || minute.minute() != m_options.alarm.minute() ||
                    !inTime)
                    ++misplaced;
            } else {
                ++others;
            }
        }
        const int expectedChimes = static_cast<int>(m_options.hours);
        bool ok = chimes == expectedChimes && alarms == 1 && others == 0 && misplaced == 0;
        for (const auto& [hour, n] : chimesInHour)
            ok = ok && n == 1;

        std::printf("value chimes %d\nvalue alarms %d\nvalue other_sounds %d\nvalue misplaced %d\n", chimes,
                    alarms, others, misplaced);
        std::printf(
            "value earliest_into_minute_s %.2f\nvalue latest_into_minute_s %.2f\nvalue allowed_s %.2f\n"
            "value allowed_early_s %.2f\n",
            m_heard.empty() ? 0.0 : earliest, latest, allowance, earlyAllowance);
        std::printf("value rss_after_first_kb %ld\nvalue pss_after_first_kb %ld\nvalue "
                    "anonymous_after_first_kb %ld\n",
                    m_afterFirst.rssKb, m_afterFirst.pssKb, m_afterFirst.anonymousKb);
        std::printf("value rss_end_kb %ld\nvalue pss_end_kb %ld\nvalue anonymous_end_kb %ld\n", end.rssKb,
                    end.pssKb, end.anonymousKb);
        std::printf("memory every real minute (RSS/PSS/anonymous kB):");
        for (const Memory& memory : m_trend)
            std::printf(" %ld/%ld/%ld", memory.rssKb, memory.pssKb, memory.anonymousKb);
        std::printf("\n");
        // Judged on the figures that only this process moves: a leak grows both.
        const bool memoryOk = m_afterFirst.rssKb > 0 && std::abs(end.rssKb - m_afterFirst.rssKb) <= 1024 &&
                              std::abs(end.anonymousKb - m_afterFirst.anonymousKb) <= 1024;
        ok = ok && memoryOk;
        std::printf("value soak_passed %d\n", ok ? 1 : 0);
        std::fflush(stdout);
        m_status = ok ? 0 : 1;
        QCoreApplication::exit(m_status);
    }

    Options m_options;
    QTemporaryDir m_files;
    QProcess* m_parec = new QProcess(this);
    QProcess* m_program = new QProcess(this);
    QTimer* m_check = new QTimer(this);
    qint64 m_programPid = 0;
    QByteArray m_partial;
    SoundOnsets m_onsets;
    std::vector<std::pair<double, double>> m_arrivals; // (seconds recorded, real time of frame 0 by it)
    QList<Onset> m_pending;
    std::vector<Heard> m_heard;
    double m_pairReal = 0;
    double m_pairFake = 0;
    double m_end = 0;
    Memory m_afterFirst;
    std::vector<Memory> m_trend;
    double m_lastSample = 0;
    int m_status = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QStringLiteral("count"))
        return count(arguments[1]);
    const std::optional<Options> options =
        arguments.value(0) == QStringLiteral("soak") ? parse(arguments.mid(1)) : std::nullopt;
    if (!options) {
        std::fprintf(stderr, "usage: see the comment at the top of bench/soak.cpp\n");
        return 2;
    }
    Soak soak(*options);
    if (!soak.start())
        return 1;
    app.exec();
    return soak.status();
}

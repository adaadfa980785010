// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures what sound playback costs: the time from a request to its first sample at the sound server's
// sink, how long the request itself takes, and the memory and CPU that playback uses. Run it through
// bench/sound-latency, which builds it, makes the test files and starts the desktop session it needs.
//
//   wobblix-sound-latency SHORT.wav LONG.wav [--onsets-only]
//
// --onsets-only stops after the times to the first sample. Lines that begin with "value" carry each
// request's time, for bench/run.

#include "platform/playback/qt/AudioModule.h"
#include "platform/runtime/qt/QtText.h"
#include "sound/SinkRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace wobblix;

namespace {

// Resident memory of this process, kB.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// CPU time used by this process so far (all threads), ms.
double cpuMs()
{
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The playback streams open at the sound server, the session's stream of zeros included.
int streamsAtServer()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    pactl.waitForFinished();
    return static_cast<int>(pactl.readAllStandardOutput().count('\n'));
}

struct Request {
    double callMs = 0; // how long PlaySound took to return
    double onsetMs =
        -1; // request to first sample in the recording (an upper bound: parec's latency is in it)
};

// Asks for `path` and records for `recordMs`; the first sample louder than -40 dBFS marks the onset.
Request measure(platform::Sound& player, test::SinkRecorder& recorder, const QString& path, int recordMs)
{
    Request request;
    const qint64 mark = recorder.frames();
    QElapsedTimer clock;
    clock.start();
    player.PlaySound(platform::qt::fromQString(path), 0);
    request.callMs = clock.nsecsElapsed() / 1e6;
    recorder.recordFor(recordMs);
    const std::vector<float> left = recorder.since(mark).left;
    const auto loud =
        std::find_if(left.begin(), left.end(), [](float sample) { return std::abs(sample) > 0.01f; });
    if (loud != left.end())
        request.onsetMs = (loud - left.begin()) * 1000.0 / test::SinkRecorder::Rate;
    return request;
}

void report(const char* what, QList<Request> requests)
{
    std::sort(requests.begin(), requests.end(),
              [](const Request& a, const Request& b) { return a.onsetMs < b.onsetMs; });
    double callMax = 0;
    for (const Request& request : requests)
        callMax = std::max(callMax, request.callMs);
    std::printf("%-44s first sample %6.1f ms (median of %lld, min %.1f, max %.1f); request returns in %.2f "
                "ms at most\n",
                what, requests[requests.size() / 2].onsetMs, static_cast<long long>(requests.size()),
                requests.first().onsetMs, requests.last().onsetMs, callMax);
}

// One "value KEY MS" line per request, for bench/run: the time to the first sample, and the time the
// request took on the calling thread (the window's, in the program).
void values(const char* key, const QList<Request>& requests)
{
    for (const Request& request : requests)
        std::printf("value %s %.1f\nvalue %s_call %.3f\n", key, request.onsetMs, key, request.callMs);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bool onsetsOnly = argc == 4 && qstrcmp(argv[3], "--onsets-only") == 0;
    if ((argc != 3 && !onsetsOnly) || qEnvironmentVariableIsEmpty("WOBBLIX_SINK")) {
        std::fprintf(
            stderr,
            "usage (inside tests/session/desktop-session.sh): %s SHORT.wav LONG.wav [--onsets-only]\n",
            argv[0]);
        return 2;
    }
    const QString shortSound = QString::fromLocal8Bit(argv[1]);
    const QString longSound = QString::fromLocal8Bit(argv[2]);
    const QString silence = QStringLiteral("wobblix-no-such-sound");

    auto* recorder = new test::SinkRecorder(qEnvironmentVariable("WOBBLIX_SINK"));
    if (!recorder->start()) {
        std::fprintf(stderr, "parec does not record %s\n", qPrintable(qEnvironmentVariable("WOBBLIX_SINK")));
        return 1;
    }
    // The program's own playback: the audio module it loads at the first request.
    platform::AudioModule player;
    const long startKb = residentKb();

    // The first request loads the audio module and starts the playback thread, which connects to the server.
    const Request first = measure(player, *recorder, shortSound, 1500);
    const long afterFirstKb = residentKb();
    report("first request (loads the audio module)", {first});

    QList<Request> shorts;
    QList<Request> longs;
    for (int i = 0; i < 7; ++i) {
        shorts.append(measure(player, *recorder, shortSound, 1200));
        longs.append(measure(player, *recorder, longSound, 400));
        player.PlaySound(platform::qt::fromQString(silence), 0);
    }
    report("one-second file", shorts);
    report("ten-minute file", longs);
    values("first_request_ms", {first});
    values("one_second_ms", shorts);
    values("ten_minute_ms", longs);
    if (onsetsOnly) {
        delete recorder;
        return 0;
    }

    // The rest without the recorder: reading it costs this process memory and CPU too.
    delete recorder;
    wait(500);
    const long quietKb = residentKb();

    // Memory and CPU while the ten-minute file plays (from its second second on, for ten seconds).
    player.PlaySound(platform::qt::fromQString(longSound), 0);
    wait(1000);
    const double cpuStart = cpuMs();
    QElapsedTimer clock;
    clock.start();
    wait(10000);
    const double playingCpu = (cpuMs() - cpuStart) / clock.elapsed() * 100;
    const long playingKb = residentKb();
    player.PlaySound(platform::qt::fromQString(shortSound), 0); // ends the long one; this one ends by itself, after a second
    // Idle again once its stream is closed (only the session's stream of zeros is left), and half a second
    // on.
    for (int tries = 0; tries < 50 && streamsAtServer() > 1; ++tries)
        wait(100);
    wait(500);
    const long endedKb = residentKb();
    const double idleStart = cpuMs();
    clock.restart();
    wait(5000);
    const double idleCpu = (cpuMs() - idleStart) / clock.elapsed() * 100;

    const int streams = streamsAtServer();

    std::printf(
        "memory (resident): %ld kB before the first request; +%ld kB after it (the audio module and back "
        "end); "
        "then, without the recorder, %ld kB idle, %ld kB while the ten-minute file plays, %ld kB once "
        "it has ended\n",
        startKb, afterFirstKb - startKb, quietKb, playingKb, endedKb);
    std::printf("CPU: %.2f %% of one core while playing, %.3f %% once the sound has ended\n", playingCpu,
                idleCpu);
    std::printf(
        "streams at the sound server once the sound has ended: %d (the session's stream of zeros included)\n",
        streams);
    return 0;
}

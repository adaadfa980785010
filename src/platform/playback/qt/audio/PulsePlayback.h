// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

struct pa_context;
struct pa_io_event;
struct pa_mainloop_api;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;

namespace wobblix::platform {

class SoundFileSource;

// Plays sounds at the PulseAudio server (or PipeWire's pulse server) from a thread of its own, which runs
// libpulse's asynchronous API: the caller hands a request over and returns at once, whatever the server
// does. Only that thread ever talks to the server; the caller never takes a lock that it holds while it
// waits on the server.
//
// Each sound is a playback stream at the file's own rate and channel count on the default output; the
// server converts it and moves it when that output goes. A request that finds no connection to the server
// (none yet, or the server ended or failed) connects afresh, so a server that started late or restarted
// rings at the next request. One sound at a time: a request cuts off the one before it, whether that is
// playing or still waiting for the server. A stream the server asks nothing of for StallMs (a stalled
// server, or one that never answers) is given up with its connection, and the next request starts afresh.
class PulsePlayback final {
public:
    // How long the server may leave a sound without asking for samples, or draining what it has, before
    // the sound is given up. Playing, it asks every few tens of milliseconds.
    static constexpr int StallMs = 3000;

    // `ended` is called on the playback thread once the sound of a request is over: played to its end and
    // its stream closed at the server, cut off, dropped by the server, or never started. Once for every
    // request that the thread takes: one replaced before that never starts and is not reported.
    explicit PulsePlayback(std::function<void(quint64 request)> ended);
    ~PulsePlayback();

    // Whether the server can take the sound's format (rate and channel count within its limits).
    static bool canPlay(const SoundFileSource& sound);

    // False when the playback thread could not start: every request then ends at once.
    bool isRunning() const { return m_running; }

    // Hands a request over: `sound` cuts off whatever plays or waits, and plays; nullptr only cuts it off.
    // Returns at once: the playback thread does the rest.
    void play(quint64 request, std::unique_ptr<SoundFileSource> sound);

private:
    // One sound's stream at the server.
    struct Playing;

    // On the playback thread.
    void takeRequest();
    void start(quint64 request, std::unique_ptr<SoundFileSource> sound);
    bool connectContext();
    void contextStateChanged();
    void openStream();
    void streamStateChanged(Playing* playing);
    void writeRequested(Playing* playing, size_t bytes);
    void drained(pa_stream* stream);
    // Ends the current sound: closes its stream at the server, and reports the end once that is done.
    void close();
    void dropContext();
    void restartStallTimer();
    void stalled();
    void report(Playing* playing);

    std::function<void(quint64)> m_ended;
    pa_threaded_mainloop* m_mainloop = nullptr;
    pa_mainloop_api* m_api = nullptr;
    bool m_running = false;

    // Handed over by play(): the latest request not yet taken by the playback thread.
    std::mutex m_requestMutex;
    bool m_hasRequest = false;
    quint64 m_request = 0;
    std::unique_ptr<SoundFileSource> m_requestSound;
    int m_wakeFds[2] = {-1, -1}; // a pipe: play() writes a byte, the playback thread wakes on it
    pa_io_event* m_wakeEvent = nullptr;

    // The playback thread's own.
    pa_context* m_context = nullptr;    // the connection to the server; null until a request needs one
    std::unique_ptr<Playing> m_playing; // the current sound, waiting for the server or playing
    std::set<Playing*> m_closing;       // streams asked to close, until the server confirms it
    pa_time_event* m_stallTimer = nullptr;
    std::vector<float> m_buffer;
};

} // namespace wobblix::platform

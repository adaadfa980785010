// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/qt/audio/PulsePlayback.h"

#include "platform/playback/qt/audio/SoundFileSource.h"

#include <pulse/pulseaudio.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace wobblix::platform {

namespace {

// What the server keeps buffered ahead of the output, in ms: a sound starts once this much is written
// (or at once, for a shorter sound), and the playback thread refills it every few tens of ms.
constexpr pa_usec_t BufferUs = 100 * PA_USEC_PER_MSEC;

pa_sample_spec sampleSpecOf(const SoundFileSource& sound)
{
    return {PA_SAMPLE_FLOAT32NE, static_cast<uint32_t>(sound.sampleRate()),
            static_cast<uint8_t>(std::clamp(sound.channelCount(), 0, 255))};
}

} // namespace

struct PulsePlayback::Playing {
    PulsePlayback* owner = nullptr;
    quint64 request = 0;
    std::unique_ptr<SoundFileSource> sound;
    pa_stream* stream = nullptr; // null until the connection is ready for it
    bool draining = false;       // all of the sound is written: the server plays out what it holds
};

bool PulsePlayback::canPlay(const SoundFileSource& sound)
{
    const pa_sample_spec spec = sampleSpecOf(sound);
    return sound.channelCount() <= int(PA_CHANNELS_MAX) && pa_sample_spec_valid(&spec) != 0;
}

PulsePlayback::PulsePlayback(std::function<void(quint64)> ended) : m_ended(std::move(ended))
{
    m_mainloop = pa_threaded_mainloop_new();
    if (!m_mainloop || ::pipe2(m_wakeFds, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    m_api = pa_threaded_mainloop_get_api(m_mainloop);
    // Made before the thread runs, so that nothing here needs the loop's lock.
    m_wakeEvent = m_api->io_new(
        m_api, m_wakeFds[0], PA_IO_EVENT_INPUT,
        [](pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* self) {
            static_cast<PulsePlayback*>(self)->takeRequest();
        },
        this);
    m_stallTimer = m_api->time_new(
        m_api, nullptr,
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
            static_cast<PulsePlayback*>(self)->stalled();
        },
        this);
    pa_threaded_mainloop_set_name(m_mainloop, "wobblix-sound");
    m_running = m_wakeEvent && m_stallTimer && pa_threaded_mainloop_start(m_mainloop) == 0;
}

PulsePlayback::~PulsePlayback()
{
    if (m_mainloop) {
        if (m_running)
            pa_threaded_mainloop_stop(m_mainloop);
        // The thread has ended: what it owned is this thread's now. Closing the connection ends its
        // streams at the server.
        m_ended = [](quint64) {};
        dropContext();
        if (m_playing && m_playing->stream)
            pa_stream_unref(m_playing->stream);
        m_playing.reset();
        for (Playing* closing : m_closing) {
            pa_stream_unref(closing->stream);
            delete closing;
        }
        if (m_wakeEvent)
            m_api->io_free(m_wakeEvent);
        if (m_stallTimer)
            m_api->time_free(m_stallTimer);
        pa_threaded_mainloop_free(m_mainloop);
    }
    for (int fd : m_wakeFds)
        if (fd >= 0)
            ::close(fd);
}

void PulsePlayback::play(quint64 request, std::unique_ptr<SoundFileSource> sound)
{
    if (!m_running)
        return;
    std::unique_ptr<SoundFileSource> replaced; // closed outside the lock
    {
        const std::lock_guard lock(m_requestMutex);
        replaced = std::exchange(m_requestSound, std::move(sound));
        m_request = request;
        m_hasRequest = true;
    }
    // The pipe cannot fill up in practice; should it, the playback thread is awake anyway.
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wakeFds[1], &wake, 1);
}

void PulsePlayback::takeRequest()
{
    char bytes[64];
    while (::read(m_wakeFds[0], bytes, sizeof bytes) > 0) {
    }
    std::unique_ptr<SoundFileSource> sound;
    quint64 request = 0;
    {
        const std::lock_guard lock(m_requestMutex);
        if (!std::exchange(m_hasRequest, false))
            return;
        request = m_request;
        sound = std::move(m_requestSound);
    }
    start(request, std::move(sound));
}

void PulsePlayback::start(quint64 request, std::unique_ptr<SoundFileSource> sound)
{
    close();
    if (!sound)
        return;
    m_playing.reset(new Playing{this, request, std::move(sound)});
    // Connecting can fail at once (no server), which may end the sound through contextStateChanged.
    if (!connectContext()) {
        close();
        return;
    }
    if (!m_playing)
        return;
    restartStallTimer();
    if (pa_context_get_state(m_context) == PA_CONTEXT_READY)
        openStream();
}

bool PulsePlayback::connectContext()
{
    if (m_context && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
        return true;
    dropContext();
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Wobblix Clock");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "wobblix-clock");
    m_context = pa_context_new_with_proplist(m_api, nullptr, properties);
    pa_proplist_free(properties);
    if (!m_context)
        return false;
    pa_context_set_state_callback(
        m_context, [](pa_context*, void* self) { static_cast<PulsePlayback*>(self)->contextStateChanged(); },
        this);
    // No autospawn: starting the desktop's sound server is the session's business, not an alarm clock's.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        dropContext();
    return m_context != nullptr;
}

void PulsePlayback::contextStateChanged()
{
    switch (pa_context_get_state(m_context)) {
    case PA_CONTEXT_READY:
        if (m_playing && !m_playing->stream)
            openStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        // The server is gone (or never was): the sound ends, and the next request connects afresh.
        dropContext();
        close();
        break;
    default:
        break;
    }
}

void PulsePlayback::openStream()
{
    Playing* playing = m_playing.get();
    const pa_sample_spec spec = sampleSpecOf(*playing->sound);
    // The channel order of wave files; mono is one channel that the server plays on every output.
    pa_channel_map channels;
    pa_channel_map_init_extend(&channels, spec.channels, PA_CHANNEL_MAP_WAVEEX);
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "event");
    playing->stream = pa_stream_new_with_proplist(m_context, "Sound", &spec, &channels, properties);
    pa_proplist_free(properties);
    if (!playing->stream) {
        close();
        return;
    }
    pa_stream_set_state_callback(
        playing->stream,
        [](pa_stream*, void* playing) {
            static_cast<Playing*>(playing)->owner->streamStateChanged(static_cast<Playing*>(playing));
        },
        playing);
    pa_stream_set_write_callback(
        playing->stream,
        [](pa_stream*, size_t bytes, void* playing) {
            static_cast<Playing*>(playing)->owner->writeRequested(static_cast<Playing*>(playing), bytes);
        },
        playing);
    const uint32_t serverDefault = static_cast<uint32_t>(-1);
    pa_buffer_attr buffer{serverDefault, static_cast<uint32_t>(pa_usec_to_bytes(BufferUs, &spec)),
                          serverDefault, serverDefault, serverDefault};
    // No device named: the server's default output, which it follows when the output goes away.
    if (pa_stream_connect_playback(playing->stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr,
                                   nullptr) < 0)
        close();
}

void PulsePlayback::streamStateChanged(Playing* playing)
{
    const pa_stream_state_t state = pa_stream_get_state(playing->stream);
    if (playing != m_playing.get()) {
        // A stream being closed: one still being created is closed as soon as the server has made it.
        if (state == PA_STREAM_READY) {
            pa_stream_disconnect(playing->stream);
        } else if (!PA_STREAM_IS_GOOD(state)) {
            m_closing.erase(playing);
            if (!m_playing && m_closing.empty())
                m_api->time_restart(m_stallTimer, nullptr);
            report(playing);
            delete playing;
        }
        return;
    }
    if (state == PA_STREAM_READY)
        restartStallTimer();
    else if (!PA_STREAM_IS_GOOD(state))
        close(); // dropped by the server: killed, or its output gone with no other to move to
}

void PulsePlayback::writeRequested(Playing* playing, size_t bytes)
{
    if (playing != m_playing.get() || playing->draining)
        return;
    restartStallTimer();
    const int channels = playing->sound->channelCount();
    const qint64 frames = static_cast<qint64>(bytes / (sizeof(float) * channels));
    m_buffer.resize(static_cast<size_t>(frames * channels));
    const qint64 read = playing->sound->read(m_buffer.data(), frames);
    if (read > 0)
        pa_stream_write(playing->stream, m_buffer.data(),
                        static_cast<size_t>(read) * sizeof(float) * channels, nullptr, 0, PA_SEEK_RELATIVE);
    if (read < frames) {
        // The end of the sound: the stream closes once the server has played what it holds.
        playing->draining = true;
        pa_operation* drain = pa_stream_drain(
            playing->stream,
            [](pa_stream* stream, int, void* self) { static_cast<PulsePlayback*>(self)->drained(stream); },
            this);
        if (drain)
            pa_operation_unref(drain);
        else
            close();
    }
}

void PulsePlayback::drained(pa_stream* stream)
{
    // A stream already closed or failed is the state callback's to end.
    if (m_playing && m_playing->stream == stream)
        close();
}

void PulsePlayback::close()
{
    std::unique_ptr<Playing> playing = std::move(m_playing);
    if (playing && playing->stream && PA_STREAM_IS_GOOD(pa_stream_get_state(playing->stream))) {
        // Ended at the server first; reported when the server confirms (streamStateChanged), or given up
        // with the connection should the server not answer.
        pa_stream_set_write_callback(playing->stream, nullptr, nullptr);
        if (pa_stream_get_state(playing->stream) == PA_STREAM_READY)
            pa_stream_disconnect(playing->stream);
        m_closing.insert(playing.release());
        restartStallTimer();
        return;
    }
    if (m_closing.empty())
        m_api->time_restart(m_stallTimer, nullptr);
    if (playing)
        report(playing.get());
}

void PulsePlayback::dropContext()
{
    pa_context* context = std::exchange(m_context, nullptr);
    if (!context)
        return;
    pa_context_set_state_callback(context, nullptr, nullptr);
    // Ends every stream of the connection at once, on this side (see streamStateChanged).
    pa_context_disconnect(context);
    pa_context_unref(context);
}

void PulsePlayback::restartStallTimer()
{
    // On the monotonic clock, which only the connection can set a timer by; the timer itself is the
    // loop's, and outlives connections. (A sound waits or plays only while a connection exists.)
    if (m_context)
        pa_context_rttime_restart(m_context, m_stallTimer, pa_rtclock_now() + StallMs * PA_USEC_PER_MSEC);
}

void PulsePlayback::stalled()
{
    // The server has not answered for StallMs: the sound and the connection are given up, and the next
    // request connects afresh.
    close();
    dropContext();
}

void PulsePlayback::report(Playing* playing)
{
    if (playing->stream) {
        pa_stream_set_state_callback(playing->stream, nullptr, nullptr);
        pa_stream_set_write_callback(playing->stream, nullptr, nullptr);
        pa_stream_unref(playing->stream);
        playing->stream = nullptr;
    }
    m_ended(playing->request);
}

} // namespace wobblix::platform

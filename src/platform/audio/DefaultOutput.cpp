#include "platform/audio/DefaultOutput.h"

#include <QMediaDevices>

#ifdef WOBBLIX_PULSEAUDIO
#include <QDeadlineTimer>

#include <pulse/pulseaudio.h>
#endif

namespace wobblix::platform {

namespace {

#ifdef WOBBLIX_PULSEAUDIO
// The name of the sound server's default sink; empty when there is no server or it does not answer in time.
QByteArray serverDefaultSink()
{
    QDeadlineTimer deadline(500);
    struct Answer {
        QByteArray sink;
        bool received = false;
    } answer;

    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Wobblix Clock");
    // Runs the loop until `done`, for as long as the deadline allows.
    const auto runUntil = [&](const auto& done) {
        while (!done()) {
            const qint64 leftUs = deadline.remainingTimeNSecs() / 1000;
            if (leftUs <= 0 || pa_mainloop_prepare(loop, static_cast<int>(leftUs)) < 0 ||
                pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
                return false;
        }
        return true;
    };
    const auto settled = [context] {
        const pa_context_state_t state = pa_context_get_state(context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    if (context && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
        runUntil(settled) && pa_context_get_state(context) == PA_CONTEXT_READY) {
        const auto serverInfo = [](pa_context*, const pa_server_info* info, void* user) {
            auto* answer = static_cast<Answer*>(user);
            if (info && info->default_sink_name)
                answer->sink = info->default_sink_name;
            answer->received = true;
        };
        if (pa_operation* operation = pa_context_get_server_info(context, serverInfo, &answer)) {
            runUntil([&answer] { return answer.received; });
            pa_operation_cancel(operation); // no answer after this, should it still be on its way
            pa_operation_unref(operation);
        }
    }
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return answer.sink;
}
#endif

} // namespace

QAudioDevice defaultAudioOutput()
{
#ifdef WOBBLIX_PULSEAUDIO
    // Qt's devices are the server's sinks, by name; a sink that has just appeared is among them.
    if (const QByteArray sink = serverDefaultSink(); !sink.isEmpty()) {
        for (const QAudioDevice& device : QMediaDevices::audioOutputs())
            if (device.id() == sink)
                return device;
    }
#endif
    return QMediaDevices::defaultAudioOutput();
}

} // namespace wobblix::platform

#pragma once

#include <QAudioDevice>
#include <QAudioFormat>

#include <functional>

namespace wobblix::platform {

// The format to open an output device with for a sound of `sampleRate` and `channelCount`: the sound's
// own rate and channels with float samples when the device takes them, so that the sound server does any
// conversion, or else the nearest format it takes, trying in turn: integer sample types, two channels
// then one, and the device's preferred rate. An invalid format when the device takes none of these.
QAudioFormat chooseSinkFormat(int sampleRate, int channelCount, const QAudioDevice& device);

// The same choice against any device's answers: `takes` says whether a format is supported and
// `preferred` is the device's own format.
QAudioFormat chooseSinkFormat(int sampleRate, int channelCount,
                              const std::function<bool(const QAudioFormat&)>& takes,
                              const QAudioFormat& preferred);

} // namespace wobblix::platform

#include "platform/audio/SinkFormat.h"

#include <QList>

namespace wobblix::platform {

namespace {
// Appends the value unless it is already there or is not positive.
void addChoice(QList<int>& choices, int value)
{
    if (value > 0 && !choices.contains(value))
        choices.append(value);
}
} // namespace

QAudioFormat chooseSinkFormat(int sampleRate, int channelCount, const QAudioDevice& device)
{
    return chooseSinkFormat(
        sampleRate, channelCount,
        [&device](const QAudioFormat& format) { return device.isFormatSupported(format); },
        device.preferredFormat());
}

QAudioFormat chooseSinkFormat(int sampleRate, int channelCount,
                              const std::function<bool(const QAudioFormat&)>& takes,
                              const QAudioFormat& preferred)
{
    QList<int> rates;
    addChoice(rates, sampleRate);
    addChoice(rates, preferred.sampleRate());
    QList<int> channels;
    addChoice(channels, channelCount);
    addChoice(channels, 2);
    addChoice(channels, 1);
    addChoice(channels, preferred.channelCount());
    // Float first: libsndfile decodes to it without loss, whatever the file's own sample type.
    const QAudioFormat::SampleFormat sampleFormats[] = {QAudioFormat::Float, QAudioFormat::Int32,
                                                        QAudioFormat::Int16, QAudioFormat::UInt8};
    for (int rate : rates) {
        for (int count : channels) {
            for (QAudioFormat::SampleFormat sampleFormat : sampleFormats) {
                QAudioFormat format;
                format.setSampleRate(rate);
                format.setChannelCount(count);
                format.setSampleFormat(sampleFormat);
                if (takes(format))
                    return format;
            }
        }
    }
    return {};
}

} // namespace wobblix::platform

#include "platform/audio/FrameConverter.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace wobblix::platform {

FrameConverter::FrameConverter(int inputRate, int inputChannels, const QAudioFormat& output)
    : m_inputRate(inputRate), m_inputChannels(inputChannels), m_output(output),
      m_outputChannels(output.channelCount())
{
}

qint64 FrameConverter::outputFrames(qint64 inputFrames) const
{
    // A header may claim any length; beyond this (months of sound) the product below would overflow.
    inputFrames = std::min(inputFrames, qint64(1) << 40);
    if (m_inputRate == m_output.sampleRate())
        return inputFrames;
    // One output frame for each multiple of the output's period in the input's time, the first at 0.
    return (inputFrames * m_output.sampleRate() + m_inputRate - 1) / m_inputRate;
}

void FrameConverter::convert(const float* frames, qint64 count, QByteArray& out)
{
    if (count <= 0)
        return;
    mapChannels(frames, count);
    if (m_inputRate == m_output.sampleRate()) {
        encode(m_mapped.data(), static_cast<qint64>(m_mapped.size()), out);
        return;
    }
    resample();
    encode(m_resampled.data(), static_cast<qint64>(m_resampled.size()), out);
}

void FrameConverter::finish(QByteArray& out)
{
    if (m_inputRate == m_output.sampleRate() || m_previous.empty())
        return;
    // The output frames that fall after the last input frame, before the next that never comes: held.
    const qint64 outputRate = m_output.sampleRate();
    m_resampled.clear();
    for (; m_position < outputRate; m_position += m_inputRate)
        m_resampled.insert(m_resampled.end(), m_previous.begin(), m_previous.end());
    encode(m_resampled.data(), static_cast<qint64>(m_resampled.size()), out);
}

void FrameConverter::silence(char* to, qint64 frames) const
{
    // Silence is the middle of the range: 0 for signed and float samples, 128 for unsigned bytes.
    const int fill = m_output.sampleFormat() == QAudioFormat::UInt8 ? 0x80 : 0;
    std::memset(to, fill, static_cast<size_t>(frames * m_output.bytesPerFrame()));
}

void FrameConverter::mapChannels(const float* frames, qint64 count)
{
    const int in = m_inputChannels;
    const int out = m_outputChannels;
    m_mapped.resize(static_cast<size_t>(count * out));
    float* mapped = m_mapped.data();
    for (qint64 frame = 0; frame < count; ++frame, frames += in, mapped += out) {
        if (in == out) {
            std::copy_n(frames, out, mapped);
        } else if (out == 1) {
            float sum = 0;
            for (int c = 0; c < in; ++c)
                sum += frames[c];
            mapped[0] = sum / static_cast<float>(in);
        } else if (in == 1) {
            std::fill_n(mapped, out, frames[0]);
        } else {
            for (int c = 0; c < out; ++c)
                mapped[c] = c < in ? frames[c] : 0.0f;
        }
    }
}

void FrameConverter::resample()
{
    const int channels = m_outputChannels;
    const qint64 count = static_cast<qint64>(m_mapped.size()) / channels;
    const qint64 outputRate = m_output.sampleRate();
    // Frame 0 is the previous piece's last frame, frames 1..count this piece's; at the very start the
    // first frame plays that part.
    const float* firstNew = m_mapped.data();
    if (m_previous.empty()) {
        m_previous.assign(firstNew, firstNew + channels);
        m_position = outputRate; // the first output frame is the first input frame itself
    }
    auto frameAt = [&](qint64 index) {
        return index == 0 ? m_previous.data() : firstNew + (index - 1) * channels;
    };
    m_resampled.clear();
    for (; m_position < count * outputRate; m_position += m_inputRate) {
        const qint64 index = m_position / outputRate;
        const float fraction = static_cast<float>(m_position % outputRate) / static_cast<float>(outputRate);
        const float* a = frameAt(index);
        const float* b = frameAt(index + 1);
        for (int c = 0; c < channels; ++c)
            m_resampled.push_back(a[c] + (b[c] - a[c]) * fraction);
    }
    m_position -= count * outputRate;
    m_previous.assign(frameAt(count), frameAt(count) + channels);
}

void FrameConverter::encode(const float* samples, qint64 count, QByteArray& out) const
{
    const qsizetype start = out.size();
    out.resize(start + count * m_output.bytesPerSample());
    char* to = out.data() + start;
    switch (m_output.sampleFormat()) {
    case QAudioFormat::Float:
        std::memcpy(to, samples, static_cast<size_t>(count) * sizeof(float));
        break;
    case QAudioFormat::Int16:
        for (qint64 i = 0; i < count; ++i, to += 2)
            qToUnaligned(static_cast<qint16>(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f)),
                         to);
        break;
    case QAudioFormat::Int32:
        for (qint64 i = 0; i < count; ++i, to += 4)
            qToUnaligned(
                static_cast<qint32>(std::lround(std::clamp(double(samples[i]), -1.0, 1.0) * 2147483647.0)),
                to);
        break;
    case QAudioFormat::UInt8:
        for (qint64 i = 0; i < count; ++i, ++to)
            *to = static_cast<char>(
                static_cast<quint8>(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 127.5f + 127.5f)));
        break;
    default:
        out.resize(start);
        break;
    }
}

} // namespace wobblix::platform

#pragma once

#include <QAudioFormat>
#include <QByteArray>

#include <vector>

namespace wobblix::platform {

// Turns decoded frames (interleaved float samples, nominally -1 to 1) of one rate and channel count into
// the bytes of an output format the device takes: channels mixed down to mono, copied from mono, or cut
// to the first ones (front left and right come first in a wave file); the rate changed by linear
// interpolation; each sample converted to the format's sample type, clipped to its range. Keeps its state
// from call to call, so a sound converted piece by piece comes out as if converted whole.
class FrameConverter {
public:
    FrameConverter(int inputRate, int inputChannels, const QAudioFormat& output);

    // Appends the conversion of `count` input frames to `out`.
    void convert(const float* frames, qint64 count, QByteArray& out);
    // Appends what the input's last frame still gives: resampling holds back the output frames that fall
    // between it and a next one, until it is known that none comes.
    void finish(QByteArray& out);

    // Writes `frames` frames of silence in the output format.
    void silence(char* to, qint64 frames) const;

    // How many output frames a sound of `inputFrames` frames gives in all.
    qint64 outputFrames(qint64 inputFrames) const;

    const QAudioFormat& outputFormat() const { return m_output; }

private:
    void mapChannels(const float* frames, qint64 count);
    void resample();
    void encode(const float* samples, qint64 count, QByteArray& out) const;

    int m_inputRate;
    int m_inputChannels;
    QAudioFormat m_output;
    int m_outputChannels;

    std::vector<float> m_mapped;    // the piece being converted, in the output's channels
    std::vector<float> m_resampled; // the same at the output rate
    // Resampling state: the last input frame of the previous piece (output channels), and where the
    // next output frame falls, counted from that one in input frames times the output rate: exact, so
    // that the pieces fall as they would in one.
    std::vector<float> m_previous;
    qint64 m_position = 0;
};

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SoundOnsets.h"

#include <cstdlib>
#include <utility>

namespace wobblix::bench {

void SoundOnsets::feed(const qint16* samples, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i, ++m_frame) {
        const qint16 sample = samples[i];
        if (std::abs(sample) > Threshold) {
            if (!m_sounding) {
                m_sounding = true;
                m_onset = m_frame;
                m_firstCrossing = m_lastCrossing = -1;
                m_crossings = 0;
            }
            m_lastLoud = m_frame;
        }
        if (m_sounding) {
            if (m_previous < 0 && sample >= 0) {
                if (m_firstCrossing < 0)
                    m_firstCrossing = m_frame;
                m_lastCrossing = m_frame;
                ++m_crossings;
            }
            if (m_frame - m_lastLoud > EndGap)
                endSound();
        }
        m_previous = sample;
    }
}

void SoundOnsets::finish()
{
    if (m_sounding)
        endSound();
}

QList<Onset> SoundOnsets::takeEnded()
{
    return std::exchange(m_ended, {});
}

void SoundOnsets::endSound()
{
    m_sounding = false;
    Onset onset;
    onset.frame = m_onset;
    onset.lengthMs = (m_lastLoud - m_onset) * 1000.0 / Rate;
    if (m_crossings > 1 && m_lastCrossing > m_firstCrossing)
        onset.frequency = (m_crossings - 1) * static_cast<double>(Rate) / (m_lastCrossing - m_firstCrossing);
    m_ended.append(onset);
}

} // namespace wobblix::bench

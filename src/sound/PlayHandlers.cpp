// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The two Play buttons. The timers call these too, to sound the alarm and the chime.

#include "main_window/MainForm.h"

#include "platform/controls/TextBox.h"
#include "platform/playback/Sound.h"
#include "sound/PlaySoundMod.h"

namespace wobblix {

namespace {
// Hands the field's text, whole and untrimmed, to playback. An empty field plays nothing and calls
// nothing; any other text, blanks included, goes to playback, which is silent when it names no sound.
void playNamedSound(platform::Sound& sound, const platform::TextBox& field)
{
    if (field.Text().empty())
        return;
    sound.PlaySound(field.Text(), PlaySoundMod::SND_ASYNC | PlaySoundMod::SND_NODEFAULT);
}
} // namespace

void MainForm::cmdPlay_Click()
{
    playNamedSound(m_platform.sound, *txtSound);
}

void MainForm::cmdChimesPlay_Click()
{
    playNamedSound(m_platform.sound, *txtChimesSoundFile);
}

} // namespace wobblix

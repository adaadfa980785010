// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The heart of the clock: Timer1 watches for the alarm, Timer2 for the top of the hour, and Timer3 wakes
// the watch again after a sound. The clock is always either Watching (Timer1 and Timer2 on, Timer3 off)
// or Resting (the opposite); ToggleTimers is the only thing that switches between the two.

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/desktop/Clock.h"
#include "platform/runtime/Conversions.h"

namespace wobblix {

// The alarm is due when the clock's hour and minute, written in decimal without leading zeros, are
// exactly the texts of the two fields: "7" matches seven o'clock, "07" never does.
void MainForm::Timer1_Timer()
{
    if (chkAlarmClock->Value() == platform::CheckBox::Unchecked)
        return;
    // One reading for both: reading the hour and then the minute could pair 7 with the 0 of 8:00 when the
    // hour turns between the two readings, and ring an alarm set for 7:00 a second time.
    const platform::TimeOfDay now = m_platform.clock.Now();
    const bool hourMatches = platform::CStr(now.hour) == txtHour->Text();
    const bool minuteMatches = platform::CStr(now.minute) == txtMinute->Text();
    if (hourMatches && minuteMatches) {
        cmdPlay_Click();
        ToggleTimers();
    }
}

// The chime sounds at minute 0 of every hour.
void MainForm::Timer2_Timer()
{
    if (chkChimes->Value() == platform::CheckBox::Unchecked)
        return;
    if (m_platform.clock.Now().minute == 0) {
        cmdChimesPlay_Click();
        ToggleTimers();
    }
}

// The rest after a sound is over: watch again, now in a later minute than the one that sounded.
void MainForm::Timer3_Timer()
{
    ToggleTimers();
}

// Inverts each timer from its own state, so Watching becomes Resting and back.
void MainForm::ToggleTimers()
{
    Timer1->setEnabled(!Timer1->Enabled());
    Timer2->setEnabled(!Timer2->Enabled());
    Timer3->setEnabled(!Timer3->Enabled());
}

} // namespace wobblix

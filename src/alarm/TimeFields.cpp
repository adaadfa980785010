// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The rules of the hour and minute fields: only digits and Backspace can be typed, and a number above the
// field's maximum is replaced by the maximum. Both fields hold at most 2 characters (their maximum length),
// so the rules never see a longer text.

#include "main_window/MainForm.h"

#include "platform/controls/TextBox.h"
#include "platform/runtime/Conversions.h"

namespace wobblix {

namespace {

constexpr Integer BackspaceKey = 8;
constexpr Integer HourMaximum = 23;
constexpr Integer MinuteMaximum = 59;

// Lets a digit or Backspace through and discards every other typed character (the key code becomes 0),
// control characters such as Enter, Escape and Ctrl+C, Ctrl+V included. Nothing else happens: no beep.
void keepDigitsAndBackspace(Integer& keyAscii)
{
    const bool digit = platform::IsNumeric(String(1, static_cast<char16_t>(keyAscii)));
    const bool backspace = keyAscii == BackspaceKey;
    if (!digit && !backspace)
        keyAscii = 0;
}

// Replaces a number above the maximum by the maximum. There is no lower bound and no normalisation: a text
// that is not a number (the empty text included), or a number not above the maximum, stays exactly as it is
// ("07", "-3", " 5"). Setting the maximum raises Change once more, which then finds nothing to do.
void clampToMaximum(platform::TextBox& field, Integer maximum)
{
    if (!platform::IsNumeric(field.Text()))
        return;
    if (platform::CInt(field.Text()) > maximum)
        field.setText(platform::CStr(maximum));
}

} // namespace

void MainForm::txtHour_KeyPress(Integer& keyAscii)
{
    keepDigitsAndBackspace(keyAscii);
}

void MainForm::txtMinute_KeyPress(Integer& keyAscii)
{
    keepDigitsAndBackspace(keyAscii);
}

void MainForm::txtHour_Change()
{
    clampToMaximum(*txtHour, HourMaximum);
}

void MainForm::txtMinute_Change()
{
    clampToMaximum(*txtMinute, MinuteMaximum);
}

} // namespace wobblix

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Loading the six settings at start-up and saving them on Options > Save.

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/TextBox.h"
#include "platform/desktop/MessageBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/settings/SettingsStore.h"

#include <cstdio>
#include <vector>

namespace wobblix {

namespace {

// Where the settings live: application "Wobblix", section "Main" (on Linux ~/.config/Wobblix.conf, [Main];
// on Windows the registry).
const String Application = u"Wobblix";
const String Section = u"Main";

// A stored text as one line of a report: in quotes, with backslashes, quotes and control characters
// escaped, so that a damaged value cannot break the line or pass for something else.
String asOneLine(const String& text)
{
    constexpr char16_t Hex[] = u"0123456789abcdef";
    String result = u"\"";
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'"')
            result += String{u'\\', c};
        else if (c == u'\n')
            result += u"\\n";
        else if (c == u'\r')
            result += u"\\r";
        else if (c == u'\t')
            result += u"\\t";
        else if (c < 0x20 || c == 0x7f)
            result += String{u'\\', u'x', Hex[c >> 4], Hex[c & 0xf]};
        else
            result += c;
    }
    return result + u'"';
}

String joined(const std::vector<String>& parts, StringView separator)
{
    String result;
    for (const String& part : parts) {
        if (!result.empty())
            result += separator;
        result += part;
    }
    return result;
}

// Sets a switch from its stored text: the text converted to a 16-bit integer, which must be a check-box
// state. A text that is not one (not numeric, beyond 16 bits, a number other than 0, 1 or 2) must not end
// the program at every start, locking the user out until the store is edited by hand: that switch starts
// unchecked, its default, one line on standard error names the key and the value, and the store keeps the
// value until the next Save. Returns the line for the user's note, or an empty text.
String loadSwitch(platform::CheckBox& box, const String& key, const String& stored)
{
    try {
        box.setValue(platform::CInt(stored));
        return String();
    } catch (const platform::RuntimeError& error) {
        box.setValue(platform::CheckBox::Unchecked);
        std::fprintf(stderr,
                     "wobblix-clock: the stored setting %s is %s, not 0, 1 or 2 (%s); it starts unchecked\n",
                     platform::ToUtf8(key).c_str(), platform::ToUtf8(asOneLine(stored)).c_str(),
                     platform::ToUtf8(error.description()).c_str());
        std::fflush(stderr);
        return u"The stored switch " + key + u" is " + asOneLine(stored) + u", not 0, 1 or 2.";
    }
}

} // namespace

// Key, control and property of each stored setting, in the order Save writes them. A row names either a
// text box (its Text) or a check box (its Value).
struct MainForm::StoredSetting {
    StringView key;
    platform::TextBox* MainForm::*text = nullptr;
    platform::CheckBox* MainForm::*value = nullptr;
};

const MainForm::StoredSetting MainForm::StoredSettings[6] = {
    {u"File", &MainForm::txtSound},
    {u"Hour", &MainForm::txtHour},
    {u"Minute", &MainForm::txtMinute},
    {u"AlarmON", nullptr, &MainForm::chkAlarmClock},
    {u"Chime", &MainForm::txtChimesSoundFile},
    {u"ChimesON", nullptr, &MainForm::chkChimes},
};

// Fills the four text fields, then the two switches, from the settings store. Setting the hour and minute
// texts raises their Change events, so the field rules apply to stored values too.
//
// A store that cannot be read, or a damaged switch, is told on screen once the window is shown (a user who
// starts the clock from the desktop's menu never sees standard error), in one message.
void MainForm::Form_Load()
{
    // One reading of the store for all six.
    const platform::SettingsReading stored = m_platform.settings.Read(Application, Section);
    std::vector<String> notes;
    if (const String& problem = stored.problem(); !problem.empty())
        notes.push_back(u"The saved settings could not be read: " + problem +
                        u" The clock starts with empty fields and both switches off.");
    for (const StoredSetting& setting : StoredSettings) {
        if (setting.text != nullptr)
            (this->*setting.text)->setText(stored.GetSetting(setting.key, String()));
    }
    int damaged = 0;
    for (const StoredSetting& setting : StoredSettings) {
        if (setting.value == nullptr)
            continue;
        const String note =
            loadSwitch(*(this->*setting.value), String(setting.key), stored.GetSetting(setting.key, u"0"));
        if (!note.empty()) {
            notes.push_back(note);
            ++damaged;
        }
    }
    if (damaged > 0)
        notes.push_back(damaged == 1
                            ? u"That switch starts off until you set it and choose Options > Save."
                            : u"Both switches start off until you set them and choose Options > Save.");
    if (notes.empty())
        return;
    // Later: Load runs before the window is shown, and the message belongs over the shown window.
    Later([this, prompt = joined(notes, u"\n\n")] {
        m_platform.messageBox.MsgBox(hWnd(), prompt, platform::MessageBox::Exclamation, u"Wobblix Clock");
    });
}

// Writes the six settings, each read from its control afresh. An empty text is not written, so the value
// stored before stays; the two switches are always written. Nothing on screen changes and nothing
// confirms success.
//
// A store that cannot be written must not end the program and lose every setting on screen: the six
// values go to the store in one write, all or none, and when it fails a message says so and why; the
// window keeps its values, the store keeps the old ones, and the clock goes on.
void MainForm::menuSave_Click()
{
    platform::SettingsStore::Values values;
    for (const StoredSetting& setting : StoredSettings) {
        if (setting.value != nullptr)
            values.emplace_back(setting.key, platform::CStr((this->*setting.value)->Value()));
        else if (const String text = (this->*setting.text)->Text(); !text.empty())
            values.emplace_back(setting.key, text);
    }
    try {
        m_platform.settings.SaveSettings(Application, Section, values);
    } catch (const platform::SettingsWriteError& error) {
        const String prompt = u"The settings could not be saved.\n\n" + error.reason() +
                              u"\n\nThe window keeps your settings, and the ones saved before are unchanged. "
                              u"Save again once the cause is removed.";
        m_platform.messageBox.MsgBox(hWnd(), prompt, platform::MessageBox::Exclamation, u"Wobblix Clock");
    }
}

} // namespace wobblix

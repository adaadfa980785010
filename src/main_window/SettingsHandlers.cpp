// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Loading the six settings at start-up and saving them on Options > Save.

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/TextBox.h"
#include "platform/desktop/MessageBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/settings/SettingsStore.h"

#include <cstdio>

namespace wobblix {

namespace {

// Where the settings live: application "Wobblix", section "Main" (on Linux ~/.config/Wobblix.conf, [Main]).
const QString Application = QStringLiteral("Wobblix");
const QString Section = QStringLiteral("Main");

// A stored text as one line of a report: in quotes, with backslashes, quotes and control characters
// escaped, so that a damaged value cannot break the line or pass for something else.
QString asOneLine(const QString& text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            result += u'\\' + QString(c);
        else if (c == u'\n')
            result += QStringLiteral("\\n");
        else if (c == u'\r')
            result += QStringLiteral("\\r");
        else if (c == u'\t')
            result += QStringLiteral("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + u'"';
}

// Sets a switch from its stored text: the text converted to a 16-bit integer, which must be a check-box
// state. A text that is not one (not numeric, beyond 16 bits, a number other than 0, 1 or 2) must not end
// the program at every start, locking the user out until the file is edited by hand: that switch starts
// unchecked, its default, one line on standard error names the key and the value, and the store keeps the
// value until the next Save. Returns the line for the user's note, or an empty text.
QString loadSwitch(platform::CheckBox& box, const QString& key, const QString& stored)
{
    try {
        box.setValue(platform::CInt(stored));
        return QString();
    } catch (const platform::RuntimeError& error) {
        box.setValue(platform::CheckBox::Unchecked);
        std::fprintf(stderr,
                     "wobblix-clock: the stored setting %s is %s, not 0, 1 or 2 (%s); it starts unchecked\n",
                     qPrintable(key), qPrintable(asOneLine(stored)), qPrintable(error.description()));
        std::fflush(stderr);
        return QStringLiteral("The stored switch %1 is %2, not 0, 1 or 2.").arg(key, asOneLine(stored));
    }
}

} // namespace

// Key, control and property of each stored setting, in the order Save writes them. A row names either a
// text box (its Text) or a check box (its Value).
struct MainForm::StoredSetting {
    QLatin1StringView key;
    platform::TextBox* MainForm::*text = nullptr;
    platform::CheckBox* MainForm::*value = nullptr;
};

const MainForm::StoredSetting MainForm::StoredSettings[6] = {
    {QLatin1StringView("File"), &MainForm::txtSound},
    {QLatin1StringView("Hour"), &MainForm::txtHour},
    {QLatin1StringView("Minute"), &MainForm::txtMinute},
    {QLatin1StringView("AlarmON"), nullptr, &MainForm::chkAlarmClock},
    {QLatin1StringView("Chime"), &MainForm::txtChimesSoundFile},
    {QLatin1StringView("ChimesON"), nullptr, &MainForm::chkChimes},
};

// Fills the four text fields, then the two switches, from the settings store. Setting the hour and minute
// texts raises their Change events, so the field rules apply to stored values too.
//
// A store that cannot be read, or a damaged switch, is told on screen once the window is shown (a user who
// starts the clock from the desktop's menu never sees standard error), in one message.
void MainForm::Form_Load()
{
    // One reading of the file for all six.
    const platform::SettingsReading stored = m_platform.settings.Read(Application, Section);
    QStringList notes;
    if (const QString& problem = stored.problem(); !problem.isEmpty())
        notes << QStringLiteral("The saved settings could not be read: %1 The clock starts with empty fields "
                                "and both switches off.")
                     .arg(problem);
    for (const StoredSetting& setting : StoredSettings) {
        if (setting.text != nullptr)
            (this->*setting.text)->setText(stored.GetSetting(setting.key, QString()));
    }
    qsizetype damaged = 0;
    for (const StoredSetting& setting : StoredSettings) {
        if (setting.value == nullptr)
            continue;
        const QString note = loadSwitch(*(this->*setting.value), setting.key,
                                        stored.GetSetting(setting.key, QStringLiteral("0")));
        if (!note.isEmpty()) {
            notes << note;
            ++damaged;
        }
    }
    if (damaged > 0)
        notes << (damaged == 1
                      ? QStringLiteral("That switch starts off until you set it and choose Options > Save.")
                      : QStringLiteral("Both switches start off until you set them and choose Options > "
                                       "Save."));
    if (notes.isEmpty())
        return;
    // Queued: Load runs before the window is shown, and the message belongs over the shown window.
    QMetaObject::invokeMethod(
        this,
        [this, prompt = notes.join(QStringLiteral("\n\n"))] {
            m_platform.messageBox.MsgBox(this, prompt, platform::MessageBox::Exclamation,
                                         QStringLiteral("Wobblix Clock"));
        },
        Qt::QueuedConnection);
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
            values.append({setting.key, platform::CStr((this->*setting.value)->Value())});
        else if (const QString text = (this->*setting.text)->Text(); !text.isEmpty())
            values.append({setting.key, text});
    }
    try {
        m_platform.settings.SaveSettings(Application, Section, values);
    } catch (const platform::SettingsWriteError& error) {
        const QString prompt = QStringLiteral("The settings could not be saved.\n\n") + error.reason() +
                               QStringLiteral("\n\nThe window keeps your settings, and the ones saved before "
                                              "are unchanged. Save again once the cause is removed.");
        m_platform.messageBox.MsgBox(this, prompt, platform::MessageBox::Exclamation,
                                     QStringLiteral("Wobblix Clock"));
    }
}

} // namespace wobblix

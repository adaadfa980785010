// Loading the six settings at start-up and saving them on Options > Save.

#include "main_window/MainForm.h"

#include "platform/CheckBox.h"
#include "platform/Conversions.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/SettingsStore.h"
#include "platform/TextBox.h"

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
// value until the next Save.
void loadSwitch(platform::CheckBox& box, const QString& key, const QString& stored)
{
    try {
        box.setValue(platform::CInt(stored));
    } catch (const platform::RuntimeError& error) {
        box.setValue(platform::CheckBox::Unchecked);
        std::fprintf(stderr,
                     "wobblix-clock: the stored setting %s is %s, not 0, 1 or 2 (%s); it starts unchecked\n",
                     qPrintable(key), qPrintable(asOneLine(stored)), qPrintable(error.description()));
        std::fflush(stderr);
    }
}

} // namespace

// Fills the four text fields and the two switches from the settings store, in this order. Setting the
// hour and minute texts raises their Change events, so the field rules apply to stored values too.
void MainForm::Form_Load()
{
    const platform::SettingsStore& store = m_platform.settings;
    txtSound->setText(store.GetSetting(Application, Section, QStringLiteral("File"), QString()));
    txtHour->setText(store.GetSetting(Application, Section, QStringLiteral("Hour"), QString()));
    txtMinute->setText(store.GetSetting(Application, Section, QStringLiteral("Minute"), QString()));
    txtChimesSoundFile->setText(store.GetSetting(Application, Section, QStringLiteral("Chime"), QString()));
    loadSwitch(*chkAlarmClock, QStringLiteral("AlarmON"),
               store.GetSetting(Application, Section, QStringLiteral("AlarmON"), QStringLiteral("0")));
    loadSwitch(*chkChimes, QStringLiteral("ChimesON"),
               store.GetSetting(Application, Section, QStringLiteral("ChimesON"), QStringLiteral("0")));
}

// Writes the six settings, in this order, each read from its control afresh. An empty text is not
// written, so the value stored before stays; the two switches are always written. Nothing on screen
// changes and nothing confirms success.
//
// A store that cannot be written must not end the program and lose every setting on screen: the six
// values go to the store in one write, all or none, and when it fails a message says so and why; the
// window keeps its values, the store keeps the old ones, and the clock goes on.
void MainForm::menuSave_Click()
{
    platform::SettingsStore& store = m_platform.settings;
    try {
        platform::SettingsStore::Batch batch(store);
        if (!txtSound->Text().isEmpty())
            store.SaveSetting(Application, Section, QStringLiteral("File"), txtSound->Text());
        if (!txtHour->Text().isEmpty())
            store.SaveSetting(Application, Section, QStringLiteral("Hour"), txtHour->Text());
        if (!txtMinute->Text().isEmpty())
            store.SaveSetting(Application, Section, QStringLiteral("Minute"), txtMinute->Text());
        store.SaveSetting(Application, Section, QStringLiteral("AlarmON"),
                          platform::CStr(chkAlarmClock->Value()));
        if (!txtChimesSoundFile->Text().isEmpty())
            store.SaveSetting(Application, Section, QStringLiteral("Chime"), txtChimesSoundFile->Text());
        store.SaveSetting(Application, Section, QStringLiteral("ChimesON"),
                          platform::CStr(chkChimes->Value()));
        batch.commit();
    } catch (const platform::SettingsWriteError& error) {
        const QString prompt = QStringLiteral("The settings could not be saved.\n\n") + error.reason() +
                               QStringLiteral("\n\nThe window keeps your settings, and the ones saved before "
                                              "are unchanged. Save again once the cause is removed.");
        m_platform.messageBox.MsgBox(this, prompt, platform::MessageBox::Exclamation,
                                     QStringLiteral("Wobblix Clock"));
    }
}

} // namespace wobblix

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Load and Save of the window on real settings files in temporary folders: what comes back
// after a start, what Save writes and leaves alone, damaged values, and stores that cannot be written.
// Save is chosen through the window's own menu action; every reading of a saved file parses the bytes
// on disk (FreshReading, or a new window on a copy of the file).

#include "support/SettingsFiles.h"

#include "main_window/MainForm.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/qt/CheckBoxWidget.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "platform/desktop/MessageBox.h"
#include "platform/settings/SettingsStore.h"
#include "support/FakePlatform.h"

#include <QAction>
#include <QMessageBox>
#include <QtTest>

#include <optional>

#include <sys/stat.h>

using namespace wobblix;

namespace {

const QString FileName = QStringLiteral("Wobblix.conf");

// The six settings as the window shows them.
struct Shown {
    QString sound, hour, minute, chime;
    int alarmOn = 0, chimesOn = 0;
    bool operator==(const Shown&) const = default;
};

char* toString(const Shown& shown)
{
    return qstrdup(
        QStringLiteral("{File \"%1\", Hour \"%2\", Minute \"%3\", AlarmON %4, Chime \"%5\", ChimesON %6}")
            .arg(shown.sound, shown.hour, shown.minute)
            .arg(shown.alarmOn)
            .arg(shown.chime)
            .arg(shown.chimesOn)
            .toUtf8()
            .constData());
}

// Why a store cannot be written, each made real for a test run as root too (see OrdinaryUser).
enum class Condition {
    ReadOnlyFile,
    ReadOnlyFolder,
    DamagedFileInReadOnlyFolder, // QSettings' status shows the reading's FormatError, not the failed write
    FolderIsAFile,
    WriteFailsPartWay, // as on a full disk: the new copy is cut off while being written
};

// The lines of the program's own reports among what was written to standard error (Qt's platform
// plugin may add warnings of its own).
QStringList reportLines(const QString& standardError)
{
    QStringList lines;
    for (const QString& line : standardError.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("wobblix-clock:")))
            lines.append(line);
    }
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Shown)
Q_DECLARE_METATYPE(Condition)

namespace {

// A window on the fake platform, with the store given or the fake platform's own one.
class Window {
public:
    explicit Window(platform::SettingsStore* store = nullptr)
        : form(platform::Platform{world.clock, world.messageBox, world.sound, world.fileDialog,
                                  world.notifyArea, store != nullptr ? *store : world.settings,
                                  world.application})
    {
    }

    // The settings file of the fake platform's own store.
    QString file() const { return world.settingsFolder.filePath(FileName); }

    platform::qt::TextBoxWidget& text(const char* name)
    {
        return *platform::qt::window(form).findChild<platform::qt::TextBoxWidget*>(QLatin1String(name));
    }
    platform::qt::CheckBoxWidget& box(const char* name)
    {
        return *platform::qt::window(form).findChild<platform::qt::CheckBoxWidget*>(QLatin1String(name));
    }
    void choose(const char* menuItem)
    {
        platform::qt::window(form).findChild<QAction*>(QLatin1String(menuItem))->trigger();
    }

    // Sets the fields as Browse, typing and clicking would (the path fields take no typing).
    void show(const Shown& values)
    {
        text("txtSound").setText(values.sound);
        text("txtHour").setText(values.hour);
        text("txtMinute").setText(values.minute);
        text("txtChimesSoundFile").setText(values.chime);
        box("chkAlarmClock").setValue(values.alarmOn);
        box("chkChimes").setValue(values.chimesOn);
    }
    Shown shown()
    {
        return {text("txtSound").Text(),           text("txtHour").Text(),       text("txtMinute").Text(),
                text("txtChimesSoundFile").Text(), box("chkAlarmClock").Value(), box("chkChimes").Value()};
    }

    test::FakePlatform world;
    MainForm form;
};

// A new window started on a copy of `file`, as the next start of the program would find it.
Shown shownAfterRestart(const QString& file)
{
    Window next;
    if (QFile::exists(file))
        QFile::copy(file, next.file());
    next.form.startUp();
    return next.shown();
}

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartWithNothingStored()
    {
        Window window;
        window.form.startUp();
        QCOMPARE(window.shown(), Shown{});
        QCOMPARE(window.box("chkAlarmClock").checkState(), Qt::Unchecked);
        QCOMPARE(window.box("chkChimes").checkState(), Qt::Unchecked);
        // Starting writes nothing, not even an empty file.
        QCOMPARE(test::entriesOf(window.world.settingsFolder.path()), QStringList{});
        QVERIFY(window.world.messageBox.shown.isEmpty());
    }

    // Every text the store must keep exactly, in the two path fields. The hour and minute fields hold
    // two characters; they get short texts that the field rules leave as they are.
    void textsRoundTrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("time");
        QTest::newRow("plain") << QStringLiteral("/home/ann/sounds/alarm.wav") << QStringLiteral("7");
        QTest::newRow("blanks at both ends") << QStringLiteral("  /tmp/a b.wav  ") << QStringLiteral(" 7");
        QTest::newRow("one blank") << QStringLiteral(" ") << QStringLiteral("7 ");
        QTest::newRow("commas") << QStringLiteral("/s/one, two,three,.wav") << QStringLiteral(",1");
        QTest::newRow("comma alone") << QStringLiteral(",") << QStringLiteral(",");
        QTest::newRow("double quotes") << QStringLiteral("\"/s/quoted name\".wav") << QStringLiteral("\"1");
        QTest::newRow("quotes alone") << QStringLiteral("\"") << QStringLiteral("\"\"");
        QTest::newRow("single quotes") << QStringLiteral("/s/it's.wav") << QStringLiteral("'1");
        QTest::newRow("equals") << QStringLiteral("/s/a=b.wav") << QStringLiteral("=1");
        QTest::newRow("semicolon") << QStringLiteral(";/s/a;b.wav") << QStringLiteral(";1");
        QTest::newRow("hash") << QStringLiteral("#/s/a#b.wav") << QStringLiteral("#1");
        QTest::newRow("@ at the start") << QStringLiteral("@/s/a.wav") << QStringLiteral("@1");
        QTest::newRow("@ like a stored type") << QStringLiteral("@Invalid()") << QStringLiteral("@@");
        QTest::newRow("@ByteArray") << QStringLiteral("@ByteArray(/s/a.wav)") << QStringLiteral("@(");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Sounds\\alarm.wav") << QStringLiteral("\\1");
        QTest::newRow("UNC path") << QStringLiteral("\\\\server\\share\\") << QStringLiteral("\\\\");
        QTest::newRow("escape-like") << QStringLiteral("/s/a\\nb\\x41\\t\\\".wav") << QStringLiteral("\\n");
        QTest::newRow("section-like") << QStringLiteral("[Main]") << QStringLiteral("[M");
        QTest::newRow("key-like") << QStringLiteral("Hour=5") << QStringLiteral("H=");
        QTest::newRow("non-ASCII") << QStringLiteral("/home/zoë/Klänge/目覚まし ✓ 😀.wav")
                                   << QStringLiteral("é");
        QTest::newRow("no-break spaces at both ends")
            << QStringLiteral("\u00a0/s/a.wav\u00a0") << QStringLiteral("\u00a07");
        QTest::newRow("tab at both ends") << QStringLiteral("\t/s/a.wav\t") << QStringLiteral("\t1");
        QTest::newRow("1025 characters")
            << (QStringLiteral("/") + QStringLiteral("long folder name/").repeated(61)).left(1021) +
                   QStringLiteral(".wav")
            << QStringLiteral("23");
        // Qt's own reader drops this character at the start of a value; the store escapes it.
        QTest::newRow("zero-width no-break space at the start")
            << QStringLiteral("\ufeff/s/a.wav") << QStringLiteral("\ufeff1");
        QTest::newRow("zero-width no-break space before hex digits")
            << QStringLiteral("\ufeffabc\ufeff12\ufeff") << QStringLiteral("\ufeffa");
    }
    void textsRoundTrip()
    {
        QFETCH(QString, path);
        QFETCH(QString, time);
        if (QByteArrayView(QTest::currentDataTag()) == "1025 characters")
            QCOMPARE(path.size(), 1025);

        Window window;
        window.form.startUp();
        const Shown set{path, time, time, path, platform::CheckBox::Checked, platform::CheckBox::Checked};
        window.show(set);
        QCOMPARE(window.shown(), set); // the fields took the texts as they are
        window.choose("menuSave");
        QVERIFY(window.world.messageBox.shown.isEmpty());

        QCOMPARE(shownAfterRestart(window.file()), set);
    }

    // Each control goes to its own key of section Main, and nothing else is in the file.
    void saveWritesTheSixKeysOfMain()
    {
        Window window;
        window.form.startUp();
        window.show(Shown{QStringLiteral("/s/alarm.wav"), QStringLiteral("7"), QStringLiteral("8"),
                          QStringLiteral("/s/chime.wav"), platform::CheckBox::Checked,
                          platform::CheckBox::Grayed});
        window.choose("menuSave");
        QSettings file(window.file(), QSettings::IniFormat);
        QCOMPARE(file.childGroups(), QStringList{QStringLiteral("Main")});
        file.beginGroup(QStringLiteral("Main"));
        QCOMPARE(file.childKeys(), (QStringList{"AlarmON", "Chime", "ChimesON", "File", "Hour", "Minute"}));
        const test::FreshReading stored(window.file());
        QCOMPARE(stored.get(QStringLiteral("File")), QStringLiteral("/s/alarm.wav"));
        QCOMPARE(stored.get(QStringLiteral("Hour")), QStringLiteral("7"));
        QCOMPARE(stored.get(QStringLiteral("Minute")), QStringLiteral("8"));
        QCOMPARE(stored.get(QStringLiteral("AlarmON")), QStringLiteral("1"));
        QCOMPARE(stored.get(QStringLiteral("Chime")), QStringLiteral("/s/chime.wav"));
        QCOMPARE(stored.get(QStringLiteral("ChimesON")), QStringLiteral("2"));
        QCOMPARE(test::entriesOf(window.world.settingsFolder.path()), QStringList{FileName});
    }

    void grayedSwitchSavesTwoAndComesBackGrayed()
    {
        Window window;
        window.form.startUp();
        window.box("chkAlarmClock").setValue(platform::CheckBox::Grayed);
        window.box("chkChimes").setValue(platform::CheckBox::Checked);
        window.choose("menuSave");
        const test::FreshReading stored(window.file());
        QCOMPARE(stored.get(QStringLiteral("AlarmON")), QStringLiteral("2"));
        QCOMPARE(stored.get(QStringLiteral("ChimesON")), QStringLiteral("1"));

        Window next;
        QVERIFY(QFile::copy(window.file(), next.file()));
        next.form.startUp();
        QCOMPARE(next.box("chkAlarmClock").checkState(), Qt::PartiallyChecked);
        QCOMPARE(next.box("chkChimes").checkState(), Qt::Checked);
    }

    // Save skips an empty text, so the value stored before comes back; the switches are always written.
    void clearedFieldKeepsTheStoredTextButUncheckingSticks()
    {
        Window first;
        first.form.startUp();
        const Shown saved{QStringLiteral("/s/alarm.wav"), QStringLiteral("6"),
                          QStringLiteral("45"),           QStringLiteral("/s/chime.wav"),
                          platform::CheckBox::Checked,    platform::CheckBox::Grayed};
        first.show(saved);
        first.choose("menuSave");

        Window second;
        QVERIFY(QFile::copy(first.file(), second.file()));
        second.form.startUp();
        QCOMPARE(second.shown(), saved);
        second.show(Shown{}); // every text cleared, both switches off
        second.choose("menuSave");
        QVERIFY(second.world.messageBox.shown.isEmpty());
        const Shown expected{saved.sound,
                             saved.hour,
                             saved.minute,
                             saved.chime,
                             platform::CheckBox::Unchecked,
                             platform::CheckBox::Unchecked};
        QCOMPARE(shownAfterRestart(second.file()), expected);

        // A text of one blank is not empty: it is written.
        second.text("txtHour").setText(QStringLiteral(" "));
        second.choose("menuSave");
        QCOMPARE(test::FreshReading(second.file()).get(QStringLiteral("Hour")), QStringLiteral(" "));
    }

    // Options > Exit and the title bar's close both end the window without writing: the same bytes, and
    // nothing new in the folder. (The real program's ways out: tst_settings_program.)
    void leavingWritesNothing_data()
    {
        QTest::addColumn<bool>("throughExit");
        QTest::newRow("Options > Exit") << true;
        QTest::newRow("close from the title bar") << false;
    }
    void leavingWritesNothing()
    {
        QFETCH(bool, throughExit);
        Window window;
        QVERIFY(test::writeBytes(window.file(), "[Main]\nHour=6\nAlarmON=0\nChimesON=1\n"));
        const QByteArray before = test::readBytes(window.file());
        window.form.startUp();
        window.text("txtHour").setText(QStringLiteral("9"));
        window.box("chkAlarmClock").setValue(platform::CheckBox::Checked);
        if (throughExit)
            window.choose("menuExit");
        else
            platform::qt::window(window.form).close();
        QVERIFY(!window.form.Visible());
        QCOMPARE(test::readBytes(window.file()), before);
        QCOMPARE(test::entriesOf(window.world.settingsFolder.path()), QStringList{FileName});
    }

    // A stored switch value that is no check-box state: the window starts, that switch is unchecked, the
    // other settings load as usual, one line on standard error names key and value, one message once the
    // window is shown says the same for every damaged switch, and the file keeps the value until the next
    // Save. Each row is tried on each switch and on both.
    void damagedSwitchStartsUnchecked_data()
    {
        QTest::addColumn<QByteArray>("stored"); // as written in the file
        QTest::addColumn<QString>("reported");  // as the report quotes it
        QTest::newRow("not numeric") << QByteArray("on") << QStringLiteral("\"on\"");
        QTest::newRow("empty") << QByteArray("") << QStringLiteral("\"\"");
        QTest::newRow("blank") << QByteArray("\" \"") << QStringLiteral("\" \"");
        QTest::newRow("Boolean word") << QByteArray("true") << QStringLiteral("\"true\"");
        QTest::newRow("two parts") << QByteArray("1, 0") << QStringLiteral("\"1, 0\"");
        QTest::newRow("line break inside") << QByteArray("1\\n2") << QStringLiteral("\"1\\n2\"");
        QTest::newRow("above 16 bits") << QByteArray("32768") << QStringLiteral("\"32768\"");
        QTest::newRow("below 16 bits") << QByteArray("-32769") << QStringLiteral("\"-32769\"");
        QTest::newRow("far beyond") << QByteArray("1e300") << QStringLiteral("\"1e300\"");
        QTest::newRow("three") << QByteArray("3") << QStringLiteral("\"3\"");
        QTest::newRow("minus one") << QByteArray("-1") << QStringLiteral("\"-1\"");
        QTest::newRow("largest 16-bit") << QByteArray("32767") << QStringLiteral("\"32767\"");
    }
    void damagedSwitchStartsUnchecked()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, reported);
        const QList<QByteArrayList> damagedKeys{{"AlarmON"}, {"ChimesON"}, {"AlarmON", "ChimesON"}};
        for (const QByteArrayList& damaged : damagedKeys) {
            Window window;
            QByteArray bytes = "[Main]\nFile=/s/alarm.wav\nHour=7\nMinute=30\nChime=/s/chime.wav\n";
            for (const QByteArray key : {"AlarmON", "ChimesON"})
                bytes += key + '=' + (damaged.contains(key) ? stored : "1") + '\n';
            QVERIFY(test::writeBytes(window.file(), bytes));

            test::StandardErrorCapture standardError;
            window.form.startUp(); // a damaged switch must not end the program here
            const QStringList lines = reportLines(standardError.text());
            QVERIFY(window.form.Visible());
            QVERIFY(window.world.messageBox.shown.isEmpty()); // not before the window is shown
            QTRY_COMPARE(window.world.messageBox.shown.size(), 1);
            QTest::qWait(50);
            QCOMPARE(window.world.messageBox.shown.size(), 1);
            const test::FakeMessageBox::Shown& message = window.world.messageBox.shown.first();
            QCOMPARE(message.style, platform::MessageBox::Exclamation);
            QVERIFY2(message.prompt.contains(QStringLiteral("until you set")), qPrintable(message.prompt));

            QCOMPARE(lines.size(), damaged.size());
            for (const QByteArray key : {"AlarmON", "ChimesON"}) {
                const bool isDamaged = damaged.contains(key);
                const QString named = QStringLiteral("%1 is %2").arg(QLatin1String(key), reported);
                QCOMPARE(window.box(key == "AlarmON" ? "chkAlarmClock" : "chkChimes").checkState(),
                         isDamaged ? Qt::Unchecked : Qt::Checked);
                QVERIFY2(message.prompt.contains(named) == isDamaged, qPrintable(message.prompt));
                QVERIFY2(lines.filter(named).size() == (isDamaged ? 1 : 0), qPrintable(lines.join(u'\n')));
            }
            QCOMPARE(window.shown().sound, QStringLiteral("/s/alarm.wav"));
            QCOMPARE(window.shown().minute, QStringLiteral("30"));
            QCOMPARE(test::readBytes(window.file()), bytes); // kept until the next Save

            window.choose("menuSave");
            for (const QByteArray& key : damaged)
                QCOMPARE(test::FreshReading(window.file()).get(QLatin1String(key)), QStringLiteral("0"));
        }
    }

    // A value in a file written by hand or by another program comes back exactly as it stands (quotes
    // around the whole value, blanks around it and the escapes QSettings writes are the format's); the
    // next Save writes it so that it comes back the same again.
    void handWrittenValuesComeBackAsTheyStand_data()
    {
        QTest::addColumn<QByteArray>("written"); // after "File="
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma") << QByteArray("/home/ann/Sounds/wake,up.wav")
                               << QStringLiteral("/home/ann/Sounds/wake,up.wav");
        QTest::newRow("comma and blank")
            << QByteArray("/s/one, two.wav") << QStringLiteral("/s/one, two.wav");
        QTest::newRow("comma and @") << QByteArray("/snd/a.wav, @b") << QStringLiteral("/snd/a.wav, @b");
        QTest::newRow("quoted commas") << QByteArray("\"/s/a, b,c.wav\"") << QStringLiteral("/s/a, b,c.wav");
        QTest::newRow("blanks around") << QByteArray("  /s/a.wav \t") << QStringLiteral("/s/a.wav");
        QTest::newRow("@ at the start") << QByteArray("@/s/a.wav") << QStringLiteral("@/s/a.wav");
        QTest::newRow("@ like a stored type") << QByteArray("@Invalid()") << QStringLiteral("@Invalid()");
        QTest::newRow("@ByteArray") << QByteArray("@ByteArray(/s/a.wav)")
                                    << QStringLiteral("@ByteArray(/s/a.wav)");
        QTest::newRow("@@ as QSettings writes @") << QByteArray("@@/s/a.wav") << QStringLiteral("@/s/a.wav");
        QTest::newRow("Windows path")
            << QByteArray("C:\\Sounds\\alarm.wav") << QStringLiteral("C:\\Sounds\\alarm.wav");
        QTest::newRow("backslashes, some like escapes")
            << QByteArray("/s/a\\b\\c.wav") << QStringLiteral("/s/a\\b\\c.wav");
        QTest::newRow("backslash at the end") << QByteArray("/s/dir\\") << QStringLiteral("/s/dir\\");
        QTest::newRow("escapes as QSettings writes them")
            << QByteArray("C:\\\\S\\\\a\\tb \\\"c\\\" caf\\xe9.wav")
            << QStringLiteral("C:\\S\\a\tb \"c\" caf\u00e9.wav");
        QTest::newRow("semicolon") << QByteArray("/s/a;b.wav") << QStringLiteral("/s/a;b.wav");
        QTest::newRow("quotes inside") << QByteArray("/s/\"q\".wav") << QStringLiteral("/s/\"q\".wav");
    }
    void handWrittenValuesComeBackAsTheyStand()
    {
        QFETCH(QByteArray, written);
        QFETCH(QString, shown);
        Window window;
        QVERIFY(test::writeBytes(window.file(), "[Main]\nFile=" + written + "\nHour=7\n"));
        window.form.startUp();
        QCOMPARE(window.text("txtSound").Text(), shown);
        QCOMPARE(window.text("txtHour").Text(), QStringLiteral("7"));
        window.choose("menuSave");
        QVERIFY(window.world.messageBox.shown.isEmpty());
        QCOMPARE(shownAfterRestart(window.file()).sound, shown);
    }

    // Stored hours and minutes go through the field rules on their way in: cut to two characters, then
    // clamped to 23 and 59. The file keeps what it holds until the next Save.
    void storedTimesPassTheFieldRules_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("shownHour");
        QTest::addColumn<QString>("shownMinute");
        QTest::newRow("above the maximums") << "45"
                                            << "75"
                                            << "23"
                                            << "59";
        QTest::newRow("three digits") << "456"
                                      << "599"
                                      << "23"
                                      << "59";
        QTest::newRow("cut to within") << "123"
                                       << "017"
                                       << "12"
                                       << "01";
        QTest::newRow("leading zeros kept") << "07"
                                            << "05"
                                            << "07"
                                            << "05";
    }
    void storedTimesPassTheFieldRules()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QString, shownHour);
        QFETCH(QString, shownMinute);
        Window window;
        const QByteArray bytes = QStringLiteral("[Main]\nHour=%1\nMinute=%2\n").arg(hour, minute).toUtf8();
        QVERIFY(test::writeBytes(window.file(), bytes));
        window.form.startUp();
        QCOMPARE(window.text("txtHour").Text(), shownHour);
        QCOMPARE(window.text("txtMinute").Text(), shownMinute);
        QCOMPARE(test::readBytes(window.file()), bytes);
    }

    // Lines the store cannot read are no error: what can be read is shown, the rest takes its default,
    // nothing is written or reported at start, and the next Save writes a clean file.
    void unreadableLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Shown>("expected");
        const Shown defaults;
        QTest::newRow("empty file") << QByteArray() << defaults;
        QTest::newRow("no section Main") << QByteArray("[Other]\nHour=5\nAlarmON=1\n") << defaults;
        QTest::newRow("keys outside any section") << QByteArray("Hour=5\nAlarmON=1\n") << defaults;
        QTest::newRow("garbage lines around the keys")
            << QByteArray(
                   "garbage line\n[Main]\nthis is not a key\nHour=7\n=no key\n;comment\nMinute=30\n}{\n")
            << Shown{QString(), QStringLiteral("7"), QStringLiteral("30"), QString(), 0, 0};
        static const char binary[] = "\x00\x01\xff\xfe\x80 garbage\n[Main]\nHour=7\n\x00\x00\xc3\x28\n"
                                     "ChimesON=1\n\xef\xbb\xbf\x1b[2J\n";
        QTest::newRow("binary bytes") << QByteArray(binary, sizeof binary - 1)
                                      << Shown{QString(), QStringLiteral("7"), QString(), QString(), 0, 1};
        QTest::newRow("section header without its bracket")
            << QByteArray("[Main]\nHour=7\n[broken\nAlarmON=1\n")
            << Shown{QString(), QStringLiteral("7"), QString(), QString(), 0, 0};
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = static_cast<char>((i * 7919 + 13) % 251);
        QTest::newRow("only binary noise") << noise << defaults;
    }
    void unreadableLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Shown, expected);
        Window window;
        QVERIFY(test::writeBytes(window.file(), bytes));
        test::StandardErrorCapture standardError;
        window.form.startUp();
        QCOMPARE(reportLines(standardError.text()), QStringList{});
        QCOMPARE(window.shown(), expected);
        QVERIFY(window.world.messageBox.shown.isEmpty());
        QCOMPARE(test::readBytes(window.file()), bytes);
        QCOMPARE(test::entriesOf(window.world.settingsFolder.path()), QStringList{FileName});

        // Save over it: no message (Qt complains about reading such a file, but it can be written), and
        // the file then holds the window's values.
        const Shown now{QStringLiteral("/s/a.wav"), QStringLiteral("8"),         QStringLiteral("9"),
                        QStringLiteral("/s/c.wav"), platform::CheckBox::Checked, platform::CheckBox::Grayed};
        window.show(now);
        window.choose("menuSave");
        QVERIFY(window.world.messageBox.shown.isEmpty());
        QCOMPARE(shownAfterRestart(window.file()), now);
    }

    // A FIFO or a folder where the settings file belongs: the clock starts at once, with the defaults,
    // and says so once the window is shown; Save says why it cannot write and leaves it in place.
    void storeThatCannotBeRead_data()
    {
        QTest::addColumn<bool>("fifo"); // else a folder
        QTest::addColumn<QString>("why");
        QTest::newRow("FIFO") << true << QStringLiteral("is not a regular file");
        QTest::newRow("folder") << false << QStringLiteral("is a folder");
    }
    void storeThatCannotBeRead()
    {
        QFETCH(bool, fifo);
        QFETCH(QString, why);
        Window window;
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(window.file()).constData(), 0600), 0);
        else
            QVERIFY(QDir().mkdir(window.file()));
        window.form.startUp(); // reading the FIFO would block here for good
        QCOMPARE(window.shown(), Shown{});
        QTRY_COMPARE(window.world.messageBox.shown.size(), 1);
        const QString read = window.world.messageBox.shown.first().prompt;
        QVERIFY2(read.contains(QStringLiteral("could not be read")) && read.contains(window.file()) &&
                     read.contains(why),
                 qPrintable(read));

        window.choose("menuSave");
        QCOMPARE(window.world.messageBox.shown.size(), 2);
        const QString saved = window.world.messageBox.shown.last().prompt;
        QVERIFY2(saved.contains(QStringLiteral("could not be saved")) && saved.contains(why),
                 qPrintable(saved));
        QCOMPARE(QFileInfo(window.file()).isFile(), false);
    }

    // A store that cannot be written: Save says so and why, in an exclamation box; the window keeps its
    // values; the file on disk is the old one, byte for byte, with nothing left beside it; and once the
    // cause is gone the next Save writes what is on screen, and nothing of the failed attempt.
    void storeThatCannotBeWritten_data()
    {
        QTest::addColumn<Condition>("condition");
        QTest::addColumn<QString>("why"); // in the message
        QTest::newRow("read-only file") << Condition::ReadOnlyFile << QStringLiteral("is not writable");
        QTest::newRow("read-only folder") << Condition::ReadOnlyFolder << QStringLiteral("Permission denied");
        QTest::newRow("damaged file in a read-only folder")
            << Condition::DamagedFileInReadOnlyFolder << QStringLiteral("Permission denied");
        QTest::newRow("the folder is a file") << Condition::FolderIsAFile << QStringLiteral("is a file");
        QTest::newRow("write fails part-way") << Condition::WriteFailsPartWay << QStringLiteral("failed");
    }
    void storeThatCannotBeWritten()
    {
        QFETCH(Condition, condition);
        QFETCH(QString, why);

        // The store lives in base/config, which belongs to the user the test acts as (OrdinaryUser).
        test::UsersConfigFolder config;
        QVERIFY(config.create());
        const QString folder = config.folder();
        const QString file = folder + u'/' + FileName;
        platform::SettingsStore store(test::str(folder));

        QByteArray before = "[Main]\nFile=/s/old.wav\nHour=6\nMinute=15\nAlarmON=0\nChime=/s/oldchime.wav\n"
                            "ChimesON=0\n";
        if (condition == Condition::DamagedFileInReadOnlyFolder)
            before += "[broken\n";
        const bool folderIsAFile = condition == Condition::FolderIsAFile;
        if (folderIsAFile) {
            QVERIFY(QDir().rmdir(folder));
            before = "not a folder\n";
            QVERIFY(test::writeBytes(folder, before));
        } else {
            QVERIFY(test::writeBytes(file, before));
            QVERIFY(test::OrdinaryUser::handOver(file));
        }
        const QString target = folderIsAFile ? folder : file;
        const QString around = folderIsAFile ? config.base() : folder;
        const QStringList entriesBefore = test::entriesOf(around);

        Window window(&store);
        window.form.startUp();
        window.show(Shown{QStringLiteral("/s/new.wav"), QStringLiteral("7"), QStringLiteral("30"),
                          QStringLiteral("/s/newchime.wav"), platform::CheckBox::Checked,
                          platform::CheckBox::Checked});
        if (condition == Condition::DamagedFileInReadOnlyFolder) {
            // Edited while the clock runs: Save reads the file again, and meets its damage first.
            QFile edited(file);
            QVERIFY(edited.open(QIODevice::ReadWrite));
            QVERIFY(edited.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                       QFileDevice::FileModificationTime));
        }
        if (condition == Condition::WriteFailsPartWay) // a file far larger than the limit below
            window.text("txtSound")
                .setText(QStringLiteral("/s/") + QString(4000, u'n') + QStringLiteral(".wav"));
        const Shown attempted = window.shown();

        {
            test::OrdinaryUser user;
            QVERIFY(test::OrdinaryUser::inEffect());
            std::optional<test::FileSizeLimit> limit;
            switch (condition) {
            case Condition::ReadOnlyFile:
                QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
                QVERIFY2(!QFile(file).open(QIODevice::ReadWrite),
                         "the file can still be written: the test would prove nothing");
                break;
            case Condition::ReadOnlyFolder:
            case Condition::DamagedFileInReadOnlyFolder:
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                          QFile::ExeOther));
                QVERIFY2(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly),
                         "the folder still takes new files: the test would prove nothing");
                break;
            case Condition::FolderIsAFile:
                break;
            case Condition::WriteFailsPartWay:
                limit.emplace(1024); // room for the lock file, not for the new copy
                break;
            }

            window.choose("menuSave"); // an error leaving the handler would fail the test here

            QCOMPARE(window.world.messageBox.shown.size(), 1);
            const test::FakeMessageBox::Shown& message = window.world.messageBox.shown.first();
            QCOMPARE(message.style, platform::MessageBox::Exclamation);
            QCOMPARE(message.title, QStringLiteral("Wobblix Clock"));
            QVERIFY2(message.prompt.startsWith(QStringLiteral("The settings could not be saved.")),
                     qPrintable(message.prompt));
            QVERIFY2(message.prompt.contains(why) && message.prompt.contains(folder),
                     qPrintable(message.prompt));
            QCOMPARE(window.shown(), attempted);
            QCOMPARE(test::readBytes(target), before); // none of the six values written
            QCOMPARE(test::entriesOf(around), entriesBefore);
            // In this process too the store still holds the old values.
            QCOMPARE(store.Read(u"Wobblix", u"Main").GetSetting(u"Hour", u"<absent>"),
                     folderIsAFile ? QStringLiteral("<absent>") : QStringLiteral("6"));

            // Take the cause away again, as the user the test acts as.
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        }
        if (folderIsAFile)
            QVERIFY(QFile::remove(folder));

        // Nothing lost: the next Save writes what is on screen. The hour, now cleared, keeps the value
        // stored before: the failed attempt's "7" must not come back from memory.
        window.text("txtHour").setText(QString());
        window.choose("menuSave");
        QCOMPARE(window.world.messageBox.shown.size(), 1);
        const test::FreshReading stored(file);
        QCOMPARE(stored.get(QStringLiteral("File")), attempted.sound);
        QCOMPARE(stored.get(QStringLiteral("Hour")),
                 folderIsAFile ? QStringLiteral("<absent>") : QStringLiteral("6"));
        QCOMPARE(stored.get(QStringLiteral("Minute")), attempted.minute);
        QCOMPARE(stored.get(QStringLiteral("AlarmON")), QStringLiteral("1"));
        QCOMPARE(stored.get(QStringLiteral("Chime")), attempted.chime);
        QCOMPARE(stored.get(QStringLiteral("ChimesON")), QStringLiteral("1"));
    }

    // The real message box for such a failure: a warning icon, an OK button, the cause in the text; the
    // window stays.
    void failureMessageIsAnExclamationBox()
    {
        QTemporaryDir base;
        const QString notAFolder = base.filePath(QStringLiteral("config"));
        QVERIFY(test::writeBytes(notAFolder, "x"));
        platform::SettingsStore store(test::str(notAFolder));
        test::FakePlatform world;
        platform::SystemMessageBox boxes;
        MainForm form(platform::Platform{world.clock, boxes, world.sound, world.fileDialog, world.notifyArea,
                                         store, world.application});
        form.startUp();
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->accept();
        });
        platform::qt::window(form).findChild<QAction*>(QStringLiteral("menuSave"))->trigger();
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(text.contains(QStringLiteral("could not be saved")) && text.contains(notAFolder),
                 qPrintable(text));
        QVERIFY(form.Visible());
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settings_window.moc"

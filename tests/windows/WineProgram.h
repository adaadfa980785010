// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

// The Windows program, WobblixClock.exe, run under Wine inside the test session (tests/windows/
// wine-session.sh within tests/session/desktop-session.sh) and driven from outside as a person would:
// keys and clicks through the X server (xdotool), and what the window shows read through
// wobblix-driver.exe, which asks the window itself with window messages, as UI automation does.
namespace wobblix::test {

// A program's end: its exit status (-1 when it did not end in time) and what it wrote.
struct Ran {
    int status = -1;
    QString output; // standard output, trimmed
    QString errors; // standard error, trimmed
};

// In a test function: the program ran to its end with status 0; otherwise fails with its status and its
// standard error (where Wine reports a crash).
#define WINE_VERIFY_RAN(ran)                                                                                 \
    do {                                                                                                     \
        const ::wobblix::test::Ran ran_ = (ran);                                                             \
        QVERIFY2(ran_.status == 0,                                                                           \
                 qPrintable(QStringLiteral("status %1: %2").arg(ran_.status).arg(ran_.errors)));             \
    } while (false)

// A Linux program run to its end (timed out: status -1), with the time zone of wine::setTimeZone().
Ran runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 30000);

// The tools these tests drive the session with that are missing, each with the Debian package that
// brings it; empty when all are there.
QString missingTools();

// The Wine prefix of the session (WINEPREFIX), shared by every Wine process of a test.
namespace wine {

// A Wine program run to its end, with the time zone of setTimeZone().
Ran run(const QStringList& arguments, int timeoutMs = 30000);
// wobblix-driver.exe with these arguments.
Ran driver(const QStringList& arguments, int timeoutMs = 30000);

// The Linux path of a path on the prefix's C: drive ("tone.wav" is C:\tone.wav).
QString onDriveC(const QString& relative);

// Every later Wine process sees its local time in this zone (a POSIX TZ text such as "UTC-3:17:25",
// local time being 3:17:25 ahead of UTC), or the session's own for an empty text. The prefix's
// wineserver keeps the zone it started with, so it is stopped here, with every Wine process of the
// prefix.
void setTimeZone(const QString& zone);
// The zone text that puts local time `secondsAhead` seconds ahead of UTC.
QString zoneAhead(qint64 secondsAhead);
// Stops every Wine process of the prefix and its wineserver, so that the next one started reads the
// prefix's registry afresh.
void stopPrefix();

// A registry key as `wine reg export` writes it (UTF-16, decoded here); empty when there is no such key.
QString exportedKey(const QString& key);
// One value of that key itself (not of its subkeys) as the export writes it: a text as the text, binary
// data short enough for one line of the export as its bytes in hex ("0300..."), anything else as written
// after "NAME"=; empty when there is none.
QString exportedValue(const QString& key, const QString& name);
// The clock's settings in the registry: HKCU\Software\VB and VBA Program Settings\Wobblix\Main.
QMap<QString, QString> storedSettings();
// Replaces the key's values by these (none: the key is removed).
bool storeSettings(const QMap<QString, QString>& values);
// One key of a registry file with these text values, for importRegistry; HKCU may stand for
// HKEY_CURRENT_USER.
QString registrySection(const QString& key, const QMap<QString, QString>& values);
// Imports the keys of a registry file (what follows its first line; "[-KEY]" deletes one) with
// `wine reg import`.
bool importRegistry(const QString& sections);

// The streams that process `pid` plays on the session's sound server, as `pactl` lists them.
int streamsOf(qint64 pid);

// The notification-area icons that Wine shows in the session's trayer panel: the mapped X windows of
// Wine's explorer inside the panel, as xdotool names them.
QStringList trayIcons();

} // namespace wine

// One control or dialog item, as the driver reports it: its place in pixels in its parent's client area.
struct WineControl {
    QString handle; // empty: no such control
    QString parent;
    int id = 0;
    QString className;
    bool visible = false;
    bool enabled = false;
    bool tabStop = false;
    QRect place;
    QString text;
};

// The clock's controls as the window description places them: name, container (empty for the window),
// class, caption and place in twips. Picture boxes have the program's own class, written "picture" here.
struct ControlDescription {
    QString name;
    QString container;
    QString className;
    QString caption;
    QRect twips;
    bool enabled = true;
    bool visible = true;
    QRect pixels() const
    {
        return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    }
};
const QList<ControlDescription>& windowDescription();

// A dialog box (#32770): its handle, its static texts and its buttons (id, caption).
struct WineDialog {
    QString handle; // empty: none came
    QStringList texts;
    QList<std::pair<int, QString>> buttons;
};
WineDialog findDialog(const QString& title, int waitMs = 10000);
QList<WineControl> controlsOf(const QString& handle);
// A check box's state: 0 unchecked, 1 checked, 2 grayed; -1 when unreadable.
int checkState(const QString& handle);

// Which WobblixClock.exe runs: the program itself, whose manifest asks for UTF-8 as its code page, or its
// copy for the tests (tests/windows/system-code-page/), which runs in the system's code page, 1252 here.
enum class CodePage { Utf8, System };

// One run of WobblixClock.exe; the destructor ends a run that is still going.
class WineProgram {
public:
    explicit WineProgram(CodePage codePage = CodePage::Utf8);
    ~WineProgram();
    WineProgram(const WineProgram&) = delete;
    WineProgram& operator=(const WineProgram&) = delete;

    // Starts the program and waits (ten seconds at most) until its main window is shown. False when
    // it did not start or no window came.
    bool start();
    qint64 pid() const { return m_process.processId(); }
    // The process's id as Windows knows it (Wine's own numbering).
    qint64 windowsPid() const { return windowRecord().value(QStringLiteral("pid")).toLongLong(); }
    QString window() const { return m_window; }

    // The driver's record of the main window: "title", "client" ("X Y W H"), "frame", "minimizebox"...
    QMap<QString, QString> windowRecord() const;
    bool isShown() const { return windowRecord().value(QStringLiteral("visible")) == QLatin1String("1"); }

    // The control of that name in the window description, found by its place; empty handle if none.
    WineControl control(const QString& name) const;
    QString text(const QString& name) const;
    // A check box's state: 0 unchecked, 1 checked, 2 grayed; -1 when unreadable.
    int check(const QString& name) const;
    bool setText(const QString& name, const QString& text) const;
    // The name of the control with the keyboard focus ("MainForm" for the window itself, the handle
    // for anything else), and the active window's handle.
    QString focus() const;
    QString activeWindow() const;

    // Keys as the keyboard sends them (xdotool key names) and text as typed, to the window after it is
    // given the X server's keyboard focus.
    void keys(const QStringList& names) const;
    void type(const QString& text) const;
    // A click of the left button in the middle of the control.
    void click(const QString& name) const;
    // Opens the menu bar with F10 and sends these keys (Escape first, so an open menu is closed).
    void menu(const QStringList& names) const;

    // Options > Exit, and whether the process then ended with status 0 (five seconds at most).
    bool exit();
    // Whether the process ends, however it ends, within timeoutMs.
    bool ends(int timeoutMs);
    // Ends the process at once (SIGKILL), as Windows ends a program when the session ends.
    void kill();
    // How the run stands, for a failure message.
    QByteArray state();

private:
    quint64 xWindow() const;
    QPoint onScreen(const WineControl& control) const;

    CodePage m_codePage;
    QProcess m_process;
    QString m_window;
    mutable quint64 m_xWindow = 0;
    mutable QList<WineControl> m_controls; // read once: the program never adds or moves a control
};

} // namespace wobblix::test

Q_DECLARE_METATYPE(wobblix::test::CodePage)

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows clock as a Windows user gets it, under Wine: the installer run silently, the installed
// clock started, one clock per user (a second start, a start after a crash), an update over a running
// clock, and the silent uninstall that leaves the settings. The cases run in order, on one Wine prefix,
// each on what the one before left: installed, then running, then removed.
// The start at sign-in too: what an install and an update leave of it, and the clock it starts.
//   tests/session/desktop-session.sh tests/windows/wine-session.sh tst_wine_install
// The installer and the driver come from the Windows build that the Linux build makes (tests/windows).

#include "WineProgram.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

using namespace wobblix::test;

namespace {

// A wine process start takes about half a second here; a second start hands over in a fraction of that.
constexpr int StartTimeoutMs = 15000;

const QString Title = QStringLiteral("Wobblix Clock");
const QString UninstallKey =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WobblixClock");
const QString SettingsKey = QStringLiteral("HKCU\\Software\\VB and VBA Program Settings\\Wobblix\\Main");
// The start at sign-in: a value of the user's Run key, and the record of the same name that Task Manager
// (or Settings, Apps, Startup) writes when the user turns it off or on there.
const QString RunKey = QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString StartupApprovedKey =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run");
const QString SignInValue = QStringLiteral("Wobblix Clock");
// Turned off: 03 00 00 00, then when (a FILETIME, here 2016-07-08 12:48 UTC), as Task Manager wrote it.
const QString TurnedOffRecord = QStringLiteral("030000001779bd0117d9d101");
// The command of an earlier install in another folder.
const QString EarlierCommand = QStringLiteral("\"C:\\Earlier Folder\\WobblixClock.exe\"");

enum class SignIn { None, On, TurnedOff };

// A window record of the driver: window HWND PID CLASS visible|hidden TITLE.
struct WindowRecord {
    QString hwnd;
    bool visible = false;
};

} // namespace

Q_DECLARE_METATYPE(SignIn)

class tst_WineInstall : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void silentInstall();
    void uninstallEntry_data();
    void uninstallEntry();
    void installedClockStarts();
    void secondStart_data();
    void secondStart();
    void startAfterCrash();
    void updateClosesRunningClock();
    void updateKeepsSignInChoice_data();
    void updateKeepsSignInChoice();
    void updateAsksSignInChoice_data();
    void updateAsksSignInChoice();
    void signInStartsOneClock();
    void silentUninstallLeavesSettings();
    void silentInstallWithoutSignIn();
    void cleanupTestCase();

private:
    // The clock's main window as the driver finds it, waiting up to waitMs; empty hwnd when there is none.
    WindowRecord clockWindow(int waitMs = 0) const;
    void startClock();
    void hideClock();
    void minimiseClock(const QString& hwnd);
    void takeFocusAway();

    QStringList signInEntry() const;
    // The entry in that state, naming the installed clock's program unless it names another.
    QStringList entryOf(SignIn state, const QString& command = QString()) const;
    bool setSignInEntry(SignIn state, const QString& command);
    QString buttonOf(const QString& window, const QString& caption) const;
    bool pressWhenShown(const QString& window, const QString& caption) const;

    QString m_prefix;
    QString m_installer;
    QString m_programs;  // the prefix's user's %LOCALAPPDATA%\Programs, as a Linux path
    QString m_startMenu; // the user's Start menu\Programs
    QString m_installDir;
    QString m_windowsInstallDir; // the same folder as Windows names it
    QString m_entryCommand;      // the command of the installed clock's start at sign-in
    QProcess m_clock;            // the clock started by the test, its Linux process
    QProcess m_other;            // another program, in front of the clock
};

void tst_WineInstall::initTestCase()
{
    const QString missing = missingTools();
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    m_prefix = qEnvironmentVariable("WINEPREFIX");
    QVERIFY2(!m_prefix.isEmpty(),
             "run inside tests/session/desktop-session.sh tests/windows/wine-session.sh");
    m_installer = QStringLiteral(WOBBLIX_WINDOWS_BUILD "/wobblix-clock-1.00-setup.exe");
    QVERIFY2(QFile::exists(m_installer),
             qPrintable(m_installer + QStringLiteral(" is missing: build it with scripts/build-windows")));

    // Wine names the prefix's user after the Linux user.
    const QStringList users =
        QDir(m_prefix + QStringLiteral("/drive_c/users")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QString user;
    for (const QString& name : users)
        if (name != QLatin1String("Public"))
            user = name;
    QVERIFY2(!user.isEmpty(), qPrintable(users.join(u' ')));
    const QString home = m_prefix + QStringLiteral("/drive_c/users/") + user;
    m_programs = home + QStringLiteral("/AppData/Local/Programs");
    m_startMenu = home + QStringLiteral("/AppData/Roaming/Microsoft/Windows/Start Menu/Programs");
    m_installDir = m_programs + QStringLiteral("/Wobblix Clock");
    m_windowsInstallDir = QStringLiteral("C:\\users\\%1\\AppData\\Local\\Programs\\Wobblix Clock").arg(user);
    // Quoted, for the folder's name has a space: unquoted, Windows would look for C:\users\...\Wobblix first.
    m_entryCommand = u'"' + m_windowsInstallDir + QStringLiteral("\\WobblixClock.exe\"");
    QVERIFY2(!QFile::exists(m_installDir), "the prefix already holds an installed clock");
}

// The installer, run as Apps & features' silent installs are, needs no answer and installs for the user;
// without /AUTOSTART, a first install starts the clock at sign-in.
void tst_WineInstall::silentInstall()
{
    WINE_VERIFY_RAN(wine::run({m_installer, QStringLiteral("/S")}));
    for (const char* file : {"WobblixClock.exe", "uninstall.exe", "LICENSE.txt"})
        QVERIFY2(QFile::exists(m_installDir + u'/' + QLatin1String(file)), file);
    QVERIFY(QFile::exists(m_startMenu + QStringLiteral("/Wobblix Clock.lnk")));
    QCOMPARE(signInEntry(), entryOf(SignIn::On));
}

void tst_WineInstall::uninstallEntry_data()
{
    QTest::addColumn<QString>("line");
    const QString dir = QString(m_windowsInstallDir).replace(u'\\', QStringLiteral("\\\\"));
    QTest::newRow("DisplayName") << QStringLiteral("\"DisplayName\"=\"Wobblix Clock\"");
    QTest::newRow("DisplayVersion") << QStringLiteral("\"DisplayVersion\"=\"1.00\"");
    QTest::newRow("Publisher") << QStringLiteral("\"Publisher\"=\"Wobblix Clock developers\"");
    QTest::newRow("DisplayIcon") << QStringLiteral("\"DisplayIcon\"=\"%1\\\\WobblixClock.exe,0\"").arg(dir);
    QTest::newRow("UninstallString")
        << QStringLiteral("\"UninstallString\"=\"\\\"%1\\\\uninstall.exe\\\"\"").arg(dir);
    QTest::newRow("QuietUninstallString")
        << QStringLiteral("\"QuietUninstallString\"=\"\\\"%1\\\\uninstall.exe\\\" /S\"").arg(dir);
    QTest::newRow("NoModify") << QStringLiteral("\"NoModify\"=dword:00000001");
    QTest::newRow("NoRepair") << QStringLiteral("\"NoRepair\"=dword:00000001");
}

// The entry in the user's Apps & features, read as the registry holds it.
void tst_WineInstall::uninstallEntry()
{
    QFETCH(QString, line);
    const QStringList lines = wine::exportedKey(UninstallKey).split(QStringLiteral("\r\n"));
    QVERIFY2(lines.contains(line), qPrintable(lines.join(u'\n')));
    // The size in KiB: the program, the uninstaller and the licence, some hundreds of KiB.
    const QRegularExpression size(QStringLiteral("^\"EstimatedSize\"=dword:([0-9a-f]{8})$"));
    const auto estimated = lines.filter(size);
    QCOMPARE(estimated.size(), 1);
    const int kib = size.match(estimated.first()).captured(1).toInt(nullptr, 16);
    QVERIFY2(kib > 100 && kib < 10000, qPrintable(estimated.first()));
}

// The program the shortcut names starts and shows its window.
void tst_WineInstall::installedClockStarts()
{
    startClock();
    const WindowRecord window = clockWindow(StartTimeoutMs);
    QVERIFY(!window.hwnd.isEmpty());
    QVERIFY(window.visible);
}

void tst_WineInstall::secondStart_data()
{
    QTest::addColumn<QString>("away");
    QTest::newRow("shown, another window in front") << QStringLiteral("behind");
    QTest::newRow("hidden in the notification area") << QStringLiteral("hidden");
    QTest::newRow("minimised") << QStringLiteral("minimised");
}

// A second start brings the running clock forward, shown, restored and with the focus, and ends; the first
// clock runs on.
void tst_WineInstall::secondStart()
{
    QFETCH(QString, away);
    const WindowRecord before = clockWindow();
    QVERIFY(!before.hwnd.isEmpty());
    if (away == QLatin1String("hidden"))
        hideClock();
    else if (away == QLatin1String("minimised"))
        minimiseClock(before.hwnd);
    else
        takeFocusAway();

    WINE_VERIFY_RAN(wine::run({m_installDir + QStringLiteral("/WobblixClock.exe")}, StartTimeoutMs));
    QTRY_VERIFY_WITH_TIMEOUT(clockWindow().visible, 5000);
    QCOMPARE(clockWindow().hwnd, before.hwnd);
    QVERIFY(wine::driver({QStringLiteral("window"), before.hwnd})
                .output.contains(QStringLiteral("minimized\t0")));
    QTRY_VERIFY_WITH_TIMEOUT(wine::driver({QStringLiteral("focus"), before.hwnd})
                                 .output.contains(QStringLiteral("active\t") + before.hwnd),
                             5000);
    QCOMPARE(m_clock.state(), QProcess::Running);
    // One clock: one window of that title in the prefix.
    const QStringList windows = wine::driver({QStringLiteral("windows")}).output.split(u'\n');
    QCOMPARE(windows.filter(QRegularExpression(QStringLiteral("\tvisible\tWobblix Clock$"))).size(), 1);
}

// A clock that crashed leaves nothing that stops the next start from being the clock.
void tst_WineInstall::startAfterCrash()
{
    QCOMPARE(m_clock.state(), QProcess::Running);
    m_clock.kill(); // SIGKILL: the clock has no chance to clean up
    QVERIFY(m_clock.waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(clockWindow().hwnd.isEmpty(), 5000);
    startClock();
    QVERIFY(!clockWindow(StartTimeoutMs).hwnd.isEmpty());
    // It stays: it is the clock, not a start that handed over.
    QVERIFY(!m_clock.waitForFinished(2000));
    // And the next start hands over to it.
    WINE_VERIFY_RAN(wine::run({m_installDir + QStringLiteral("/WobblixClock.exe")}, StartTimeoutMs));
    QCOMPARE(m_clock.state(), QProcess::Running);
}

// Installing again over a running clock ends that clock first and replaces the program.
void tst_WineInstall::updateClosesRunningClock()
{
    QCOMPARE(m_clock.state(), QProcess::Running);
    WINE_VERIFY_RAN(wine::run({m_installer, QStringLiteral("/S")}));
    QVERIFY(m_clock.waitForFinished(5000));
    QVERIFY(QFile::exists(m_installDir + QStringLiteral("/WobblixClock.exe")));
}

void tst_WineInstall::updateKeepsSignInChoice_data()
{
    QTest::addColumn<SignIn>("before");
    QTest::addColumn<QString>("answer"); // the installer's switch; none when empty
    QTest::addColumn<int>("status");     // the installer's exit status
    QTest::addColumn<SignIn>("after");
    QTest::newRow("on, kept") << SignIn::On << QString() << 0 << SignIn::On;
    QTest::newRow("off, kept") << SignIn::None << QString() << 0 << SignIn::None;
    QTest::newRow("turned off in Task Manager, kept")
        << SignIn::TurnedOff << QString() << 0 << SignIn::TurnedOff;
    QTest::newRow("turned off, /AUTOSTART=1 turns it on")
        << SignIn::TurnedOff << QStringLiteral("/AUTOSTART=1") << 0 << SignIn::On;
    QTest::newRow("on, /AUTOSTART=0 removes it")
        << SignIn::On << QStringLiteral("/AUTOSTART=0") << 0 << SignIn::None;
    QTest::newRow("turned off, /AUTOSTART=0 leaves it off")
        << SignIn::TurnedOff << QStringLiteral("/AUTOSTART=0") << 0 << SignIn::TurnedOff;
    // A mistyped switch installs nothing, rather than taking a default the user did not give.
    QTest::newRow("/AUTOSTART=yes refused")
        << SignIn::TurnedOff << QStringLiteral("/AUTOSTART=yes") << 2 << SignIn::TurnedOff;
}

// A silent update over an install whose entry names an earlier install's program, in another folder: the
// choice as it stands unless the switch says otherwise, the entry then naming this install's program.
void tst_WineInstall::updateKeepsSignInChoice()
{
    QFETCH(SignIn, before);
    QFETCH(QString, answer);
    QFETCH(int, status);
    QFETCH(SignIn, after);
    QVERIFY(setSignInEntry(before, EarlierCommand));
    QStringList arguments{m_installer, QStringLiteral("/S")};
    if (!answer.isEmpty())
        arguments << answer;
    const Ran ran = wine::run(arguments);
    QVERIFY2(ran.status == status,
             qPrintable(QStringLiteral("status %1: %2").arg(ran.status).arg(ran.errors)));
    QCOMPARE(signInEntry(), entryOf(after, status == 0 ? m_entryCommand : EarlierCommand));
}

void tst_WineInstall::updateAsksSignInChoice_data()
{
    QTest::addColumn<SignIn>("before");
    QTest::addColumn<int>("checked"); // the box as the page shows it, before the user clicks it
    QTest::addColumn<SignIn>("after");
    QTest::newRow("on: ticked; unticked, removed") << SignIn::On << 1 << SignIn::None;
    // Last, so that the next case finds the entry as the installer wrote it.
    QTest::newRow("turned off in Task Manager: not ticked; ticked, on")
        << SignIn::TurnedOff << 0 << SignIn::On;
}

// An interactive update asks on a page of its own before it copies the files, the box showing the choice
// as it stands; the user's click on it is what the install then leaves.
void tst_WineInstall::updateAsksSignInChoice()
{
    QFETCH(SignIn, before);
    QFETCH(int, checked);
    QFETCH(SignIn, after);
    QVERIFY(setSignInEntry(before, m_entryCommand));
    QProcess setup;
    setup.start(QStringLiteral("wine"), {m_installer});
    QVERIFY(setup.waitForStarted());
    const auto stop = qScopeGuard([&setup] {
        if (setup.state() != QProcess::NotRunning) {
            setup.kill();
            setup.waitForFinished();
        }
    });
    const QString wizard = wine::driver({QStringLiteral("find"), QStringLiteral("Wobblix Clock Setup"),
                                         QString::number(StartTimeoutMs)})
                               .output.section(u'\t', 1, 1);
    QVERIFY(!wizard.isEmpty());
    // Welcome, licence, folder: each page's Next has a caption of its own, so that a press lands on the
    // page it was meant for.
    for (const char* caption : {"Next >", "I Agree", "Next >"})
        QVERIFY2(pressWhenShown(wizard, QLatin1String(caption)), caption);
    QString box;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(box = buttonOf(wizard, QStringLiteral("Start Wobblix Clock when I sign in"))).isEmpty(), 10000);
    QCOMPARE(checkState(box), checked);
    WINE_VERIFY_RAN(wine::driver({QStringLiteral("click"), box}));
    QTRY_COMPARE_WITH_TIMEOUT(checkState(box), 1 - checked, 5000);
    QVERIFY(pressWhenShown(wizard, QStringLiteral("Install")));
    // The last page: its own box would start the clock, which the next case does at sign-in instead.
    QString start;
    QTRY_VERIFY_WITH_TIMEOUT(!(start = buttonOf(wizard, QStringLiteral("Start Wobblix Clock"))).isEmpty(),
                             20000);
    WINE_VERIFY_RAN(wine::driver({QStringLiteral("click"), start}));
    QTRY_COMPARE_WITH_TIMEOUT(checkState(start), 0, 5000);
    QVERIFY(pressWhenShown(wizard, QStringLiteral("Finish")));
    QVERIFY(setup.waitForFinished(10000));
    QCOMPARE(setup.exitCode(), 0);
    QCOMPARE(signInEntry(), entryOf(after));
}

// Windows runs the entry's command at each sign-in, as CreateProcess parses it; Wine's wineboot does the
// same with the user's Run values. Started so, the clock is the one clock: the user's next start brings
// it back from the notification area, and ends.
void tst_WineInstall::signInStartsOneClock()
{
    QCOMPARE(signInEntry(), entryOf(SignIn::On));
    QVERIFY(clockWindow().hwnd.isEmpty());
    WINE_VERIFY_RAN(wine::run({QStringLiteral("wineboot")}));
    const WindowRecord started = clockWindow(StartTimeoutMs);
    QVERIFY(!started.hwnd.isEmpty());
    QVERIFY(started.visible);
    hideClock();
    WINE_VERIFY_RAN(wine::run({m_installDir + QStringLiteral("/WobblixClock.exe")}, StartTimeoutMs));
    QTRY_VERIFY_WITH_TIMEOUT(clockWindow().visible, 5000);
    QCOMPARE(clockWindow().hwnd, started.hwnd);
    const QStringList windows = wine::driver({QStringLiteral("windows")}).output.split(u'\n');
    QCOMPARE(windows.filter(QRegularExpression(QStringLiteral("\tvisible\tWobblix Clock$"))).size(), 1);
}

// Apps & features' silent uninstall takes away the program, its shortcut, its entry and its start at
// sign-in (with what Task Manager recorded of it), and keeps the settings the user saved.
void tst_WineInstall::silentUninstallLeavesSettings()
{
    QVERIFY(setSignInEntry(SignIn::TurnedOff, m_entryCommand));
    WINE_VERIFY_RAN(wine::run({QStringLiteral("reg"), QStringLiteral("add"), SettingsKey,
                               QStringLiteral("/v"), QStringLiteral("AlarmHour"), QStringLiteral("/d"),
                               QStringLiteral("7"), QStringLiteral("/f")}));
    // The uninstaller hands over to a copy of itself outside the folder it removes, and ends.
    WINE_VERIFY_RAN(wine::run({m_installDir + QStringLiteral("/uninstall.exe"), QStringLiteral("/S")}));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(m_installDir), 20000);
    QVERIFY(!QFile::exists(m_startMenu + QStringLiteral("/Wobblix Clock.lnk")));
    QTRY_VERIFY_WITH_TIMEOUT(wine::exportedKey(UninstallKey).isEmpty(), 10000);
    QVERIFY(wine::exportedKey(SettingsKey)
                .split(QStringLiteral("\r\n"))
                .contains(QStringLiteral("\"AlarmHour\"=\"7\"")));
    QTRY_COMPARE_WITH_TIMEOUT(signInEntry(), entryOf(SignIn::None), 10000);
}

// A first install told /AUTOSTART=0 leaves the start at sign-in out.
void tst_WineInstall::silentInstallWithoutSignIn()
{
    WINE_VERIFY_RAN(wine::run({m_installer, QStringLiteral("/S"), QStringLiteral("/AUTOSTART=0")}));
    QVERIFY(QFile::exists(m_installDir + QStringLiteral("/WobblixClock.exe")));
    QCOMPARE(signInEntry(), entryOf(SignIn::None));
}

void tst_WineInstall::cleanupTestCase()
{
    for (QProcess* process : {&m_clock, &m_other})
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
}

// The start at sign-in as the registry holds it: the Run value's command and Task Manager's record.
QStringList tst_WineInstall::signInEntry() const
{
    return {wine::exportedValue(RunKey, SignInValue), wine::exportedValue(StartupApprovedKey, SignInValue)};
}

QStringList tst_WineInstall::entryOf(SignIn state, const QString& command) const
{
    const QString named = command.isEmpty() ? m_entryCommand : command;
    switch (state) {
    case SignIn::On:
        return {named, QString()};
    case SignIn::TurnedOff:
        return {named, TurnedOffRecord};
    case SignIn::None:
        break;
    }
    return {QString(), QString()};
}

// Leaves the entry as a case begins with it, as the installer, and Task Manager, write it; false when
// it does not read back so.
bool tst_WineInstall::setSignInEntry(SignIn state, const QString& command)
{
    for (const QString& key : {RunKey, StartupApprovedKey})
        wine::run({QStringLiteral("reg"), QStringLiteral("delete"), key, QStringLiteral("/v"), SignInValue,
                   QStringLiteral("/f")});
    if (state != SignIn::None)
        wine::run({QStringLiteral("reg"), QStringLiteral("add"), RunKey, QStringLiteral("/v"), SignInValue,
                   QStringLiteral("/t"), QStringLiteral("REG_SZ"), QStringLiteral("/d"), command,
                   QStringLiteral("/f")});
    if (state == SignIn::TurnedOff)
        wine::run({QStringLiteral("reg"), QStringLiteral("add"), StartupApprovedKey, QStringLiteral("/v"),
                   SignInValue, QStringLiteral("/t"), QStringLiteral("REG_BINARY"), QStringLiteral("/d"),
                   TurnedOffRecord, QStringLiteral("/f")});
    return signInEntry() == entryOf(state, command);
}

// The handle of the button (a check box too) of that caption within the window, empty when none shows.
QString tst_WineInstall::buttonOf(const QString& window, const QString& caption) const
{
    for (const WineControl& control : controlsOf(window))
        if (control.visible && control.className == QLatin1String("Button") && control.text == caption)
            return control.handle;
    return {};
}

// Presses the button of that caption once, as soon as the window shows it (within ten seconds): a
// QTRY would press it again to check.
bool tst_WineInstall::pressWhenShown(const QString& window, const QString& caption) const
{
    return QTest::qWaitFor(
        [&] {
            return wine::driver({QStringLiteral("press"), window, caption}).status == 0;
        },
        10000);
}

WindowRecord tst_WineInstall::clockWindow(int waitMs) const
{
    const Ran found = wine::driver({QStringLiteral("find"), Title, QString::number(waitMs)});
    const QStringList fields = found.output.split(u'\t');
    if (found.status != 0 || fields.size() < 6 || fields[0] != QLatin1String("window"))
        return {};
    return {fields[1], fields[4] == QLatin1String("visible")};
}

void tst_WineInstall::startClock()
{
    m_clock.start(QStringLiteral("wine"), {m_installDir + QStringLiteral("/WobblixClock.exe")});
    QVERIFY(m_clock.waitForStarted());
}

// Options > Hide from the keyboard, as a user without a mouse does.
void tst_WineInstall::hideClock()
{
    const Ran window =
        runProgram(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                               QStringLiteral("--name"), QStringLiteral("^Wobblix Clock$")});
    QVERIFY2(window.status == 0, "the clock's X window is not mapped");
    const QString id = window.output.split(u'\n').first();
    QCOMPARE(
        runProgram(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id})
            .status,
        0);
    QCOMPARE(runProgram(QStringLiteral("xdotool"),
                        {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"),
                         QStringLiteral("F10"), QStringLiteral("Return"), QStringLiteral("Return")})
                 .status,
             0);
    QTRY_VERIFY_WITH_TIMEOUT(!clockWindow().visible, 5000);
}

// Minimised from outside, as Windows+M minimises every window, although the clock has no Minimize button.
void tst_WineInstall::minimiseClock(const QString& hwnd)
{
    WINE_VERIFY_RAN(wine::driver({QStringLiteral("minimize"), hwnd}));
    QTRY_VERIFY_WITH_TIMEOUT(
        wine::driver({QStringLiteral("window"), hwnd}).output.contains(QStringLiteral("minimized\t1")), 5000);
}

// Another program's window takes the focus: Wine's Notepad, started after the clock.
void tst_WineInstall::takeFocusAway()
{
    const WindowRecord clock = clockWindow();
    m_other.start(QStringLiteral("wine"), {QStringLiteral("notepad")});
    QVERIFY(m_other.waitForStarted());
    QVERIFY(!wine::driver({QStringLiteral("find"), QStringLiteral("Untitled - Notepad"),
                           QString::number(StartTimeoutMs)})
                 .output.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!wine::driver({QStringLiteral("focus"), clock.hwnd})
                                  .output.contains(QStringLiteral("active\t") + clock.hwnd),
                             5000);
}

QTEST_GUILESS_MAIN(tst_WineInstall)
#include "tst_wine_install.moc"

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows clock as a Windows user gets it, under Wine: the installer run silently, the installed
// clock started, one clock per user (a second start, a start after a crash), an update over a running
// clock, and the silent uninstall that leaves the settings. The cases run in order, on one Wine prefix,
// each on what the one before left: installed, then running, then removed.
//   tests/session/desktop-session.sh tests/windows/wine-session.sh tst_wine_install
// The installer and the driver come from the Windows build that the Linux build makes (tests/windows).

#include "WineProgram.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace wobblix::test;

namespace {

// A wine process start takes about half a second here; a second start hands over in a fraction of that.
constexpr int StartTimeoutMs = 15000;

const QString Title = QStringLiteral("Wobblix Clock");
const QString UninstallKey =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WobblixClock");
const QString SettingsKey = QStringLiteral("HKCU\\Software\\VB and VBA Program Settings\\Wobblix\\Main");

// A window record of the driver: window HWND PID CLASS visible|hidden TITLE.
struct WindowRecord {
    QString hwnd;
    bool visible = false;
};

} // namespace

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
    void silentUninstallLeavesSettings();
    void cleanupTestCase();

private:
    // The clock's main window as the driver finds it, waiting up to waitMs; empty hwnd when there is none.
    WindowRecord clockWindow(int waitMs = 0) const;
    void startClock();
    void hideClock();
    void minimiseClock(const QString& hwnd);
    void takeFocusAway();

    QString m_prefix;
    QString m_installer;
    QString m_programs;  // the prefix's user's %LOCALAPPDATA%\Programs, as a Linux path
    QString m_startMenu; // the user's Start menu\Programs
    QString m_installDir;
    QString m_windowsInstallDir; // the same folder as Windows names it
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
    QVERIFY2(!QFile::exists(m_installDir), "the prefix already holds an installed clock");
}

// The installer, run as Apps & features' silent installs are, needs no answer and installs for the user.
void tst_WineInstall::silentInstall()
{
    WINE_VERIFY_RAN(wine::run({m_installer, QStringLiteral("/S")}));
    for (const char* file : {"WobblixClock.exe", "uninstall.exe", "LICENSE.txt"})
        QVERIFY2(QFile::exists(m_installDir + u'/' + QLatin1String(file)), file);
    QVERIFY(QFile::exists(m_startMenu + QStringLiteral("/Wobblix Clock.lnk")));
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

// Apps & features' silent uninstall takes away the program, its shortcut and its entry, and keeps the
// settings the user saved.
void tst_WineInstall::silentUninstallLeavesSettings()
{
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
}

void tst_WineInstall::cleanupTestCase()
{
    for (QProcess* process : {&m_clock, &m_other})
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
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

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows clock as a Windows user gets it, under Wine: the installer run silently, the installed
// clock started, one clock per user (a second start, a start after a crash), an update over a running
// clock, and the silent uninstall that leaves the settings. The cases run in order, on one Wine prefix,
// each on what the one before left: installed, then running, then removed.
//   tests/session/desktop-session.sh tests/windows/wine-session.sh tst_wine_install
// The installer and the driver come from the Windows build that the Linux build makes (tests/windows).

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

constexpr int CommandTimeoutMs = 60000;
// A wine process start takes about half a second here; a second start hands over in a fraction of that.
constexpr int StartTimeoutMs = 15000;

const QString Title = QStringLiteral("Wobblix Clock");
const QString UninstallKey =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WobblixClock");
const QString SettingsKey = QStringLiteral("HKCU\\Software\\VB and VBA Program Settings\\Wobblix\\Main");

struct Result {
    int exitCode = -1;
    QString out;
};

Result run(const QString& program, const QStringList& arguments, int timeoutMs = CommandTimeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput())};
}

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
    Result wine(const QStringList& arguments, int timeoutMs = CommandTimeoutMs) const
    {
        return run(QStringLiteral("wine"), arguments, timeoutMs);
    }
    Result driver(const QStringList& arguments) const { return wine(QStringList{m_driver} + arguments); }
    // The clock's main window as the driver finds it, waiting up to waitMs; empty hwnd when there is none.
    WindowRecord clockWindow(int waitMs = 0) const;
    // The key, as `wine reg export` writes it (UTF-16); empty when it does not exist.
    QString exportKey(const QString& key) const;
    void startClock();
    void hideClock();
    void takeFocusAway();

    QString m_prefix;
    QString m_driver;
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
    // What this test runs; each missing one fails here, naming it.
    const struct {
        const char* program;
        const char* package;
    } tools[] = {{"wine", "wine"}, {"xdotool", "xdotool"}};
    for (const auto& tool : tools)
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool.program)).isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 is missing: install the Debian package %2")
                                 .arg(QLatin1String(tool.program), QLatin1String(tool.package))));
    m_prefix = qEnvironmentVariable("WINEPREFIX");
    if (m_prefix.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY"))
        QFAIL("run inside tests/session/desktop-session.sh tests/windows/wine-session.sh");
    const QString build = QStringLiteral(WOBBLIX_WINDOWS_BUILD);
    m_installer = build + QStringLiteral("/wobblix-clock-1.00-setup.exe");
    m_driver = build + QStringLiteral("/bin/wobblix-driver.exe");
    for (const QString& file : {m_installer, m_driver})
        if (!QFile::exists(file))
            QFAIL(qPrintable(file + QStringLiteral(" is missing: build it with scripts/build-windows")));

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
    const Result setup = wine({m_installer, QStringLiteral("/S")});
    QCOMPARE(setup.exitCode, 0);
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
    const QStringList lines = exportKey(UninstallKey).split(QStringLiteral("\r\n"));
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
    QTest::addColumn<bool>("hidden");
    QTest::newRow("shown, another window in front") << false;
    QTest::newRow("hidden in the notification area") << true;
}

// A second start brings the running clock forward, shown and with the focus, and ends; the first clock
// runs on.
void tst_WineInstall::secondStart()
{
    QFETCH(bool, hidden);
    const WindowRecord before = clockWindow();
    QVERIFY(!before.hwnd.isEmpty());
    if (hidden)
        hideClock();
    else
        takeFocusAway();

    QCOMPARE(wine({m_installDir + QStringLiteral("/WobblixClock.exe")}, StartTimeoutMs).exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(clockWindow().visible, 5000);
    QCOMPARE(clockWindow().hwnd, before.hwnd);
    QTRY_VERIFY_WITH_TIMEOUT(driver({QStringLiteral("focus"), before.hwnd})
                                 .out.contains(QStringLiteral("active\t") + before.hwnd),
                             5000);
    QCOMPARE(m_clock.state(), QProcess::Running);
    // One clock: one window of that title in the prefix.
    const Result windows = driver({QStringLiteral("windows")});
    QCOMPARE(windows.out.count(QStringLiteral("\tvisible\tWobblix Clock\n")), 1);
}

// A clock that crashed leaves nothing that stops the next start from being the clock.
void tst_WineInstall::startAfterCrash()
{
    QCOMPARE(m_clock.state(), QProcess::Running);
    QVERIFY(run(QStringLiteral("kill"), {QStringLiteral("-9"), QString::number(m_clock.processId())}).exitCode ==
            0);
    QVERIFY(m_clock.waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(clockWindow().hwnd.isEmpty(), 5000);
    startClock();
    QVERIFY(!clockWindow(StartTimeoutMs).hwnd.isEmpty());
    // It stays: it is the clock, not a start that handed over.
    QVERIFY(!m_clock.waitForFinished(2000));
    // And the next start hands over to it.
    QCOMPARE(wine({m_installDir + QStringLiteral("/WobblixClock.exe")}, StartTimeoutMs).exitCode, 0);
    QCOMPARE(m_clock.state(), QProcess::Running);
}

// Installing again over a running clock ends that clock first and replaces the program.
void tst_WineInstall::updateClosesRunningClock()
{
    QCOMPARE(m_clock.state(), QProcess::Running);
    QCOMPARE(wine({m_installer, QStringLiteral("/S")}).exitCode, 0);
    QVERIFY(m_clock.waitForFinished(5000));
    QVERIFY(QFile::exists(m_installDir + QStringLiteral("/WobblixClock.exe")));
}

// Apps & features' silent uninstall takes away the program, its shortcut and its entry, and keeps the
// settings the user saved.
void tst_WineInstall::silentUninstallLeavesSettings()
{
    QCOMPARE(wine({QStringLiteral("reg"), QStringLiteral("add"), SettingsKey, QStringLiteral("/v"),
                   QStringLiteral("AlarmHour"), QStringLiteral("/d"), QStringLiteral("7"), QStringLiteral("/f")})
                 .exitCode,
             0);
    // The uninstaller hands over to a copy of itself outside the folder it removes, and ends.
    QCOMPARE(wine({m_installDir + QStringLiteral("/uninstall.exe"), QStringLiteral("/S")}).exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(m_installDir), 20000);
    QVERIFY(!QFile::exists(m_startMenu + QStringLiteral("/Wobblix Clock.lnk")));
    QTRY_VERIFY_WITH_TIMEOUT(exportKey(UninstallKey).isEmpty(), 10000);
    QVERIFY(exportKey(SettingsKey).split(QStringLiteral("\r\n")).contains(QStringLiteral("\"AlarmHour\"=\"7\"")));
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
    const Result found = driver({QStringLiteral("find"), Title, QString::number(waitMs)});
    const QStringList fields = found.out.trimmed().split(u'\t');
    if (found.exitCode != 0 || fields.size() < 6 || fields[0] != QLatin1String("window"))
        return {};
    return {fields[1], fields[4] == QLatin1String("visible")};
}

QString tst_WineInstall::exportKey(const QString& key) const
{
    const QString file = m_prefix + QStringLiteral("/drive_c/wobblix-test.reg");
    QFile::remove(file);
    if (wine({QStringLiteral("reg"), QStringLiteral("export"), key, QStringLiteral("C:\\wobblix-test.reg"),
              QStringLiteral("/y")})
            .exitCode != 0)
        return {};
    QFile exported(file);
    if (!exported.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = exported.readAll();
    // UTF-16LE after its byte order mark.
    if (!bytes.startsWith("\xff\xfe"))
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
}

void tst_WineInstall::startClock()
{
    m_clock.start(QStringLiteral("wine"), {m_installDir + QStringLiteral("/WobblixClock.exe")});
    QVERIFY(m_clock.waitForStarted());
}

// Options > Hide from the keyboard, as a user without a mouse does.
void tst_WineInstall::hideClock()
{
    const Result window = run(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                               QStringLiteral("^Wobblix Clock$")});
    QVERIFY2(window.exitCode == 0, "the clock's X window is not mapped");
    const QString id = window.out.split(u'\n').first();
    QCOMPARE(run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id}).exitCode,
             0);
    QCOMPARE(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"),
                                             QStringLiteral("F10"), QStringLiteral("Return"), QStringLiteral("Return")})
                 .exitCode,
             0);
    QTRY_VERIFY_WITH_TIMEOUT(!clockWindow().visible, 5000);
}

// Another program's window takes the focus: Wine's Notepad, started after the clock.
void tst_WineInstall::takeFocusAway()
{
    const WindowRecord clock = clockWindow();
    m_other.start(QStringLiteral("wine"), {QStringLiteral("notepad")});
    QVERIFY(m_other.waitForStarted());
    QVERIFY(!driver({QStringLiteral("find"), QStringLiteral("Untitled - Notepad"), QString::number(StartTimeoutMs)})
                 .out.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!driver({QStringLiteral("focus"), clock.hwnd})
                                  .out.contains(QStringLiteral("active\t") + clock.hwnd),
                             5000);
}

QTEST_GUILESS_MAIN(tst_WineInstall)
#include "tst_wine_install.moc"

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ClockProgram.h"

#include "support/DesktopDriver.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QPoint>
#include <QRect>
#include <QThread>

namespace wobblix::test {

QString fakeTimeLibrary()
{
    for (const char* path :
         {"/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1",
          "/usr/lib/aarch64-linux-gnu/faketime/libfaketimeMT.so.1", "/usr/lib/faketime/libfaketimeMT.so.1"})
        if (QFile::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    return QString();
}

namespace {

// Polls `done` every 20 ms until it holds or `timeoutMs` have passed.
template <typename Condition> bool waitUntil(Condition done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

ClockProgram::ClockProgram(const QString& configFolder)
{
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
}

ClockProgram::~ClockProgram()
{
    kill();
}

void ClockProgram::shiftClock(const QTime& startAt, int speed)
{
    m_environment.insert(QStringLiteral("LD_PRELOAD"), fakeTimeLibrary());
    m_environment.insert(QStringLiteral("FAKETIME"), QStringLiteral("@%1 %2 x%3")
                                                         .arg(QDate::currentDate().toString(Qt::ISODate),
                                                              startAt.toString(QStringLiteral("HH:mm:ss")))
                                                         .arg(speed));
    // Every call reads the shifted clock afresh; libfaketime's cache would make it jump.
    m_environment.insert(QStringLiteral("FAKETIME_NO_CACHE"), QStringLiteral("1"));
}

void ClockProgram::setEnvironment(const QString& name, const QString& value)
{
    if (value.isEmpty())
        m_environment.remove(name);
    else
        m_environment.insert(name, value);
}

void ClockProgram::useWayland()
{
    m_wayland = true;
    setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    setEnvironment(QStringLiteral("DISPLAY"), QString());
    setEnvironment(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
}

bool ClockProgram::launch()
{
    m_process.setProcessEnvironment(m_environment);
    // Standard error is kept for the test to read; standard output goes to the test's own.
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_process.start(QStringLiteral(WOBBLIX_CLOCK_BINARY), QStringList{});
    return m_process.waitForStarted();
}

bool ClockProgram::start()
{
    if (!launch())
        return false;
    if (m_wayland)
        return waitUntil(
            [this] {
                return accessible({QStringLiteral("windows")}).contains(QStringLiteral("\tWobblix Clock\t"));
            },
            10000);
    if (m_messageAtStart) {
        // Return until the message, which takes the keyboard once it is shown, is gone.
        if (!waitUntil([this] { return visibleWindows().size() >= 2; }, 10000) ||
            !waitUntil(
                [this] {
                    keys({QStringLiteral("Return")});
                    return visibleWindows().size() == 1;
                },
                5000))
            return false;
    }
    m_window = findWindow(pid(), QStringLiteral("Wobblix Clock"));
    if (m_messageAtStart) // without a window manager nobody gives the window the keyboard back
        xdotool({QStringLiteral("windowfocus"), QString::number(m_window)});
    return m_window != 0 && waitUntil([this] { return focusedWindow() == m_window; }, 5000);
}

QStringList ClockProgram::visibleWindows() const
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                    QString::number(pid())})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ClockProgram::keys(const QStringList& names) const
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")} + names);
}

void ClockProgram::type(const QString& text) const
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

bool ClockProgram::chooseFromOptions(int item) const
{
    // "Options" is the first title of the menu bar, at the window's top left.
    clickAt(windowGeometry(m_window).topLeft() + QPoint(20, 8), 1);
    if (!waitUntil([this] { return visibleWindows().size() >= 2; }, 5000)) // the window and its open menu
        return false;
    // Down from no selection is the first item.
    keys(QStringList(item, QStringLiteral("Down")) << QStringLiteral("Return"));
    return true;
}

QString ClockProgram::accessible(const QStringList& arguments) const
{
    QProcess driver;
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(WOBBLIX_ACCESSIBLE_DRIVER), QString::number(pid())} + arguments);
    // The driver waits up to ten seconds for what it looks for.
    if (!driver.waitForFinished(15000) || driver.exitStatus() != QProcess::NormalExit ||
        driver.exitCode() != 0)
        return QString();
    return QString::fromUtf8(driver.readAllStandardOutput()).trimmed();
}

bool ClockProgram::ended(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

bool ClockProgram::endedCleanly()
{
    return ended() && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

void ClockProgram::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QString ClockProgram::standardError()
{
    m_standardError += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_standardError;
}

QByteArray ClockProgram::state()
{
    return QStringLiteral("state %1, exit status %2, exit code %3, standard error: %4")
        .arg(m_process.state())
        .arg(m_process.exitStatus())
        .arg(m_process.exitCode())
        .arg(standardError())
        .toLocal8Bit();
}

} // namespace wobblix::test

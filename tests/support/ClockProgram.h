// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcess>
#include <QStringList>
#include <QTime>

// The real program, started in the test session as a person starts it and driven from outside through the
// X server (xdotool): its window, its Options menu, its keyboard. One object is one run; the destructor
// kills a run that is still going.
namespace wobblix::test {

// libfaketime's multi-threaded library, preloaded into the program itself so that the process the test
// holds is the program (the faketime command forks and waits); empty when the package is missing.
QString fakeTimeLibrary();

class ClockProgram {
public:
    // A run on the settings of `configFolder` (XDG_CONFIG_HOME).
    explicit ClockProgram(const QString& configFolder);
    ~ClockProgram();
    ClockProgram(const ClockProgram&) = delete;
    ClockProgram& operator=(const ClockProgram&) = delete;

    // Before start: the program's wall clock starts at `startAt` today and runs `speed` times as fast, Qt's
    // timers with it.
    void shiftClock(const QTime& startAt, int speed);
    // Before start: one more environment variable for the program (an empty value removes it).
    void setEnvironment(const QString& name, const QString& value);

    // Before start: the program runs as a native Wayland client of the session's compositor, with no X
    // server in reach and its controls on the accessibility bus; it is then driven with accessible().
    void useWayland();

    // Before start: the program shows a message box over its window as it starts (a damaged setting);
    // start() waits for it, dismisses it with Return and gives the keyboard back to the window.
    void expectMessageAtStart() { m_messageAtStart = true; }

    // Starts the program and waits until its window is shown and has the keyboard focus (on Wayland: until
    // the accessibility bus shows its window). False when it did not start or the window did not come
    // within ten seconds.
    bool start();
    // Starts the program and waits for nothing more. False when it did not start.
    bool launch();

    qint64 pid() const { return m_process.processId(); }
    quint64 window() const { return m_window; }
    // The program's visible top-level windows on the X server, as xdotool names them: its main window, and
    // an open menu or message box.
    QStringList visibleWindows() const;

    // Keys as the keyboard sends them (xdotool key names), and text as typed, to the focused control.
    void keys(const QStringList& names) const;
    void type(const QString& text) const;

    // Opens Options on the menu bar with the mouse and chooses its n-th item with the keyboard (the open
    // menu grabs it; the separator is skipped): 1 Hide, 2 Save, 3 Exit. False when the menu did not open.
    bool chooseFromOptions(int item) const;

    // Drives the run through the accessibility bus as a screen reader does: tests/support/accessible.py
    // with these arguments. Its output, trimmed; empty when it failed.
    QString accessible(const QStringList& arguments) const;

    // Whether the program has ended (within `timeoutMs`), and whether it ended with status 0.
    bool ended(int timeoutMs = 5000);
    bool endedCleanly();
    void kill();

    // All the program has written to standard error so far.
    QString standardError();
    // How the run stands, for a failure message.
    QByteArray state();

private:
    bool m_messageAtStart = false;
    QProcess m_process;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    quint64 m_window = 0; // on the X server; 0 on Wayland
    bool m_wayland = false;
    QString m_standardError;
};

} // namespace wobblix::test

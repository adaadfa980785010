// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

// Driving the real desktop of the test session from outside, as a person would: xdotool for the pointer
// and the keyboard, xwininfo for what the X server shows.
namespace wobblix::test {

// Runs a program to its end (ten seconds at most) and returns its standard output, trimmed; empty when
// it did not finish.
QString run(const QString& program, const QStringList& arguments);
QString xdotool(const QStringList& arguments);

// Moves the pointer to a point of the screen and clicks there, once or more in quick succession: button 1
// is the left, 2 the middle and 3 the right.
void clickAt(QPoint at, int button, int times = 1);

// The visible top-level window of a process with exactly this name, or 0 after ten seconds without.
quint64 findWindow(qint64 pid, const QString& name);

// Where the X server shows a window on the screen.
QRect windowGeometry(quint64 window);

// Whether the X server shows the window (mapped, and its parents too).
bool isViewable(quint64 window);

// The window that has the keyboard focus on the X server.
quint64 focusedWindow();

// The session's trayer panel, as xdotool names windows; empty when there is none.
QString trayPanel();

// The windows of process `pid` that the session's trayer panel holds, where the X server shows them.
QList<QRect> iconsInTray(qint64 pid);

} // namespace wobblix::test

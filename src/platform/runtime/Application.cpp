// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Application.h"

#include "platform/runtime/RuntimeError.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace wobblix::platform {

Application::Application(int& argc, char** argv, LaunchTokens launch)
    : QApplication(argc, argv), m_launch(std::move(launch))
{
    // No display name: Qt would append it to every window title that does not already end with it, and
    // each window's title is exactly its own ("Sound to Play", not "Sound to Play — Wobblix Clock").
    // Where a display name is asked for, Qt gives the application name instead.
    setApplicationName(QStringLiteral("Wobblix Clock"));
    setApplicationVersion(QStringLiteral("1.00"));
    // The desktop entry is named by the ID: on Wayland the shell matches the window to its entry, and so
    // to its name and icon, by this app_id.
    setDesktopFileName(Id.toString());
    // The clock ends only when its window is unloaded. Without this, dismissing a message box while the
    // window is hidden in the notification area would end the program, since no window would be visible.
    setQuitOnLastWindowClosed(false);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
}

int Application::run(StartUpObject& startUpForm)
{
    try {
        startUpForm.startUp();
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
    return exec();
}

void reportCurrentErrorAndEnd()
{
    // Events keep arriving while the report is shown (the timers tick); an error among them must not
    // stack a second report on the first.
    static bool reporting = false;
    const bool alreadyReporting = std::exchange(reporting, true);
    int number = 0;
    QString text;
    try {
        throw;
    } catch (const RuntimeError& error) {
        number = error.number();
        text = error.description();
    } catch (const std::exception& error) {
        number = RuntimeError::InternalError; // something outside the runtime's own operations failed
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        number = RuntimeError::InternalError;
        text = QStringLiteral("Internal error");
    }
    const QString report = QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(text);
    std::fprintf(stderr, "wobblix-clock: run-time error %d: %s\n", number, qPrintable(text));
    std::fflush(stderr);
    if (!alreadyReporting && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), report, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setObjectName(QStringLiteral("ErrorReport"));
        box.exec();
    }
    // The state that raised the error is not to be trusted any further: end here, without unwinding
    // through Qt's frames or running the window's destructors.
    std::fflush(stdout);
    std::_Exit(Application::ErrorExitStatus);
}

} // namespace wobblix::platform

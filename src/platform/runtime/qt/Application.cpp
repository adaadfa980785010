// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Application.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/qt/QtText.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace wobblix::platform {

namespace {

// Qt's application object. Every event reaches a handler through notify(), so this is where an error
// that leaves any handler is caught.
class QtApplication final : public QApplication {
public:
    QtApplication(int& argc, char** argv) : QApplication(argc, argv)
    {
        // No display name: Qt would append it to every window title that does not already end with it,
        // and each window's title is exactly its own ("Sound to Play", not "Sound to Play — Wobblix
        // Clock"). Where a display name is asked for, Qt gives the application name instead.
        setApplicationName(QStringLiteral("Wobblix Clock"));
        setApplicationVersion(QStringLiteral("1.00"));
        // The desktop entry is named by the ID: on Wayland the shell matches the window to its entry, and
        // so to its name and icon, by this app_id.
        setDesktopFileName(QString::fromLatin1(Application::Id));
        // The clock ends only when its window is unloaded. Without this, dismissing a message box while
        // the window is hidden in the notification area would end the program, since no window would be
        // visible.
        setQuitOnLastWindowClosed(false);
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            reportCurrentErrorAndEnd();
        }
    }
};

} // namespace

struct Application::Native {
    Native(int& argc, char** argv) : application(argc, argv) {}
    QtApplication application;
};

Application::Application(int& argc, char** argv, LaunchTokens launch)
    : m_launch(std::move(launch)), m_native(std::make_unique<Native>(argc, argv))
{
}

Application::~Application() = default;

int Application::run(StartUpObject& startUpForm)
{
    try {
        startUpForm.startUp();
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
    return QApplication::exec();
}

void reportCurrentErrorAndEnd()
{
    // Events keep arriving while the report is shown (the timers tick); an error among them must not
    // stack a second report on the first.
    static bool reporting = false;
    const bool alreadyReporting = std::exchange(reporting, true);
    const ErrorReport report = ErrorReport::ofCurrentError();
    std::fprintf(stderr, "wobblix-clock: run-time error %d: %s\n", static_cast<int>(report.number),
                 ToUtf8(report.text).c_str());
    std::fflush(stderr);
    if (!alreadyReporting && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                        qt::toQString(report.prompt()), QMessageBox::Ok, QApplication::activeWindow());
        box.setObjectName(QStringLiteral("ErrorReport"));
        box.exec();
    }
    // The state that raised the error is not to be trusted any further: end here, without unwinding
    // through the toolkit's frames or running the window's destructors.
    std::fflush(stdout);
    std::_Exit(Application::ErrorExitStatus);
}

} // namespace wobblix::platform

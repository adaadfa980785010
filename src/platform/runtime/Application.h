// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/LaunchTokens.h"
#include "platform/runtime/StartUpObject.h"

#include <QApplication>

namespace wobblix::platform {

// The runtime: the clock's application object, with its name, ID and version, what its launcher gave it,
// and the default error report. Every event reaches a handler through notify(), so an error that leaves
// any handler is caught here, shown with its number and text, and ends the program with a non-zero status.
class Application final : public QApplication {
    Q_OBJECT
public:
    static constexpr int ErrorExitStatus = 1;
    // The application's ID: its name on the session bus, its desktop entry's name and its Wayland app_id.
    static constexpr QLatin1StringView Id{"io.github.wobblix.WobblixClock"};

    // `launch` is read where the program starts the application, before Qt, which takes DESKTOP_STARTUP_ID
    // out of the environment as it starts.
    Application(int& argc, char** argv, LaunchTokens launch = LaunchTokens::fromEnvironment());

    // What the desktop's launcher gave this start.
    const LaunchTokens& launchTokens() const { return m_launch; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Raises the start-up window's Load, shows it and runs the message loop until the window is
    // unloaded. Returns the process's exit status.
    int run(StartUpObject& startUpForm);

private:
    LaunchTokens m_launch;
};

// Shows the error report for what was thrown (the current exception) and ends the process. Called from
// notify() and from start-up, the only two places a handler's error can surface.
[[noreturn]] void reportCurrentErrorAndEnd();

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/LaunchTokens.h"
#include "platform/runtime/StartUpObject.h"

#include <memory>

namespace wobblix::platform {

// The runtime: the clock's application object, with its name, ID and version, what its launcher gave it,
// its message loop and the default error report. Every event reaches a handler through the runtime, so an
// error that leaves any handler is caught there, shown with its number and text, and ends the program with
// a non-zero status.
class Application final {
public:
    static constexpr int ErrorExitStatus = 1;
    // The application's ID: its name on the session bus, its desktop entry's name and its Wayland app_id.
    static constexpr const char* Id = "io.github.wobblix.WobblixClock";

    // `launch` is read where the program starts the application, before the toolkit, which may take the
    // tokens out of the environment as it starts.
    Application(int& argc, char** argv, LaunchTokens launch = LaunchTokens::fromEnvironment());
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // What the desktop's launcher gave this start.
    const LaunchTokens& launchTokens() const { return m_launch; }

    // Raises the start-up window's Load, shows it and runs the message loop until the window is
    // unloaded. Returns the process's exit status.
    int run(StartUpObject& startUpForm);

private:
    struct Native; // the toolkit's application object
    LaunchTokens m_launch;
    std::unique_ptr<Native> m_native;
};

// Shows the error report for what was thrown (the current exception) and ends the process. Called by the
// runtime wherever a handler's error surfaces.
[[noreturn]] void reportCurrentErrorAndEnd();

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Application.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/win32/MessageLoop.h"
#include "platform/runtime/win32/StartupTrace.h"

#include <cstdio>
#include <utility>

#include "platform/runtime/win32/Windows.h"

#include <ole2.h>

namespace wobblix::platform {

namespace {
std::function<bool(MSG&)>& keyboardInterface()
{
    static std::function<bool(MSG&)> keyboard;
    return keyboard;
}
} // namespace

void win32::SetKeyboardInterface(std::function<bool(MSG&)> keyboard)
{
    keyboardInterface() = std::move(keyboard);
}

// Windows has no application object: the message loop of this thread is the runtime. The thread is an
// OLE apartment for its whole run, as the accessibility interfaces and the shell's dialogs want theirs.
struct Application::Native {
    Native()
    {
        win32::StartupStep("runtime-entered");
        ole = SUCCEEDED(OleInitialize(nullptr));
        win32::StartupStep("com-ready");
    }
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native()
    {
        if (ole)
            OleUninitialize();
    }
    bool ole = false;
};

Application::Application(int&, char**, LaunchTokens launch)
    : m_launch(std::move(launch)), m_native(std::make_unique<Native>())
{
}

Application::~Application() = default;

// The form's window posts WM_QUIT as it is destroyed (Unload, or the title bar's close), which ends the
// loop. Every window procedure of the platform catches what its handlers throw, so nothing is thrown
// through DispatchMessageW.
int Application::run(StartUpObject& startUpForm)
{
    try {
        startUpForm.startUp();
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (const auto& keyboard = keyboardInterface(); keyboard && keyboard(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void reportCurrentErrorAndEnd()
{
    // The timers go on ticking while the report is shown; an error among them must not stack a second
    // report on the first.
    static bool reporting = false;
    const bool alreadyReporting = std::exchange(reporting, true);
    const ErrorReport report = ErrorReport::ofCurrentError();
    std::fprintf(stderr, "wobblix-clock: run-time error %d: %s\n", static_cast<int>(report.number),
                 ToUtf8(report.text).c_str());
    std::fflush(stderr);
    if (!alreadyReporting) {
        const String prompt = report.prompt();
        MessageBoxW(GetActiveWindow(), reinterpret_cast<const wchar_t*>(prompt.c_str()), L"Wobblix Clock",
                    MB_OK | MB_ICONERROR);
    }
    // The state that raised the error is not to be trusted any further: end here, without unwinding
    // through Windows' frames or running the window's destructors.
    ExitProcess(Application::ErrorExitStatus);
}

} // namespace wobblix::platform

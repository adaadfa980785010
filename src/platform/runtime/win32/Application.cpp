// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Application.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/win32/Apartment.h"
#include "platform/runtime/win32/MessageLoop.h"
#include "platform/runtime/win32/StartupTrace.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "platform/runtime/win32/Windows.h"

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

// Windows has no application object: the message loop of this thread is the runtime. The thread's COM
// apartment is entered by what first needs it (win32/Apartment.h) and left here.
struct Application::Native {
    Native() { win32::StartupStep("runtime-entered"); }
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native() { win32::LeaveApartment(); }
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

namespace {

[[noreturn]] void reportAndEnd(const ErrorReport& report)
{
    // The timers go on ticking while the report is shown; an error among them must not stack a second
    // report on the first.
    static bool reporting = false;
    const bool alreadyReporting = std::exchange(reporting, true);
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

} // namespace

void reportCurrentErrorAndEnd()
{
    reportAndEnd(ErrorReport::ofCurrentError());
}

} // namespace wobblix::platform

// What std::terminate does in this program, where an error could not be reported where it arose (it left
// a destructor while another error was under way, or a function that may not throw): the error report, as
// for any error, or an internal error where there is none to report. It is the C++ runtime's default
// handler, defined here in place of the runtime's own, which writes the error's type to a standard error
// that a Windows program does not have, and would bring the runtime's name demangler into the program file.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    using wobblix::platform::ErrorReport;
    using wobblix::platform::RuntimeError;
    wobblix::platform::reportAndEnd(std::current_exception()
                                        ? ErrorReport::ofCurrentError()
                                        : ErrorReport{RuntimeError::InternalError, u"Internal error"});
}
} // namespace __gnu_cxx

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// One clock per user on Windows. The clock owns a named mutex whose name holds the user's SID, in the
// session's own namespace (Local\), so each user signed in to each session has one clock. Beside it, the
// clock's process keeps a message-only window of a class of its own, named with the same SID, to which a
// second start sends the registered message Activate; the window's procedure runs on the thread that
// created it, the window's thread, when the message loop takes the message, and raises the service's
// Activate there. The system releases the mutex when its owner ends, however it ends (WAIT_ABANDONED for
// the next to ask), so a clock that crashed stops no later start; a leftover window cannot exist without
// its process, and nothing is written to disk.

#include "platform/desktop/ApplicationService.h"

#include "platform/runtime/win32/StartupTrace.h"

#include <windows.h>

#include <sddl.h>

#include <string>

namespace wobblix::platform {

namespace {

// The message-only window's class. The installer looks for it too (resources/windows/wobblix-clock.nsi),
// to find the running clock it must close before it replaces the program.
constexpr wchar_t WindowClass[] = L"WobblixClockApplication";
constexpr wchar_t ActivateMessageName[] = L"WobblixClockActivate";
// What the clock answers to Activate, so that a start can tell the clock from any other window.
constexpr LRESULT Activated = 0x57434c4b; // "WCLK"
// How often a second start looks again for the clock's window while the clock is still starting, in ms.
constexpr DWORD PollMs = 20;

// The SID of the user this process runs as, as text (S-1-5-21-...); empty where the token cannot be read.
std::wstring userSid()
{
    std::wstring text;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return text;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        wchar_t* sid = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
            text = sid;
            LocalFree(sid);
        }
    }
    CloseHandle(token);
    return text;
}

// The user's part of the names: the SID, or the user name where the SID cannot be had.
std::wstring userPart()
{
    std::wstring user = userSid();
    if (!user.empty())
        return user;
    wchar_t name[257] = {};
    DWORD length = 257;
    if (GetUserNameW(name, &length))
        user = name;
    return user;
}

} // namespace

struct ApplicationService::Native {
    ApplicationService* service = nullptr;
    HANDLE mutex = nullptr;
    HWND window = nullptr;
    UINT activateMessage = 0;

    ~Native()
    {
        if (window != nullptr)
            DestroyWindow(window);
        if (mutex != nullptr) {
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
    }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* native = reinterpret_cast<Native*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (native != nullptr && message == native->activateMessage && message != 0) {
            // Windows gives no startup token: the tokens are empty. The asking start has allowed this
            // process to take the foreground (AllowSetForegroundWindow), which the window's handler does.
            native->service->Activate.Raise(LaunchTokens{});
            return Activated;
        }
        // Only the clock's own code destroys this window; a WM_CLOSE from outside is not an end.
        if (message == WM_CLOSE)
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    // The window through which later starts reach this clock. False when it cannot be made.
    bool serve(const std::wstring& name)
    {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Native::windowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = WindowClass;
        if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
        window = CreateWindowExW(0, WindowClass, name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                 this);
        return window != nullptr;
    }
};

ApplicationService::ApplicationService() : m_native(std::make_unique<Native>())
{
    m_native->service = this;
}

ApplicationService::~ApplicationService() = default;

bool ApplicationService::claim(const LaunchTokens&)
{
    Native& native = *m_native;
    const std::wstring user = userPart();
    // The name of the clock's window, which later starts look for.
    const std::wstring windowName = L"Wobblix Clock " + user;
    native.activateMessage = RegisterWindowMessageW(ActivateMessageName);
    native.mutex = CreateMutexW(nullptr, FALSE, (L"Local\\WobblixClock-" + user).c_str());
    if (native.mutex == nullptr || native.activateMessage == 0) {
        // No mutex to be had (another program holds the name and refuses access): a clock of its own.
        native.serve(windowName);
        return true;
    }

    // A clock that has just taken the mutex makes its window next: look for it for a bounded time. The
    // mutex is asked again meanwhile, for the clock may end in between (or have crashed: abandoned).
    const ULONGLONG deadline = GetTickCount64() + ActivateTimeoutMs;
    for (;;) {
        const DWORD wait = WaitForSingleObject(native.mutex, 0);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            native.serve(windowName);
            win32::StartupStep("claimed");
            return true;
        }
        HWND clock = FindWindowExW(HWND_MESSAGE, nullptr, WindowClass, windowName.c_str());
        if (clock != nullptr) {
            DWORD clockProcess = 0;
            GetWindowThreadProcessId(clock, &clockProcess);
            // The clock's window may take the foreground from this start, which has it as the one the
            // user just started.
            AllowSetForegroundWindow(clockProcess);
            const ULONGLONG now = GetTickCount64();
            const UINT timeout = now < deadline ? static_cast<UINT>(deadline - now) : 1;
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutW(clock, native.activateMessage, 0, 0, SMTO_ABORTIFHUNG, timeout,
                                    &answer) != 0 &&
                answer == Activated)
                return false; // the clock answered
            if (IsWindow(clock))
                return false; // the clock, too busy to answer in time: it is there all the same
            continue;         // gone meanwhile: ask for the mutex again
        }
        if (GetTickCount64() >= deadline)
            break;
        Sleep(PollMs);
    }
    // A mutex held, but no clock's window in time: whatever holds the name is no clock that answers, and a
    // start is never left without a clock.
    CloseHandle(native.mutex);
    native.mutex = nullptr;
    native.serve(windowName);
    return true;
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where start-up spends its time, for bench/windows-startup-phases: in a build configured with
// -DWOBBLIX_STARTUP_TRACE=ON, each step of start-up writes one line to standard error when it is done,
//   startup STEP MICROSECONDS
// the wall-clock time in microseconds since 1970, which the benchmark sets beside the time of the exec and
// of the window's map. In every other build the calls are empty and cost nothing.

#ifdef WOBBLIX_STARTUP_TRACE
#include "platform/runtime/win32/Windows.h"

#include <cstdio>
#endif

namespace wobblix::platform::win32 {

#ifdef WOBBLIX_STARTUP_TRACE
namespace startup {
// FILETIME counts 100 ns from 1601; the Unix epoch is this many of them later.
constexpr unsigned long long UnixEpoch = 116444736000000000ULL;

inline void write(const char* step, FILETIME time)
{
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    char line[96];
    const int length = std::snprintf(line, sizeof line, "startup %s %llu\n", step, (ticks - UnixEpoch) / 10);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
}
} // namespace startup

// STEP is done now. The first call also gives the process's creation, the moment the system made it.
inline void StartupStep(const char* step)
{
    static const bool first = [] {
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
            startup::write("process-created", created);
        return true;
    }();
    (void)first;
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    startup::write(step, now);
}
#else
inline void StartupStep(const char*) {}
#endif

} // namespace wobblix::platform::win32

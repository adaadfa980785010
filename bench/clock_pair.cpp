// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded after libfaketime into a program under test. At load it reads the real wall clock (straight
// from the kernel, past libfaketime) and the faked one (through libfaketime), and writes the pair, in
// seconds since the epoch, to the file named by WOBBLIX_BENCH_CLOCK_PAIR:
//   REAL FAKE
// With libfaketime's start time and speed-up, fake = FAKE + (real - REAL) * speed from then on.

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// The kernel's wall clock. libfaketime may also wrap syscall(), so on x86-64 the call is made directly.
timespec realNow()
{
    timespec now{};
#if defined(__x86_64__)
    long result = 0;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(SYS_clock_gettime), "D"(CLOCK_REALTIME), "S"(&now)
                 : "rcx", "r11", "memory");
    (void)result;
#else
    syscall(SYS_clock_gettime, CLOCK_REALTIME, &now);
#endif
    return now;
}

__attribute__((constructor)) void writeClockPair()
{
    const char* path = std::getenv("WOBBLIX_BENCH_CLOCK_PAIR");
    if (path == nullptr)
        return;
    timespec fake{};
    const timespec real = realNow();
    clock_gettime(CLOCK_REALTIME, &fake);
    if (std::FILE* file = std::fopen(path, "w")) {
        std::fprintf(file, "%lld.%09ld %lld.%09ld\n", static_cast<long long>(real.tv_sec), real.tv_nsec,
                     static_cast<long long>(fake.tv_sec), fake.tv_nsec);
        std::fclose(file);
    }
}

} // namespace

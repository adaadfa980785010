// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up time: starts a program and prints, in milliseconds, how long after the exec the X server mapped
// its first top-level window; then ends the program. Run on a display with no window manager (the desktop
// session's Xvfb), where a program's top-level windows are children of the root window.
//
//   wobblix-bench-mapped [--realtime] PROGRAM [ARGS...]
// With --realtime it first prints the exec's wall-clock time, in microseconds since 1970, on a line of its
// own, so that times the program reports of itself can be set beside it.
// Exit status 1 when the program ends, or shows nothing within 30 s.

#include <xcb/xcb.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void end(pid_t child)
{
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    const bool realtime = argc > 1 && std::strcmp(argv[1], "--realtime") == 0;
    if (realtime) {
        --argc;
        ++argv;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s [--realtime] PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "wobblix-bench-mapped: no X display\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked and answered before the clock starts: from here on every map on the screen is reported.
    if (std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
            xcb_request_check(
                connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask)),
            &std::free);
        error) {
        std::fprintf(stderr, "wobblix-bench-mapped: cannot watch the root window\n");
        return 2;
    }

    const double start = nowMs();
    if (realtime) {
        timespec wall{};
        clock_gettime(CLOCK_REALTIME, &wall);
        std::printf("%lld\n", static_cast<long long>(wall.tv_sec) * 1000000 + wall.tv_nsec / 1000);
        std::fflush(stdout);
    }
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("exec");
        _exit(127);
    }

    pollfd events{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (nowMs() - start < 30000) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            std::free(event);
            if (mapped) {
                std::printf("%.1f\n", nowMs() - start);
                std::fflush(stdout);
                end(child);
                xcb_disconnect(connection);
                return 0;
            }
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "wobblix-bench-mapped: %s ended without showing a window\n", argv[1]);
            return 1;
        }
        poll(&events, 1, 50);
    }
    std::fprintf(stderr, "wobblix-bench-mapped: %s showed no window within 30 s\n", argv[1]);
    end(child);
    return 1;
}

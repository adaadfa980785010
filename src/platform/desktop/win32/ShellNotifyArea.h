// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/NotifyArea.h"

#include <memory>

namespace wobblix::platform {

// The notification area of Windows' shell, Shell_NotifyIcon, with the record in its first form: the one
// every Windows takes, which holds what the clock gives (window, id, flags, callback message, icon, tip).
//
// The shell forgets icons that their programs never take back: it loses every icon when it restarts, and
// it keeps an icon whose program has ended until the mouse passes over it. So the icon added here is kept
// in step with the shell for the caller: while it is there, the top-level window of the record's window
// is watched, and
//   - when a new shell announces its taskbar ("TaskbarCreated"), the icon is added to it again, with the
//     same record;
//   - when that window is destroyed, or the session ends, the icon is taken away with it.
// An add that the shell answers with a failure counts as done where the icon is there all the same (a
// busy shell times out although it took the icon); where it is not, nothing is left behind.
class ShellNotifyArea final : public NotifyArea {
public:
    ShellNotifyArea();
    ~ShellNotifyArea() override;
    ShellNotifyArea(const ShellNotifyArea&) = delete;
    ShellNotifyArea& operator=(const ShellNotifyArea&) = delete;

    bool Shell_NotifyIcon(std::uint32_t message, NOTIFYICONDATAA& record) override;

    struct Native;

private:
    std::unique_ptr<Native> m_native;
};

} // namespace wobblix::platform

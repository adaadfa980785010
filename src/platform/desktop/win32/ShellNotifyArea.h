// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/NotifyArea.h"

namespace wobblix::platform {

// The notification area of Windows' shell, Shell_NotifyIcon, with the record in its first form: the one
// every Windows takes, which holds what the clock gives (window, id, flags, callback message, icon, tip).
class ShellNotifyArea final : public NotifyArea {
public:
    bool Shell_NotifyIcon(std::uint32_t message, NOTIFYICONDATAA& record) override;
};

} // namespace wobblix::platform

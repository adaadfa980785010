// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/Platform.h"

#include <memory>

namespace wobblix::platform {

// The desktop's real parts, which the running program hands to its window. Owns them for the whole run.
class DesktopPlatform final {
public:
    DesktopPlatform();
    ~DesktopPlatform();
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    Platform platform();
    ApplicationService& application();

private:
    struct Parts; // the backend's
    std::unique_ptr<Parts> m_parts;
};

} // namespace wobblix::platform

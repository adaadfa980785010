// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/ApplicationService.h"

namespace wobblix::platform {

// On Windows every start is a clock of its own for now: no other clock is looked for, and Activate is never
// raised.
struct ApplicationService::Native {};

ApplicationService::ApplicationService() : m_native(std::make_unique<Native>()) {}

ApplicationService::~ApplicationService() = default;

bool ApplicationService::claim(const LaunchTokens&)
{
    return true;
}

} // namespace wobblix::platform

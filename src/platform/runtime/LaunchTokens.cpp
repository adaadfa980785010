// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/LaunchTokens.h"

#include "platform/runtime/Strings.h"

#include <cstdlib>

namespace wobblix::platform {

namespace {
String environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? FromUtf8(value) : String();
}
} // namespace

LaunchTokens LaunchTokens::fromEnvironment()
{
    return {environment("DESKTOP_STARTUP_ID"), environment("XDG_ACTIVATION_TOKEN")};
}

} // namespace wobblix::platform

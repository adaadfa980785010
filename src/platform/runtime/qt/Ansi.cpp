// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Strings.h"

namespace wobblix::platform {

// On Linux the system's 8-bit encoding is UTF-8 (Qt 6 takes it so, whatever the locale says), the one
// code page that holds every path.
std::string ToAnsi(StringView text)
{
    return ToUtf8(text);
}

String FromAnsi(std::string_view text)
{
    return FromUtf8(text);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <string>
#include <string_view>

// The runtime's strings in the 8-bit forms the outside world takes.
namespace wobblix::platform {

// UTF-8, for standard error and for files. An unpaired surrogate becomes U+FFFD, and so does each byte
// that is not part of a well-formed character.
std::string ToUtf8(StringView text);
String FromUtf8(std::string_view text);

// The system's ANSI code page, the form the platform's A functions take their strings in: UTF-8 on Linux,
// and on Windows the code page of the process (UTF-8 where the program's manifest asks for it). A
// character the code page cannot hold becomes the code page's default character.
std::string ToAnsi(StringView text);
String FromAnsi(std::string_view text);

} // namespace wobblix::platform

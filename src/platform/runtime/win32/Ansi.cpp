// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/win32/Ansi.h"
#include "platform/runtime/Strings.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// UTF-8 whatever the code page: where the process's code page is UTF-8 that is the ANSI form itself, and
// where it is not, the W functions take the texts (win32/Ansi.h), so every path rings.
std::string ToAnsi(StringView text)
{
    return ToUtf8(text);
}

String FromAnsi(std::string_view text)
{
    return FromUtf8(text);
}

namespace win32 {

bool AnsiIsUtf8()
{
    return GetACP() == CP_UTF8;
}

// wchar_t is 16 bits on Windows: the runtime's strings are the W functions' own.
std::wstring WideFromUtf8(std::string_view text)
{
    const String wide = FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8FromWide(std::wstring_view text)
{
    return ToUtf8(String(text.begin(), text.end()));
}

} // namespace win32

} // namespace wobblix::platform

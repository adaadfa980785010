// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

// How the texts of the A functions' records reach Windows. ToAnsi yields UTF-8 on Windows too, so that no
// path is lost to a code page that cannot hold it. The program's manifest asks for UTF-8 as the process's
// code page, which Windows grants from 10 1903 on (and Wine 8): then the A functions take UTF-8 as it is.
// Where it is not granted, the backend calls the W form of the function instead, with each text of the
// record converted from UTF-8 here, and converts what comes back.
namespace wobblix::platform::win32 {

// True when the A functions take UTF-8: the process's ANSI code page is 65001.
bool AnsiIsUtf8();

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

} // namespace wobblix::platform::win32

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/DecimalReading.h"

#include <cstdlib>
#include <string>

namespace wobblix::platform {

// strtod, as the C runtime of mingw-w64 has it: correctly rounded (gdtoa), giving infinity beyond a
// double's range and zero below it, and in the C locale, which the program never leaves (it calls no
// setlocale). std::from_chars, which reads the same and is locale-free as well, would bring some 40 KB of
// tables into the program file.
double ReadDecimal(std::string_view number)
{
    const std::string text(number);
    return std::strtod(text.c_str(), nullptr);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

// The runtime's conversions between texts and numbers. Every caller relies on exactly these rules, so
// they live here once.
namespace wobblix::platform {

// The numeric test: true when the whole text reads as a number. False for the empty text, for blanks
// only, and for a single character that is not a digit. Blanks around the number, one leading sign, a
// decimal point and an exponent are accepted ("-3", " 7", "1.5", "2e1").
bool IsNumeric(StringView text);

// Text to 16-bit signed integer, rounding halves to even as the runtime always has ("2.5" gives 2).
// Throws RuntimeError "Type mismatch" (13) for a text that is not numeric and "Overflow" (6) for a
// number outside -32768..32767.
Integer CInt(StringView text);

// An integer to text: decimal, no leading zeros or blanks, "-" only for negatives.
String CStr(Long value);

} // namespace wobblix::platform

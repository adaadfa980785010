// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Conversions.h"

#include "platform/runtime/DecimalReading.h"
#include "platform/runtime/RuntimeError.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace wobblix::platform {

namespace {

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The blanks a number may stand between: the white space of Unicode, as the runtime has always taken it.
bool isBlank(char16_t c)
{
    switch (c) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u' ':
    case 0x85:
    case 0xa0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202f:
    case 0x205f:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200a;
    }
}

StringView trimmed(StringView text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads text as a decimal number: optional blanks, one sign, digits with at most one decimal point
// (at least one digit in all), an optional exponent, optional blanks. Nothing else is a number.
std::optional<double> parseNumber(StringView text)
{
    const StringView t = trimmed(text);
    std::size_t i = 0;
    const std::size_t n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && isAsciiDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < n && t[i] == u'.') {
        ++i;
        while (i < n && isAsciiDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < n && isAsciiDigit(t[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    // The form was checked above: only ASCII remains.
    const std::string ascii(t.begin() + (t.front() == u'+' ? 1 : 0), t.end());
    return ReadDecimal(ascii);
}

} // namespace

bool IsNumeric(StringView text)
{
    return parseNumber(text).has_value();
}

Integer CInt(StringView text)
{
    const std::optional<double> value = parseNumber(text);
    if (!value)
        throw RuntimeError(RuntimeError::TypeMismatch);
    const double rounded = std::nearbyint(*value); // default rounding mode: halves to even
    if (!(rounded >= std::numeric_limits<Integer>::min() && rounded <= std::numeric_limits<Integer>::max()))
        throw RuntimeError(RuntimeError::Overflow);
    return static_cast<Integer>(rounded);
}

String CStr(Long value)
{
    const std::string digits = std::to_string(value);
    return String(digits.begin(), digits.end());
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Conversions.h"

#include "platform/runtime/RuntimeError.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

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

// Whether a well-formed number, trimmed, is below 1 in size: the power of ten of its first significant
// digit, plus its exponent, is negative. A number with no significant digit is 0.
bool roundsToZero(const std::string& number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = std::string_view(number).substr(0, e);
    const auto point = static_cast<std::int64_t>(
        mantissa.find('.') == std::string_view::npos ? mantissa.size() : mantissa.find('.'));
    std::int64_t first = 0;
    while (first < static_cast<std::int64_t>(mantissa.size()) &&
           !(mantissa[first] >= '1' && mantissa[first] <= '9'))
        ++first;
    if (first == static_cast<std::int64_t>(mantissa.size()))
        return true;
    std::int64_t exponent = 0;
    if (e != std::string::npos) {
        const char* begin = number.data() + e + 1;
        if (*begin == '+')
            ++begin;
        const char* end = number.data() + number.size();
        if (std::from_chars(begin, end, exponent).ec != std::errc()) // beyond 64 bits: only its sign counts
            exponent = *begin == '-' ? std::numeric_limits<std::int32_t>::min()
                                     : std::numeric_limits<std::int32_t>::max();
    }
    return (first < point ? point - first - 1 : point - first) + exponent < 0;
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
    // The form was checked above: only ASCII remains, which reads the same in every locale.
    std::string ascii(t.begin(), t.end());
    const char* begin = ascii.data() + (ascii.front() == '+' ? 1 : 0);
    double value = 0;
    const std::from_chars_result read = std::from_chars(begin, ascii.data() + ascii.size(), value);
    // A failed reading can only mean a number beyond a double's range: too large, or so small that it
    // rounds to 0 ("1e-400").
    if (read.ec == std::errc())
        return value;
    return roundsToZero(ascii) ? 0.0 : std::numeric_limits<double>::infinity();
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

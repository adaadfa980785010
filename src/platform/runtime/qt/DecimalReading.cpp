// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/DecimalReading.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace wobblix::platform {

namespace {

// Whether a well-formed number is below 1 in size: the power of ten of its first significant digit, plus
// its exponent, is negative. A number with no significant digit is 0.
bool roundsToZero(std::string_view number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    const auto point = static_cast<std::int64_t>(
        mantissa.find('.') == std::string_view::npos ? mantissa.size() : mantissa.find('.'));
    std::int64_t first = 0;
    while (first < static_cast<std::int64_t>(mantissa.size()) &&
           !(mantissa[first] >= '1' && mantissa[first] <= '9'))
        ++first;
    if (first == static_cast<std::int64_t>(mantissa.size()))
        return true;
    std::int64_t exponent = 0;
    if (e != std::string_view::npos) {
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

} // namespace

// std::from_chars, which reads the same in every locale: strtod here follows the desktop's locale, which
// Qt sets at start, and would take "1.5" for 1 where the decimal separator is a comma.
double ReadDecimal(std::string_view number)
{
    double value = 0;
    const std::from_chars_result read = std::from_chars(number.data(), number.data() + number.size(), value);
    // A failed reading can only mean a number beyond a double's range: too large, or so small that it
    // rounds to 0 ("1e-400").
    if (read.ec == std::errc())
        return value;
    const bool negative = number.front() == '-';
    if (roundsToZero(number))
        return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

} // namespace wobblix::platform

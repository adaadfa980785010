// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

// Reading a decimal number, the one step of the conversions (Conversions.h) that each backend takes with
// its platform's own means.
namespace wobblix::platform {

// A number in the form the numeric test accepts, its blanks and any leading "+" taken off: ASCII digits
// with at most one decimal point, a leading "-", an optional exponent. Its value as the double nearest to
// it; beyond a double's range, infinity of its sign, and below it, zero.
double ReadDecimal(std::string_view number);

} // namespace wobblix::platform

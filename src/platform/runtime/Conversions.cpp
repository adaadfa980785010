// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Conversions.h"

#include "platform/runtime/RuntimeError.h"

#include <cmath>
#include <limits>
#include <optional>

namespace wobblix::platform {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Whether a well-formed number, trimmed, is below 1 in size: the power of ten of its first significant
// digit, plus its exponent, is negative. A number with no significant digit is 0.
bool roundsToZero(const QString& number)
{
    const qsizetype e = number.indexOf(u'e', 0, Qt::CaseInsensitive);
    const QStringView mantissa = QStringView(number).first(e < 0 ? number.size() : e);
    const qsizetype point = mantissa.indexOf(u'.') < 0 ? mantissa.size() : mantissa.indexOf(u'.');
    qsizetype first = 0;
    while (first < mantissa.size() && !(isAsciiDigit(mantissa[first]) && mantissa[first] != u'0'))
        ++first;
    if (first == mantissa.size())
        return true;
    bool ok = false;
    qint64 exponent = e < 0 ? 0 : QStringView(number).sliced(e + 1).toLongLong(&ok);
    if (e >= 0 && !ok) // beyond 64 bits: only its sign counts
        exponent =
            number[e + 1] == u'-' ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint32>::max();
    return (first < point ? point - first - 1 : point - first) + exponent < 0;
}

// Reads text as a decimal number: optional blanks, one sign, digits with at most one decimal point
// (at least one digit in all), an optional exponent, optional blanks. Nothing else is a number.
std::optional<double> parseNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    qsizetype digits = 0;
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
        qsizetype exponentDigits = 0;
        while (i < n && isAsciiDigit(t[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok); // QString::toDouble always uses the C locale
    // The form was checked above, so a failed reading can only mean a number beyond a double's range:
    // too large, or so small that it rounds to 0 ("1e-400").
    if (ok)
        return value;
    return roundsToZero(t) ? 0.0 : std::numeric_limits<double>::infinity();
}

} // namespace

bool IsNumeric(const QString& text)
{
    return parseNumber(text).has_value();
}

qint16 CInt(const QString& text)
{
    const std::optional<double> value = parseNumber(text);
    if (!value)
        throw RuntimeError(RuntimeError::TypeMismatch);
    const double rounded = std::nearbyint(*value); // default rounding mode: halves to even
    if (!(rounded >= std::numeric_limits<qint16>::min() && rounded <= std::numeric_limits<qint16>::max()))
        throw RuntimeError(RuntimeError::Overflow);
    return static_cast<qint16>(rounded);
}

QString CStr(int value)
{
    return QString::number(value);
}

} // namespace wobblix::platform

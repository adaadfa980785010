// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/qt/QtText.h"

#include <QTest>

// The runtime's strings and Qt's, side by side in the tests: Qt's are what QCOMPARE prints.
namespace wobblix::test {

inline platform::String str(const QString& text)
{
    return platform::qt::fromQString(text);
}

inline QString qstr(platform::StringView text)
{
    return platform::qt::toQString(text);
}

} // namespace wobblix::test

// QCOMPARE of the runtime's strings, with each other and with Qt's, printing both as texts when they differ.
namespace QTest {

inline bool qCompare(const std::u16string& actual, const QString& expected, const char* actualText,
                     const char* expectedText, const char* file, int line)
{
    return qCompare(QString::fromStdU16String(actual), expected, actualText, expectedText, file, line);
}

inline bool qCompare(const std::u16string& actual, const std::u16string& expected, const char* actualText,
                     const char* expectedText, const char* file, int line)
{
    return qCompare(QString::fromStdU16String(actual), QString::fromStdU16String(expected), actualText,
                    expectedText, file, line);
}

} // namespace QTest

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <exception>

namespace wobblix::platform {

// An error raised by a runtime operation (a failed conversion, an invalid property value). It carries the
// number and text the user sees in the error report; no handler catches it, so it ends the program.
class RuntimeError : public std::exception {
public:
    // The numbers are those users of the clock have always seen for these errors.
    static constexpr int Overflow = 6;
    static constexpr int TypeMismatch = 13;
    static constexpr int InvalidPropertyValue = 380;
    // What the report says for a failure outside the runtime's own operations.
    static constexpr int InternalError = 51;

    explicit RuntimeError(int number);

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

    // The text that goes with a number ("Type mismatch" for 13), or "Application-defined or object-defined
    // error" for a number this program does not know.
    static QString descriptionOf(int number);

private:
    int m_number = 0;
    QString m_description;
    QByteArray m_what;
};

} // namespace wobblix::platform

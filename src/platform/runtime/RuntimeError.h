// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <exception>
#include <string>

namespace wobblix::platform {

// An error raised by a runtime operation (a failed conversion, an invalid property value). It carries the
// number and text the user sees in the error report; no handler catches it, so it ends the program.
class RuntimeError : public std::exception {
public:
    // The numbers are those users of the clock have always seen for these errors.
    static constexpr Long Overflow = 6;
    static constexpr Long TypeMismatch = 13;
    static constexpr Long InvalidPropertyValue = 380;
    // What the report says for a failure outside the runtime's own operations.
    static constexpr Long InternalError = 51;

    explicit RuntimeError(Long number);

    Long number() const noexcept { return m_number; }
    const String& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

    // The text that goes with a number ("Type mismatch" for 13), or "Application-defined or object-defined
    // error" for a number this program does not know.
    static String descriptionOf(Long number);

private:
    Long m_number = 0;
    String m_description;
    std::string m_what;
};

// The default error report: what the user sees of an error that left a handler, "Run-time error '13':",
// a blank line and the error's text. From the error being handled (the current exception): a RuntimeError
// as itself, any other error as InternalError with its own text.
struct ErrorReport {
    Long number = 0;
    String text;
    String prompt() const;
    static ErrorReport ofCurrentError();
};

} // namespace wobblix::platform

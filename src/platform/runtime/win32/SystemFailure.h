// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <exception>

namespace wobblix::platform::win32 {

// A call to Windows failed where the program cannot go on (no window class, no window): the error report
// shows it as an internal error with this text. The text is a literal, not a string of its own as
// std::runtime_error's is, whose copy-on-write string would bring a second string implementation into the
// program file.
class SystemFailure final : public std::exception {
public:
    explicit SystemFailure(const char* what) noexcept : m_what(what) {}
    const char* what() const noexcept override { return m_what; }

private:
    const char* m_what;
};

} // namespace wobblix::platform::win32

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/RuntimeError.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/Strings.h"

namespace wobblix::platform {

RuntimeError::RuntimeError(Long number)
    : m_number(number), m_description(descriptionOf(number)),
      m_what("Run-time error '" + std::to_string(number) + "': " + ToUtf8(m_description))
{
}

String RuntimeError::descriptionOf(Long number)
{
    switch (number) {
    case Overflow:
        return u"Overflow";
    case TypeMismatch:
        return u"Type mismatch";
    case InvalidPropertyValue:
        return u"Invalid property value";
    default:
        return u"Application-defined or object-defined error";
    }
}

String ErrorReport::prompt() const
{
    return u"Run-time error '" + CStr(number) + u"':\n\n" + text;
}

ErrorReport ErrorReport::ofCurrentError()
{
    try {
        throw;
    } catch (const RuntimeError& error) {
        return {error.number(), error.description()};
    } catch (const std::exception& error) {
        // Something outside the runtime's own operations failed.
        return {RuntimeError::InternalError, FromUtf8(error.what())};
    } catch (...) {
        return {RuntimeError::InternalError, u"Internal error"};
    }
}

} // namespace wobblix::platform

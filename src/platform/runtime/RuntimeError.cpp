// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/RuntimeError.h"

namespace wobblix::platform {

RuntimeError::RuntimeError(int number)
    : m_number(number), m_description(descriptionOf(number)),
      m_what(QStringLiteral("Run-time error '%1': %2").arg(number).arg(m_description).toUtf8())
{
}

QString RuntimeError::descriptionOf(int number)
{
    switch (number) {
    case Overflow:
        return QStringLiteral("Overflow");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace wobblix::platform

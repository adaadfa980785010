// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <QString>

// The runtime's strings as Qt's and back: both are UTF-16, so nothing is converted but the type.
namespace wobblix::platform::qt {

inline QString toQString(StringView text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline String fromQString(const QString& text)
{
    return String(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

} // namespace wobblix::platform::qt

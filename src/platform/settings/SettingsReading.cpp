// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// What is the same for every store: the values one reading gave, and a write's failure.

#include "platform/runtime/Strings.h"
#include "platform/settings/SettingsStore.h"

namespace wobblix::platform {

SettingsWriteError::SettingsWriteError(String reason)
    : std::runtime_error(ToUtf8(reason)), m_reason(std::move(reason))
{
}

SettingsReading::SettingsReading(std::map<String, String, std::less<>> values, String problem)
    : m_values(std::move(values)), m_problem(std::move(problem))
{
}

String SettingsReading::GetSetting(StringView key, const String& defaultValue) const
{
    const auto found = m_values.find(key);
    return found != m_values.end() ? found->second : defaultValue;
}

SettingsStore::SettingsStore(String folder) : m_folder(std::move(folder)) {}

} // namespace wobblix::platform

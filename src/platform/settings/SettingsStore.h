// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace wobblix::platform {

// Saving failed, and what was stored before is unchanged. The reason is in words for the user and names
// what is at fault.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(String reason);
    const String& reason() const { return m_reason; }

private:
    String m_reason;
};

// What one reading of a section gave: the text of each of its keys, or why the store could not be read. A
// load takes all its values from one reading, so that the store is opened and parsed once.
class SettingsReading {
public:
    // The stored text, or defaultValue when there is none or the store could not be read.
    String GetSetting(StringView key, const String& defaultValue) const;
    // Why the store could not be read, in words for the user; empty when it could, or holds nothing yet.
    const String& problem() const { return m_problem; }

private:
    friend class SettingsStore;
    SettingsReading(std::map<String, String, std::less<>> values, String problem);

    std::map<String, String, std::less<>> m_values;
    String m_problem;
};

// The per-user settings: texts under an application, a section and a key. On Linux the file
// <configuration folder>/<application>.conf ($XDG_CONFIG_HOME, by default ~/.config), section
// [<section>], in the format QSettings reads; on Windows the registry, where the runtime has always kept
// them. A Save replaces only its keys, all at once: the store holds the old values or the new ones.
class SettingsStore {
public:
    using Values = std::vector<std::pair<String, String>>; // key and text, in the order they are written

    SettingsStore() = default;             // the user's store
    explicit SettingsStore(String folder); // a store of its own in `folder`, for tests

    // Reads the application's settings once, for the keys of one section.
    SettingsReading Read(const String& application, const String& section) const;
    // Writes every value, or none and throws SettingsWriteError.
    void SaveSettings(const String& application, const String& section, const Values& values);

private:
    String m_folder; // empty: the user's store
};

} // namespace wobblix::platform

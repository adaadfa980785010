#pragma once

#include <QString>

namespace wobblix::platform {

// The per-user settings store: named values under an application, a section and a key, all strings.
class SettingsStore {
public:
    // The stored text, or defaultValue when the application, section or key does not exist.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Creates or replaces the key with the text.
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value);
};

} // namespace wobblix::platform

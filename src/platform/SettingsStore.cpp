#include "platform/SettingsStore.h"

namespace wobblix::platform {

// Not yet backed by a file: every key reads as absent and nothing is written.
QString SettingsStore::GetSetting(const QString&, const QString&, const QString&,
                                  const QString& defaultValue) const
{
    return defaultValue;
}

void SettingsStore::SaveSetting(const QString&, const QString&, const QString&, const QString&) {}

} // namespace wobblix::platform

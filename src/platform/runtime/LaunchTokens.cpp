// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/LaunchTokens.h"

namespace wobblix::platform {

namespace {
const QString StartupIdKey = QStringLiteral("desktop-startup-id");
const QString ActivationTokenKey = QStringLiteral("activation-token");
} // namespace

LaunchTokens LaunchTokens::fromEnvironment()
{
    return {qEnvironmentVariable("DESKTOP_STARTUP_ID"), qEnvironmentVariable("XDG_ACTIVATION_TOKEN")};
}

QVariantMap LaunchTokens::platformData() const
{
    QVariantMap data;
    if (!startupId.isEmpty())
        data.insert(StartupIdKey, startupId);
    if (!activationToken.isEmpty())
        data.insert(ActivationTokenKey, activationToken);
    return data;
}

LaunchTokens LaunchTokens::fromPlatformData(const QVariantMap& data)
{
    return {data.value(StartupIdKey).toString(), data.value(ActivationTokenKey).toString()};
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/DesktopPlatform.h"

namespace wobblix::platform {

DesktopPlatform::DesktopPlatform(QObject* parent) : QObject(parent) {}

Platform DesktopPlatform::platform()
{
    return Platform{m_clock, m_messageBox, *m_sound, m_fileDialog, *m_notifyArea, m_settings, *m_application};
}

} // namespace wobblix::platform

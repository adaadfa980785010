// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/DesktopPlatform.h"

#include "platform/desktop/ApplicationService.h"
#include "platform/desktop/Clock.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/win32/ShellNotifyArea.h"
#include "platform/desktop/win32/SystemFileDialog.h"
#include "platform/playback/win32/SystemSound.h"
#include "platform/settings/SettingsStore.h"

namespace wobblix::platform {

// Windows' parts: its message box, common dialog, notification area, PlaySound and the registry.
struct DesktopPlatform::Parts {
    SystemClock clock;
    SystemMessageBox messageBox;
    SystemSound sound;
    SystemFileDialog fileDialog;
    ShellNotifyArea notifyArea;
    SettingsStore settings;
    ApplicationService application;
};

DesktopPlatform::DesktopPlatform() : m_parts(std::make_unique<Parts>()) {}

DesktopPlatform::~DesktopPlatform() = default;

Platform DesktopPlatform::platform()
{
    Parts& p = *m_parts;
    return Platform{p.clock, p.messageBox, p.sound, p.fileDialog, p.notifyArea, p.settings, p.application};
}

ApplicationService& DesktopPlatform::application()
{
    return m_parts->application;
}

} // namespace wobblix::platform

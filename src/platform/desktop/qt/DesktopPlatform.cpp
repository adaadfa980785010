// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/DesktopPlatform.h"

#include "platform/desktop/ApplicationService.h"
#include "platform/desktop/Clock.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/qt/QtFileDialog.h"
#include "platform/desktop/qt/SystemTrayNotifyArea.h"
#include "platform/playback/qt/AudioModule.h"
#include "platform/settings/SettingsStore.h"

namespace wobblix::platform {

// The Linux desktop's parts: Qt's own dialogs and tray icon, the audio module, the settings file and the
// session bus.
struct DesktopPlatform::Parts {
    SystemClock clock;
    SystemMessageBox messageBox;
    AudioModule sound;
    QtFileDialog fileDialog;
    SystemTrayNotifyArea notifyArea;
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

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/ApplicationService.h"
#include "platform/desktop/Clock.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/Platform.h"
#include "platform/desktop/QtFileDialog.h"
#include "platform/desktop/SystemTrayNotifyArea.h"
#include "platform/playback/AudioModule.h"
#include "platform/settings/SettingsStore.h"

#include <QObject>

namespace wobblix::platform {

// The desktop's real parts, which the running program hands to its window. Owns them for the whole run.
class DesktopPlatform final : public QObject {
    Q_OBJECT
public:
    explicit DesktopPlatform(QObject* parent = nullptr);

    Platform platform();
    ApplicationService& application() { return *m_application; }

private:
    SystemClock m_clock;
    QtMessageBox m_messageBox;
    AudioModule* m_sound = new AudioModule(this);
    QtFileDialog m_fileDialog;
    SystemTrayNotifyArea* m_notifyArea = new SystemTrayNotifyArea(this);
    SettingsStore m_settings;
    ApplicationService* m_application = new ApplicationService(this);
};

} // namespace wobblix::platform

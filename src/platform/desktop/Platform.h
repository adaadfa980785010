// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace wobblix::platform {

class ApplicationService;
class Clock;
class FileDialog;
class MessageBox;
class NotifyArea;
class SettingsStore;
class Sound;

// The outside world as the window meets it. The program passes the desktop's real parts; unit tests pass
// their own. Each part outlives the window.
struct Platform {
    Clock& clock;
    MessageBox& messageBox;
    Sound& sound;
    FileDialog& fileDialog;
    NotifyArea& notifyArea;
    SettingsStore& settings;
    ApplicationService& application; // the desktop's requests over the session bus
};

} // namespace wobblix::platform

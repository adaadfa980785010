// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The clock's window, MainForm. Its controls keep the names the window has always had, by kind: cmd a
// command button, txt a text box, chk a check box, lbl a label, menu a menu item. The numbered ones:
//   Timer1    the alarm's watch: every 3000 ms, compares the clock with txtHour and txtMinute
//   Timer2    the chimes' watch: every 3000 ms, looks for minute 0
//   Timer3    the rest after a sound: once, 60000 ms on, it starts the two watches again
//   Picture1  invisible: holds the notification icon's image, and the icon's mouse actions reach it
//   Picture2  the upper grey panel, the alarm's
//   Picture3  the lower grey panel, the chimes'
// Message-box styles (platform::MessageBox): the sum of the buttons (0: OK only) and the icon, 48
// exclamation or 64 information. Error numbers of the error report (platform::RuntimeError):
// 6 Overflow, 13 Type mismatch, 380 Invalid property value, and 51 for a failure outside the runtime's
// own operations.

#pragma once

#include "platform/controls/Form.h"
#include "platform/desktop/Platform.h"
#include "platform/runtime/Types.h"

namespace wobblix {

namespace platform {
struct LaunchTokens;
class CheckBox;
class CommandButton;
class MenuItem;
class PictureBox;
class TextBox;
class Timer;
} // namespace platform

using platform::Integer;
using platform::Long;
using platform::Single;
using platform::String;
using platform::StringView;

// The clock's one window. Every piece of behaviour is one of its event handlers, named after its control
// and its event; each handler is defined in the folder of the subsystem it belongs to:
//   main_window/  the window description, Exit and About, settings Load and Save
//   alarm/        the three timers and the hour and minute field rules
//   sound/        Browse and Play
//   tray/         Hide into the notification area and restore, from the icon or for a second start
// Handlers are public so that they can be called as procedures (the timers call the Play handlers).
class MainForm final : public platform::Form {
public:
    explicit MainForm(const platform::Platform& platform);

    // Load
    void Form_Load();

    // Menu
    void menuHide_Click();
    void menuSave_Click();
    void menuExit_Click();
    void menuAbout_Click();

    // Alarm and chimes
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void txtHour_KeyPress(Integer& keyAscii);
    void txtMinute_KeyPress(Integer& keyAscii);
    void txtHour_Change();
    void txtMinute_Change();

    // Sound files
    void cmdBrowse_Click();
    void cmdChimesBrowse_Click();
    void cmdPlay_Click();
    void cmdChimesPlay_Click();

    // Notification area, and the desktop asking for the window (a second start)
    Long ShellTrayAdd();
    void Picture1_MouseMove(Integer button, Integer shift, Single x, Single y);
    void Application_Activate(const platform::LaunchTokens& launch);

protected:
    void Load() override { Form_Load(); }

private:
    void ShellTrayDelete();
    void ToggleTimers();

    // Building the window from its description.
    void createControls();
    void createMenu();
    void connectEvents();

    // The six stored settings: key, control and property (main_window/SettingsHandlers.cpp).
    struct StoredSetting;
    static const StoredSetting StoredSettings[6];

    platform::Platform m_platform;

    // Controls, owned by the window through their parents. Upper panel: the alarm.
    platform::PictureBox* Picture2 = nullptr;
    platform::PictureBox* Picture1 = nullptr; // invisible; holds the notification icon's picture
    platform::Timer* Timer1 = nullptr;        // alarm check, every 3000 ms
    platform::Timer* Timer3 = nullptr;        // re-arm after a sound, 60000 ms
    platform::CheckBox* chkAlarmClock = nullptr;
    platform::TextBox* txtSound = nullptr;
    platform::CommandButton* cmdBrowse = nullptr;
    platform::CommandButton* cmdPlay = nullptr;
    platform::TextBox* txtHour = nullptr;
    platform::TextBox* txtMinute = nullptr;
    // Lower panel: the hourly chimes.
    platform::PictureBox* Picture3 = nullptr;
    platform::Timer* Timer2 = nullptr; // chime check, every 3000 ms
    platform::CheckBox* chkChimes = nullptr;
    platform::TextBox* txtChimesSoundFile = nullptr;
    platform::CommandButton* cmdChimesBrowse = nullptr;
    platform::CommandButton* cmdChimesPlay = nullptr;

    // Menu items.
    platform::MenuItem* menuHide = nullptr;
    platform::MenuItem* menuSave = nullptr;
    platform::MenuItem* menuExit = nullptr;
    platform::MenuItem* menuAbout = nullptr;
};

} // namespace wobblix

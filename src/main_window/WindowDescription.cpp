// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as the user sees it: frame, colours, every control with its caption, position and size in
// twips, the focus order, and the menu. The controls are one table, read as the window is described, and
// one loop builds them.

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Label.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"

#include <cassert>
#include <string_view>
#include <type_traits>

namespace wobblix {

namespace {

using platform::RGB;
using platform::StringView;

constexpr Long DarkBlue = RGB(0, 0, 64);       // the window's background, seen around and between the panels
constexpr Long PanelGrey = RGB(224, 224, 224); // panels, labels and check boxes
// What is written on the panels: the dark text of a light theme. The panels keep their grey in every
// theme, and a dark theme's light text would read at under 2:1 on it.
constexpr Long PanelText = RGB(0, 0, 0);
constexpr Long NoColour = -1;

constexpr Long WatchIntervalMs = 3000; // how often the alarm and the chimes compare the clock
constexpr Long RestIntervalMs = 60000; // how long the clock rests after a sound: past the minute that sounded

// The heading face of the two panel titles; where it is missing, the desktop's sans-serif stands in.
const platform::Font HeadingFont{u"MS Sans Serif", 9.75F, 400};

// The classes of the window's controls.
enum class Class { PictureBox, Timer, CommandButton, TextBox, CheckBox, Label };

// What a control sets beyond its class's defaults; whatever is not set keeps the default.
struct Further {
    Long background = NoColour;     // the panels' grey, for a panel and for the labels and check boxes on it,
                                    // whose captions are then drawn in PanelText
    bool heading = false;           // the heading face, for the two panel titles
    bool disabled = false;          // the path fields: shown greyed, they cannot be focused or typed into
    Long maxLength = 0;             // the time fields hold at most this many characters (0: no limit)
    bool invisible = false;         // Picture1, which only carries the notification icon's picture
    StringView picture = {};        // the icon a picture box holds, a picture resource of the program
    Long intervalMs = 0;            // a timer's interval
    bool enabled = false;           // a timer ticking from creation
    StringView buddy = {};          // the field a label names, for screen readers
    StringView accessibleName = {}; // what a screen reader calls a control whose caption does not say it
};

// One control of the window. Positions and sizes are in twips inside the container, whose border they
// start from; a timer has no size and its position has no effect. Tab indices run from 0 without gaps;
// a timer has none.
struct Control {
    StringView name;
    Class kind;
    StringView container; // "MainForm": the window's client area, below the menu bar
    StringView caption;
    Long left, top, width, height;
    Integer tabIndex;
    Further further;
};

constexpr Integer NoTabIndex = platform::Control::NoTabIndex;

using enum Class;

// The window's controls, in the order the window creates them, each container before what it holds.
// The timers come last, the alarm's first: ticks that fall due together arrive in the order their timers
// started, so at the top of the hour the alarm is checked before the chime, and whichever sounds puts the
// other to rest.
// clang-format off
const Control Controls[] = {
    // Name                  Class          Container    Caption              Left   Top  Width Height Tab
    {u"Picture3",            PictureBox,    u"MainForm", u"",                  120, 2400, 5415, 1695, 15,
     {.background = PanelGrey, .accessibleName = u"Chimes"}},
    {u"cmdChimesPlay",       CommandButton, u"Picture3", u"Play",             4080,  960,  855,  375,  9,
     {.accessibleName = u"Play the chime sound"}},
    {u"cmdChimesBrowse",     CommandButton, u"Picture3", u"Browse...",        3120,  960,  855,  375,  8,
     {.accessibleName = u"Browse for the chime sound file"}},
    {u"txtChimesSoundFile",  TextBox,       u"Picture3", u"",                  120,  960, 2895,  285,  7,
     {.disabled = true, .accessibleName = u"Chimes Sound File"}},
    {u"chkChimes",           CheckBox,      u"Picture3", u"On",               1440,  120,  735,  255,  6,
     {.background = PanelGrey, .accessibleName = u"Chimes On"}},
    {u"lblChimesSoundFile",  Label,         u"Picture3", u"Sound File",        120,  720, 1215,  255, 17,
     {.background = PanelGrey}},
    {u"lblChimes",           Label,         u"Picture3", u"Chimes",            120,  120, 1575,  255, 16,
     {.background = PanelGrey, .heading = true}},
    {u"Picture2",            PictureBox,    u"MainForm", u"",                  120,  120, 5415, 2175, 11,
     {.background = PanelGrey, .accessibleName = u"Alarm Clock"}},
    {u"Picture1",            PictureBox,    u"Picture2", u"",                 4440,  120,  255,  255, 18,
     {.invisible = true, .picture = u"notification"}},
    {u"chkAlarmClock",       CheckBox,      u"Picture2", u"On",               1440,  120,  735,  255,  0,
     {.background = PanelGrey, .accessibleName = u"Alarm Clock On"}},
    {u"txtSound",            TextBox,       u"Picture2", u"",                  120,  960, 2895,  285,  1,
     {.disabled = true, .accessibleName = u"Alarm Clock Sound File"}},
    {u"cmdBrowse",           CommandButton, u"Picture2", u"Browse...",        3120,  960,  855,  375,  2,
     {.accessibleName = u"Browse for the alarm sound file"}},
    {u"cmdPlay",             CommandButton, u"Picture2", u"Play",             4080,  960,  855,  375,  3,
     {.accessibleName = u"Play the alarm sound"}},
    {u"txtHour",             TextBox,       u"Picture2", u"",                  120, 1680,  975,  285,  4,
     {.maxLength = 2, .accessibleName = u"Hour (0 - 23)"}},
    {u"txtMinute",           TextBox,       u"Picture2", u"",                 1440, 1680,  855,  285,  5,
     {.maxLength = 2, .accessibleName = u"Minute (0 - 59)"}},
    {u"lblAlarmClock",       Label,         u"Picture2", u"Alarm Clock",       120,  120, 1575,  255, 10,
     {.background = PanelGrey, .heading = true}},
    {u"lblSoundFile",        Label,         u"Picture2", u"Sound File",        120,  720, 1215,  255, 14,
     {.background = PanelGrey}},
    {u"lblHour",             Label,         u"Picture2", u"Hour (0 - 23)",     120, 1440,  975,  255, 13,
     {.background = PanelGrey, .buddy = u"txtHour"}},
    {u"lblMinute",           Label,         u"Picture2", u"Minute (0 - 59)",  1440, 1440, 1095,  255, 12,
     {.background = PanelGrey, .buddy = u"txtMinute"}},
    {u"Timer1",              Timer,         u"Picture2", u"",                 4800,  120,    0,    0, NoTabIndex,
     {.intervalMs = WatchIntervalMs, .enabled = true}},
    {u"Timer2",              Timer,         u"Picture3", u"",                 4440,  120,    0,    0, NoTabIndex,
     {.intervalMs = WatchIntervalMs, .enabled = true}},
    {u"Timer3",              Timer,         u"Picture2", u"",                 4680, 1680,    0,    0, NoTabIndex,
     {.intervalMs = RestIntervalMs}},
};
// clang-format on

// Creates one control of the table inside its container (none: the client area), with what its row sets
// beyond its class's defaults.
void createControl(platform::Form& form, const Control& row, platform::PictureBox* container)
{
    const String name(row.name);
    const Further& further = row.further;
    if (row.kind == Timer) {
        auto& timer = form.Add<platform::Timer>(name);
        timer.setInterval(further.intervalMs);
        timer.setEnabled(further.enabled);
        return;
    }
    const platform::Control::Description description{.left = row.left,
                                                     .top = row.top,
                                                     .width = row.width,
                                                     .height = row.height,
                                                     .tabIndex = row.tabIndex,
                                                     .caption = String(row.caption),
                                                     .enabled = !further.disabled,
                                                     .visible = !further.invisible};
    platform::Control* control = nullptr;
    platform::Label* label = nullptr;
    switch (row.kind) {
    case Timer:
        break;
    case PictureBox: {
        auto& box = form.Add<platform::PictureBox>(container, name, description);
        if (!further.picture.empty())
            box.setPicture(further.picture);
        control = &box;
        break;
    }
    case CommandButton:
        control = &form.Add<platform::CommandButton>(container, name, description);
        break;
    case TextBox: {
        auto& box = form.Add<platform::TextBox>(container, name, description);
        box.setMaxLength(further.maxLength);
        control = &box;
        break;
    }
    case CheckBox:
        control = &form.Add<platform::CheckBox>(container, name, description);
        break;
    case Label:
        label = &form.Add<platform::Label>(container, name, description);
        if (!further.buddy.empty())
            label->setBuddy(*form.Find<platform::Control>(further.buddy));
        control = label;
        break;
    }
    if (further.background != NoColour) {
        control->setBackColor(further.background);
        // The caption only: a check box's box and tick keep the theme's field colours, which read on the
        // grey in both kinds of theme.
        if (row.kind != PictureBox)
            control->setForeColor(PanelText);
    }
    if (further.heading)
        control->setFont(HeadingFont);
    else if (label != nullptr)
        label->setShrinkToFit(true); // in its place and face: the desktop's faces are wider
    if (!further.accessibleName.empty())
        control->setAccessibleName(String(further.accessibleName));
}

} // namespace

void MainForm::createControls()
{
    setCaption(u"Wobblix Clock");
    setIcon(u"wobblix-clock");
    setClientSize(5655, 4200);
    setBackColor(DarkBlue);
    for (const Control& row : Controls) {
        auto* panel = Find<platform::PictureBox>(row.container);
        assert((panel != nullptr || row.container == u"MainForm") && "a container comes first");
        createControl(*this, row, panel);
    }

    // The controls the handlers use, by name.
    const auto bind = [this](auto*& member, StringView name) {
        member = Find<std::remove_reference_t<decltype(*member)>>(name);
        assert(member != nullptr && "a control the handlers use is missing from the table");
    };
    bind(Picture2, u"Picture2");
    bind(Picture1, u"Picture1");
    bind(Timer1, u"Timer1");
    bind(Timer3, u"Timer3");
    bind(chkAlarmClock, u"chkAlarmClock");
    bind(txtSound, u"txtSound");
    bind(cmdBrowse, u"cmdBrowse");
    bind(cmdPlay, u"cmdPlay");
    bind(txtHour, u"txtHour");
    bind(txtMinute, u"txtMinute");
    bind(Picture3, u"Picture3");
    bind(Timer2, u"Timer2");
    bind(chkChimes, u"chkChimes");
    bind(txtChimesSoundFile, u"txtChimesSoundFile");
    bind(cmdChimesBrowse, u"cmdChimesBrowse");
    bind(cmdChimesPlay, u"cmdChimesPlay");
}

// No shortcut keys: the captions carry no mnemonic.
void MainForm::createMenu()
{
    auto& menuOptions = Add<platform::MenuItem>(nullptr, u"menuOptions", u"Options");
    menuHide = &Add<platform::MenuItem>(&menuOptions, u"menuHide", u"Hide");
    Add<platform::MenuItem>(&menuOptions, u"menudash1", u"-");
    menuSave = &Add<platform::MenuItem>(&menuOptions, u"menuSave", u"Save");
    Add<platform::MenuItem>(&menuOptions, u"menudash2", u"-");
    menuExit = &Add<platform::MenuItem>(&menuOptions, u"menuExit", u"Exit");

    auto& menuHelp = Add<platform::MenuItem>(nullptr, u"menuHelp", u"Help");
    menuAbout = &Add<platform::MenuItem>(&menuHelp, u"menuAbout", u"About..");
}

} // namespace wobblix

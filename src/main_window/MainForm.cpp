// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/desktop/ApplicationService.h"

namespace wobblix {

MainForm::MainForm(const platform::Platform& platform) : platform::Form(u"MainForm"), m_platform(platform)
{
    createControls();
    createMenu();
    connectEvents();
}

// Which handler each control event runs. These are all the events the window handles: in particular
// nothing runs when the window is asked to close, and clicking a check box only changes its value. The
// last is the desktop's, not a control's: a second start asks the running clock for its window.
void MainForm::connectEvents()
{
    cmdBrowse->Click.Handle(this, &MainForm::cmdBrowse_Click);
    cmdChimesBrowse->Click.Handle(this, &MainForm::cmdChimesBrowse_Click);
    cmdPlay->Click.Handle(this, &MainForm::cmdPlay_Click);
    cmdChimesPlay->Click.Handle(this, &MainForm::cmdChimesPlay_Click);
    Timer1->Tick.Handle(this, &MainForm::Timer1_Timer);
    Timer2->Tick.Handle(this, &MainForm::Timer2_Timer);
    Timer3->Tick.Handle(this, &MainForm::Timer3_Timer);
    txtHour->Change.Handle(this, &MainForm::txtHour_Change);
    txtHour->KeyPress.Handle(this, &MainForm::txtHour_KeyPress);
    txtMinute->Change.Handle(this, &MainForm::txtMinute_Change);
    txtMinute->KeyPress.Handle(this, &MainForm::txtMinute_KeyPress);
    Picture1->MouseMove.Handle(this, &MainForm::Picture1_MouseMove);
    m_platform.application.Activate.Handle(this, &MainForm::Application_Activate);
    menuHide->Click.Handle(this, &MainForm::menuHide_Click);
    menuSave->Click.Handle(this, &MainForm::menuSave_Click);
    menuExit->Click.Handle(this, &MainForm::menuExit_Click);
    menuAbout->Click.Handle(this, &MainForm::menuAbout_Click);
}

} // namespace wobblix

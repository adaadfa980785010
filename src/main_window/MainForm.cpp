// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"
#include "platform/desktop/ApplicationService.h"

namespace wobblix {

MainForm::MainForm(const platform::Platform& platform, QWidget* parent)
    : platform::Form(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("MainForm"));
    createControls();
    createMenu();
    connectEvents();
}

// Which handler each control event runs. These are all the events the window handles: in particular
// nothing runs when the window is asked to close, and clicking a check box only changes its value. The
// last is the desktop's, not a control's: a second start asks the running clock for its window.
void MainForm::connectEvents()
{
    connect(cmdBrowse, &QPushButton::clicked, this, &MainForm::cmdBrowse_Click);
    connect(cmdChimesBrowse, &QPushButton::clicked, this, &MainForm::cmdChimesBrowse_Click);
    connect(cmdPlay, &QPushButton::clicked, this, &MainForm::cmdPlay_Click);
    connect(cmdChimesPlay, &QPushButton::clicked, this, &MainForm::cmdChimesPlay_Click);
    connect(Timer1, &QTimer::timeout, this, &MainForm::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &MainForm::Timer2_Timer);
    connect(Timer3, &QTimer::timeout, this, &MainForm::Timer3_Timer);
    connect(txtHour, &platform::TextBox::Change, this, &MainForm::txtHour_Change);
    connect(txtHour, &platform::TextBox::KeyPress, this, &MainForm::txtHour_KeyPress);
    connect(txtMinute, &platform::TextBox::Change, this, &MainForm::txtMinute_Change);
    connect(txtMinute, &platform::TextBox::KeyPress, this, &MainForm::txtMinute_KeyPress);
    connect(Picture1, &platform::PictureBox::MouseMove, this, &MainForm::Picture1_MouseMove);
    connect(&m_platform.application, &platform::ApplicationService::Activate, this,
            &MainForm::Application_Activate);
    connect(menuHide, &QAction::triggered, this, &MainForm::menuHide_Click);
    connect(menuSave, &QAction::triggered, this, &MainForm::menuSave_Click);
    connect(menuExit, &QAction::triggered, this, &MainForm::menuExit_Click);
    connect(menuAbout, &QAction::triggered, this, &MainForm::menuAbout_Click);
}

} // namespace wobblix

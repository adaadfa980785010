// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/MainForm.h"
#include "platform/desktop/ApplicationService.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/runtime/Application.h"

int main(int argc, char* argv[])
{
    wobblix::platform::Application app(argc, argv);
    wobblix::platform::DesktopPlatform desktop;
    // One clock per user: a start that finds a clock running brings that one forward and ends here, having
    // shown nothing and read or written no settings.
    if (!desktop.application().claim(app.launchTokens()))
        return 0;
    wobblix::MainForm form(desktop.platform());
    return app.run(form);
}

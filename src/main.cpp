#include "main_window/MainForm.h"
#include "platform/Application.h"
#include "platform/DesktopPlatform.h"

int main(int argc, char* argv[])
{
    wobblix::platform::Application app(argc, argv);
    wobblix::platform::DesktopPlatform desktop;
    wobblix::MainForm form(desktop.platform());
    return app.run(form);
}

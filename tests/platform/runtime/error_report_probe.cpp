// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// A clock whose sound playback fails with a run-time error. It presses Play as soon as it runs; the error
// leaves the Play handler and must reach the default error report. A watcher prints the text of every
// message box it finds to standard output and dismisses it, so the report can be read without a person.

#include "main_window/MainForm.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "platform/runtime/Application.h"
#include "platform/runtime/RuntimeError.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {
class FailingSound final : public wobblix::platform::Sound {
public:
    bool PlaySound(const wobblix::platform::String&, std::uint32_t) override
    {
        throw wobblix::platform::RuntimeError(wobblix::platform::RuntimeError::TypeMismatch);
    }
};
} // namespace

int main(int argc, char* argv[])
{
    wobblix::platform::Application app(argc, argv);
    wobblix::test::FakePlatform world;
    FailingSound sound;
    wobblix::platform::Platform platform = world.platform();
    wobblix::platform::Platform failing{platform.clock,      platform.messageBox, sound,
                                        platform.fileDialog, platform.notifyArea, platform.settings,
                                        platform.application};
    wobblix::MainForm form(failing);
    QMainWindow& window = wobblix::platform::qt::window(form);

    QTimer watcher(&window);
    QObject::connect(&watcher, &QTimer::timeout, &window, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("%s\n[%s]\n", qPrintable(box->text()), qPrintable(box->objectName()));
            std::fflush(stdout);
            box->accept();
        }
    });
    watcher.start(20);
    QTimer::singleShot(0, &window, [&window] {
        // After start-up: Load fills the field from the (empty) settings store.
        window.findChild<wobblix::platform::qt::TextBoxWidget*>(QStringLiteral("txtSound"))
            ->setText(QStringLiteral("x.wav"));
        window.findChild<QPushButton*>(QStringLiteral("cmdPlay"))->click();
        std::printf("the program went on after the error\n");
    });
    return app.run(form);
}

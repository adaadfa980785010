// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/ApplicationService.h"
#include "platform/desktop/Clock.h"
#include "platform/desktop/FileDialog.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/NotifyArea.h"
#include "platform/desktop/Platform.h"
#include "platform/playback/Sound.h"
#include "platform/settings/SettingsStore.h"
#include "support/Text.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTime>

#include <functional>

namespace wobblix::test {

// A clock that shows whatever time the test sets. Times queued in `upcoming` are returned first, one per
// reading, so a test can make the time move between two readings.
class FakeClock final : public platform::Clock {
public:
    platform::TimeOfDay Now() const override
    {
        const QTime now = upcoming.isEmpty() ? time : upcoming.takeFirst();
        return {static_cast<platform::Integer>(now.hour()), static_cast<platform::Integer>(now.minute()),
                static_cast<platform::Integer>(now.second())};
    }
    QTime time{12, 0, 0};
    mutable QList<QTime> upcoming;
};

// Records every message box instead of showing it.
class FakeMessageBox final : public platform::MessageBox {
public:
    struct Shown {
        QString prompt;
        int style = 0;
        QString title;
    };
    platform::Long MsgBox(platform::WindowHandle, const platform::String& prompt, platform::Long style,
                          const platform::String& title) override
    {
        shown.append({platform::qt::toQString(prompt), style, platform::qt::toQString(title)});
        return Ok;
    }
    QList<Shown> shown;
};

// Records every playback request.
class FakeSound final : public platform::Sound {
public:
    bool PlaySound(const platform::String& name, std::uint32_t flags) override
    {
        played.append(platform::qt::toQString(name));
        lastFlags = flags;
        return true;
    }
    QStringList played;
    quint32 lastFlags = 0;
};

// Answers each dialog with what the test put in `answer` (by default: Cancel).
class FakeFileDialog final : public platform::FileDialog {
public:
    bool GetOpenFileName(platform::OPENFILENAMEA& record) override
    {
        ++calls;
        return answer ? answer(record) : false;
    }
    std::function<bool(platform::OPENFILENAMEA&)> answer;
    int calls = 0;
};

// Records every request to the notification area, and the last record as it came, and answers `result`.
class FakeNotifyArea final : public platform::NotifyArea {
public:
    bool Shell_NotifyIcon(quint32 message, platform::NOTIFYICONDATAA& record) override
    {
        messages.append(message);
        last = record;
        return result;
    }
    QList<quint32> messages;
    platform::NOTIFYICONDATAA last;
    bool result = true;
};

// All of the above, with a settings store and the bus's requests, as one bundle to hand to a MainForm. The
// store is a real one in a temporary folder of its own, empty at first (the file is
// settingsFolder/Wobblix.conf), so that no test reads or writes the user's settings.
struct FakePlatform {
    FakeClock clock;
    FakeMessageBox messageBox;
    FakeSound sound;
    FakeFileDialog fileDialog;
    FakeNotifyArea notifyArea;
    QTemporaryDir settingsFolder;
    platform::SettingsStore settings{platform::qt::fromQString(settingsFolder.path())};
    // Never claims the bus: a test raises its Activate as the bus would.
    platform::ApplicationService application;

    platform::Platform platform()
    {
        return {clock, messageBox, sound, fileDialog, notifyArea, settings, application};
    }
};

} // namespace wobblix::test

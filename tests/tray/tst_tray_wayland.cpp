// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program as a native Wayland client of weston's headless compositor, with the session's
// StatusNotifierItem host on the bus and no X server in its reach. There is no xdotool on Wayland: the window
// is driven through the accessibility bus, as a screen reader does, and the host with gdbus.

#include "sound/SinkRecorder.h"
#include "sound/SoundFiles.h"
#include "sound/ToneAnalysis.h"
#include "support/ClockProgram.h"
#include "tray/StatusNotifierHost.h"

#include <QtTest>

using namespace wobblix::test;

namespace {

constexpr double AlarmHz = 880;

// The program's shown top-level windows: role, name, width, height.
QStringList windows(const ClockProgram& clock)
{
    return clock.accessible({QStringLiteral("windows")}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestTrayWayland : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QVERIFY2(!qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty(),
                 "the session's compositor is not running");
        QVERIFY2(hostRegistered(), "the session's StatusNotifierItem host is not running");
    }

    void clockOnWayland()
    {
        // The alarm's sound comes from the settings, as after a Save.
        const QString tone = m_folder.filePath(QStringLiteral("alarm.wav"));
        QVERIFY(writeToneSequence(tone, SinkRecorder::Rate, {{AlarmHz, 1.0}}));
        QFile settings(m_folder.filePath(QStringLiteral("Wobblix.conf")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Main]\nFile=" + tone.toUtf8() + "\n");
        settings.close();

        ClockProgram clock(m_folder.path());
        clock.useWayland();
        // weston's headless back end has no keyboard or pointer, and Qt 6.4's Wayland text input, which
        // weston offers, then crashes as soon as a text field paints its cursor (the Browse dialog's file
        // name). Desktops always have a keyboard; the plain compose input method stands in for it here.
        clock.setEnvironment(QStringLiteral("QT_IM_MODULE"), QStringLiteral("compose"));
        QVERIFY2(clock.start(), clock.state());

        // The client area at its fixed size, under the menu bar. Where the window opens is the compositor's.
        const QStringList main = windows(clock).filter(QStringLiteral("\tWobblix Clock\t"));
        QCOMPARE(main.size(), 1);
        const QStringList frame = main.at(0).split(QLatin1Char('\t'));
        const QStringList menuBar =
            clock.accessible({QStringLiteral("size"), QStringLiteral("menu bar")}).split(QLatin1Char('\t'));
        QCOMPARE(menuBar.size(), 2);
        QCOMPARE(frame.at(2).toInt(), 377);
        QCOMPARE(frame.at(3).toInt() - menuBar.at(1).toInt(), 280);

        // About and the Browse dialog open over the window and close again.
        const QList<std::pair<QString, QString>> dialogs = {
            {QStringLiteral("About.."), QStringLiteral("OK")},
            {QStringLiteral("Browse for the alarm sound file"), QStringLiteral("Cancel")}};
        for (const auto& [opens, closes] : dialogs) {
            QVERIFY2(clock.accessible({QStringLiteral("press"), opens}) == QStringLiteral("pressed"),
                     clock.state());
            QTRY_VERIFY2(windows(clock).size() == 2, clock.state());
            QVERIFY2(clock.accessible({QStringLiteral("press"), closes}) == QStringLiteral("pressed"),
                     clock.state());
            QTRY_COMPARE(windows(clock), main);
        }

        // Play is heard on the session's sink.
        SinkRecorder recorder(qEnvironmentVariable("WOBBLIX_SINK"));
        QVERIFY(recorder.start());
        const qint64 before = recorder.frames();
        QVERIFY(clock.accessible({QStringLiteral("press"), QStringLiteral("Play the alarm sound")}) ==
                QStringLiteral("pressed"));
        QVERIFY(recorder.recordFor(2500));
        const QList<ToneRun> heard =
            heardRuns(toneRuns(recorder.since(before).left, SinkRecorder::Rate, {AlarmHz}));
        QVERIFY2(std::any_of(heard.cbegin(), heard.cend(),
                             [](const ToneRun& run) { return run.frequency == AlarmHz; }),
                 "the alarm's tone was not heard");

        // Hide goes into the host; its Activate brings the window back.
        QVERIFY(clock.accessible({QStringLiteral("press"), QStringLiteral("Hide")}) ==
                QStringLiteral("pressed"));
        QTRY_COMPARE(registeredItems().size(), 1);
        QTRY_COMPARE(windows(clock), QStringList());
        QVERIFY(callItem(registeredItems().at(0), QStringLiteral("Activate"),
                         {QStringLiteral("0"), QStringLiteral("0")}));
        QTRY_COMPARE(windows(clock), main);
        QTRY_VERIFY(registeredItems().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTrayWayland)
#include "tst_tray_wayland.moc"

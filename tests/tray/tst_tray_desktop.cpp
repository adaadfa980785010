// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Hide and restore on a real notification area: the test session's trayer panel, an XEmbed tray. The window
// runs in this process on the X server with the real notification area and message box; the person is
// xdotool, which opens the real Options menu and clicks the icon where the X server shows it. The last case
// ends the tray and hides with none.

#include "main_window/MainForm.h"
#include "platform/controls/Twips.h"
#include "platform/controls/qt/PictureBoxWidget.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/qt/SystemTrayNotifyArea.h"
#include "support/DesktopDriver.h"
#include "support/FakePlatform.h"
#include "tray/ShellNotifyIcon.h"

#include <QtTest>

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>

#include <csignal>
#include <memory>

using namespace wobblix;
using namespace wobblix::test;

namespace {

// The mouse message numbers that reached Picture1 (X in twips).
QList<quint32> reported(const QSignalSpy& moves)
{
    QList<quint32> numbers;
    for (const QList<QVariant>& move : moves)
        numbers.append(static_cast<quint32>(qRound(move.at(2).toFloat() / platform::TwipsPerPixelX())));
    return numbers;
}

} // namespace

class TestTrayDesktop : public QObject {
    Q_OBJECT

private:
    test::FakePlatform m_world; // clock, sound, file dialog and settings; the rest is real
    platform::SystemMessageBox m_messageBox;
    platform::SystemTrayNotifyArea m_notifyArea;
    std::unique_ptr<MainForm> m_form;

    platform::qt::PictureBoxWidget* picture1() const
    {
        return platform::qt::window(*m_form).findChild<platform::qt::PictureBoxWidget*>(
            QStringLiteral("Picture1"));
    }

    // Options > Hide with the mouse, as a person does: the menu's title, then the item. False when the menu
    // did not open.
    bool hideThroughTheMenu()
    {
        QMenuBar* bar = platform::qt::window(*m_form).menuBar();
        auto* options = platform::qt::window(*m_form).findChild<QMenu*>(QStringLiteral("menuOptions"));
        auto* hide = platform::qt::window(*m_form).findChild<QAction*>(QStringLiteral("menuHide"));
        clickAt(bar->mapToGlobal(bar->actionGeometry(options->menuAction()).center()), 1);
        if (!QTest::qWaitFor([options] { return options->isVisible(); }))
            return false;
        clickAt(options->mapToGlobal(options->actionGeometry(hide).center()), 1);
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // As in the program: closing a message box while the window is hidden must not end anything.
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY2(QSystemTrayIcon::isSystemTrayAvailable(), "the session's notification area is not running");
    }

    void init()
    {
        m_form = std::make_unique<MainForm>(platform::Platform{m_world.clock, m_messageBox, m_world.sound,
                                                               m_world.fileDialog, m_notifyArea,
                                                               m_world.settings, m_world.application});
        m_form->startUp();
        QTRY_VERIFY(isViewable(platform::qt::window(*m_form).winId()));
        QTRY_COMPARE(focusedWindow(), quint64(platform::qt::window(*m_form).winId()));
    }

    void cleanup()
    {
        // A case that failed while hidden leaves its icon behind; the next one starts without. (Where there
        // is none, this asks for nothing.)
        Shell_NotifyIconA(m_notifyArea, platform::NotifyArea::NIM_DELETE, nid);
        m_form.reset();
        QTRY_VERIFY(iconsInTray(QCoreApplication::applicationPid()).isEmpty());
    }

    void hideThenOnlyTheLeftDoubleClickRestores()
    {
        QVERIFY(hideThroughTheMenu());
        QTRY_VERIFY(!platform::qt::window(*m_form).isVisible());
        QTRY_COMPARE(iconsInTray(QCoreApplication::applicationPid()).size(), 1);
        QVERIFY(!isViewable(platform::qt::window(*m_form).winId()));
        const QPoint icon = iconsInTray(QCoreApplication::applicationPid()).at(0).center();
        // The icon Qt shows, with its tip (the only one of its kind in the process's tree of objects).
        const QList<QSystemTrayIcon*> shown = m_notifyArea.findChildren<QSystemTrayIcon*>();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first()->toolTip(), test::qstr(NotifyIconTip));

        // Each of these reaches Picture1 as its mouse message, and nothing else happens: the window stays
        // hidden, the icon stays, no menu opens.
        struct Click {
            const char* what;
            int button;
            int times;
            quint32 message;
        };
        const Click ignored[] = {{"single left click", 1, 1, platform::NotifyArea::WM_LBUTTONUP},
                                 {"right click", 3, 1, platform::NotifyArea::WM_RBUTTONUP},
                                 {"right double-click", 3, 2, platform::NotifyArea::WM_RBUTTONUP},
                                 {"middle click", 2, 1, platform::NotifyArea::WM_MBUTTONUP}};
        QSignalSpy moves(picture1(), &platform::qt::PictureBoxWidget::MouseMove);
        for (const Click& click : ignored) {
            moves.clear();
            clickAt(icon, click.button, click.times);
            QTRY_VERIFY2(reported(moves).contains(click.message), click.what);
            // Nothing follows; waiting past the double-click interval also keeps the next click apart.
            QVERIFY2(!moves.wait(QApplication::doubleClickInterval() + 200), click.what);
            QVERIFY2(!reported(moves).contains(platform::NotifyArea::WM_LBUTTONDBLCLK), click.what);
            QVERIFY2(!platform::qt::window(*m_form).isVisible(), click.what);
            QVERIFY2(!isViewable(platform::qt::window(*m_form).winId()), click.what);
            QVERIFY2(QApplication::activePopupWidget() == nullptr, click.what);
            QCOMPARE(iconsInTray(QCoreApplication::applicationPid()).size(), 1);
        }

        clickAt(icon, 1, 2);
        QTRY_VERIFY(platform::qt::window(*m_form).isVisible());
        QTRY_VERIFY(iconsInTray(QCoreApplication::applicationPid()).isEmpty());
        QTRY_COMPARE(m_notifyArea.findChildren<QSystemTrayIcon*>().size(), 0);
        QTRY_VERIFY(isViewable(platform::qt::window(*m_form).winId()));
        QTRY_COMPARE(focusedWindow(), quint64(platform::qt::window(*m_form).winId()));
        QTRY_VERIFY(QApplication::activeWindow() == &platform::qt::window(*m_form));
    }

    void manyRoundsLeaveOneIconAtMost()
    {
        for (int round = 1; round <= 20; ++round) {
            const QByteArray where = "round " + QByteArray::number(round);
            QVERIFY2(hideThroughTheMenu(), where.constData());
            QTRY_VERIFY2(!platform::qt::window(*m_form).isVisible(), where.constData());
            QTRY_COMPARE(iconsInTray(QCoreApplication::applicationPid()).size(), 1);
            clickAt(iconsInTray(QCoreApplication::applicationPid()).at(0).center(), 1, 2);
            QTRY_VERIFY2(platform::qt::window(*m_form).isVisible(), where.constData());
            QTRY_VERIFY2(iconsInTray(QCoreApplication::applicationPid()).isEmpty(), where.constData());
        }
        QTRY_COMPARE(m_notifyArea.findChildren<QSystemTrayIcon*>().size(), 0);
        QTRY_COMPARE(focusedWindow(), quint64(platform::qt::window(*m_form).winId()));
    }

    // Runs last: it ends the session's tray.
    void withoutATrayTheWindowStaysWithAMessage()
    {
        const int tray = qEnvironmentVariableIntValue("WOBBLIX_SESSION_TRAY_PID");
        if (tray > 0)
            ::kill(tray, SIGTERM);
        QTRY_VERIFY(!QSystemTrayIcon::isSystemTrayAvailable());

        // Watched from inside the message's own event loop: what it says and whether the window is on screen
        // meanwhile; then OK, with the keyboard as a person would.
        QString prompt;
        bool windowOnScreen = false;
        bool keySent = false;
        int waited = 0;
        QTimer watch;
        watch.setInterval(50);
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            if (prompt.isEmpty()) {
                prompt = box->text();
                windowOnScreen = platform::qt::window(*m_form).isVisible() &&
                                 isViewable(platform::qt::window(*m_form).winId());
            }
            if (!keySent && box->isActiveWindow()) {
                keySent = true;
                xdotool({QStringLiteral("key"), QStringLiteral("Return")});
            } else if (++waited > 100) {
                box->reject(); // the keyboard never closed it: end it here, the checks below fail
            }
        });
        watch.start();

        QVERIFY(hideThroughTheMenu());
        QTRY_VERIFY(!prompt.isEmpty());
        QVERIFY2(prompt.contains(QStringLiteral("notification area is not available")), qPrintable(prompt));
        QVERIFY(windowOnScreen);
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY2(waited <= 100, "OK did not close the message");
        QVERIFY(platform::qt::window(*m_form).isVisible());
        QVERIFY(isViewable(platform::qt::window(*m_form).winId()));
        QCOMPARE(m_notifyArea.findChildren<QSystemTrayIcon*>().size(), 0);
    }
};

QTEST_MAIN(TestTrayDesktop)
#include "tst_tray_desktop.moc"

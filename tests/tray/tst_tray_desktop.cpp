// Hide and restore on a real notification area: the test session's trayer panel, an XEmbed tray. The window
// runs in this process on the X server with the real notification area and message box; the person is
// xdotool, which opens the real Options menu and clicks the icon where the X server shows it. The last case
// ends the tray and hides with none.

#include "main_window/MainForm.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/SystemTrayNotifyArea.h"
#include "platform/Twips.h"
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

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

// Moves the pointer to a point of the screen and clicks there, once or more in quick succession: button 1
// is the left, 2 the middle and 3 the right.
void clickAt(QPoint at, int button, int times = 1)
{
    // One command: the X server takes the move and the clicks in this order. (No --sync: xdotool 3 waits
    // for ever when the pointer is already there.)
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(times),
             QString::number(button)});
}

// The windows of this process that the trayer panel holds, where the X server shows them.
QList<QRect> iconsInTray()
{
    const QString panel =
        xdotool({QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("^panel$")})
            .section(QLatin1Char('\n'), 0, 0);
    if (panel.isEmpty())
        return {};
    const QStringList ours = xdotool({QStringLiteral("search"), QStringLiteral("--pid"),
                                      QString::number(QCoreApplication::applicationPid())})
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // "     0x800015 "name": ("class" "Class")  22x30+0+0  +1257+1": id, size, place in the parent, on
    // screen.
    static const QRegularExpression window(
        QStringLiteral(R"(^\s*0x([0-9a-f]+) .*\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)\s*$)"));
    QList<QRect> icons;
    const QString tree =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), panel, QStringLiteral("-tree")});
    for (const QString& line : tree.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = window.match(line);
        if (match.hasMatch() && ours.contains(QString::number(match.captured(1).toULongLong(nullptr, 16))))
            icons.append(QRect(match.captured(4).toInt(), match.captured(5).toInt(),
                               match.captured(2).toInt(), match.captured(3).toInt()));
    }
    return icons;
}

// Whether the X server shows the window (mapped, and its parents too).
bool onScreen(const QWidget& window)
{
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window.winId())})
        .contains(QStringLiteral("Map State: IsViewable"));
}

// The window that has the keyboard focus on the X server.
WId focusedWindow()
{
    return xdotool({QStringLiteral("getwindowfocus")}).toULongLong();
}

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
    platform::QtMessageBox m_messageBox;
    platform::SystemTrayNotifyArea m_notifyArea;
    std::unique_ptr<MainForm> m_form;

    platform::PictureBox* picture1() const
    {
        return m_form->findChild<platform::PictureBox*>(QStringLiteral("Picture1"));
    }

    // Options > Hide with the mouse, as a person does: the menu's title, then the item. False when the menu
    // did not open.
    bool hideThroughTheMenu()
    {
        QMenuBar* bar = m_form->menuBar();
        auto* options = m_form->findChild<QMenu*>(QStringLiteral("menuOptions"));
        auto* hide = m_form->findChild<QAction*>(QStringLiteral("menuHide"));
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
        m_form = std::make_unique<MainForm>(platform::Platform{
            m_world.clock, m_messageBox, m_world.sound, m_world.fileDialog, m_notifyArea, m_world.settings});
        m_form->startUp();
        QTRY_VERIFY(onScreen(*m_form));
        QTRY_COMPARE(focusedWindow(), m_form->winId());
    }

    void cleanup()
    {
        // A case that failed while hidden leaves its icon behind; the next one starts without.
        if (m_notifyArea.icon() != nullptr)
            m_notifyArea.Shell_NotifyIcon(platform::NotifyArea::NIM_DELETE, nid);
        m_form.reset();
        QTRY_VERIFY(iconsInTray().isEmpty());
    }

    void hideThenOnlyTheLeftDoubleClickRestores()
    {
        QVERIFY(hideThroughTheMenu());
        QTRY_VERIFY(!m_form->isVisible());
        QTRY_COMPARE(iconsInTray().size(), 1);
        QVERIFY(!onScreen(*m_form));
        QCOMPARE(m_notifyArea.icon()->toolTip(), QStringLiteral("Wobblix Clock (Double Click to Open)"));
        const QPoint icon = iconsInTray().at(0).center();

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
        QSignalSpy moves(picture1(), &platform::PictureBox::MouseMove);
        for (const Click& click : ignored) {
            moves.clear();
            clickAt(icon, click.button, click.times);
            QTRY_VERIFY2(reported(moves).contains(click.message), click.what);
            // Nothing follows; waiting past the double-click interval also keeps the next click apart.
            QVERIFY2(!moves.wait(QApplication::doubleClickInterval() + 200), click.what);
            QVERIFY2(!reported(moves).contains(platform::NotifyArea::WM_LBUTTONDBLCLK), click.what);
            QVERIFY2(!m_form->isVisible(), click.what);
            QVERIFY2(!onScreen(*m_form), click.what);
            QVERIFY2(QApplication::activePopupWidget() == nullptr, click.what);
            QCOMPARE(iconsInTray().size(), 1);
        }

        clickAt(icon, 1, 2);
        QTRY_VERIFY(m_form->isVisible());
        QTRY_VERIFY(iconsInTray().isEmpty());
        QVERIFY(m_notifyArea.icon() == nullptr);
        QTRY_VERIFY(onScreen(*m_form));
        QTRY_COMPARE(focusedWindow(), m_form->winId());
        QTRY_VERIFY(QApplication::activeWindow() == m_form.get());
    }

    void manyRoundsLeaveOneIconAtMost()
    {
        for (int round = 1; round <= 20; ++round) {
            const QByteArray where = "round " + QByteArray::number(round);
            QVERIFY2(hideThroughTheMenu(), where.constData());
            QTRY_VERIFY2(!m_form->isVisible(), where.constData());
            QTRY_COMPARE(iconsInTray().size(), 1);
            clickAt(iconsInTray().at(0).center(), 1, 2);
            QTRY_VERIFY2(m_form->isVisible(), where.constData());
            QTRY_VERIFY2(iconsInTray().isEmpty(), where.constData());
        }
        QTRY_COMPARE(m_notifyArea.findChildren<QSystemTrayIcon*>().size(), 0);
        QTRY_COMPARE(focusedWindow(), m_form->winId());
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
                windowOnScreen = m_form->isVisible() && onScreen(*m_form);
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
        QVERIFY(m_form->isVisible());
        QVERIFY(onScreen(*m_form));
        QVERIFY(m_notifyArea.icon() == nullptr);
    }
};

QTEST_MAIN(TestTrayDesktop)
#include "tst_tray_desktop.moc"

// The real program, in a real X session: Options > Exit and the window manager's close request both end
// the process at once with status 0, and write nothing.

#include "support/DesktopDriver.h"

#include <QtTest>

#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// What a window manager sends when the user clicks the title bar's close button.
void requestClose(quint32 window)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    // A round trip, so the server has handled the request before the connection goes: requests still
    // unread when a client disconnects may be dropped.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
}

} // namespace

class TestProgramEnds : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QProcess m_clock;
    quint32 m_window = 0;

    void startClock()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        m_clock.setProcessEnvironment(environment);
        m_clock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_clock.start(QStringLiteral(WOBBLIX_CLOCK_BINARY), QStringList{});
        QVERIFY(m_clock.waitForStarted());
        m_window = static_cast<quint32>(
            wobblix::test::findWindow(m_clock.processId(), QStringLiteral("Wobblix Clock")));
        QVERIFY2(m_window != 0, "the window did not appear");
    }

    void expectEndedCleanly()
    {
        QVERIFY(m_clock.waitForFinished(5000));
        QCOMPARE(m_clock.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_clock.exitCode(), 0);
        // Nothing saved on the way out.
        QCOMPARE(QDir(m_config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    }

private Q_SLOTS:
    void init() { QVERIFY(m_config.isValid()); }
    void cleanup()
    {
        if (m_clock.state() != QProcess::NotRunning) {
            m_clock.kill();
            m_clock.waitForFinished();
        }
    }

    void optionsExit()
    {
        startClock();
        // Open Options on the menu bar at the window's top left, then the last item, Exit.
        const QRect window = wobblix::test::windowGeometry(m_window);
        wobblix::test::clickAt(window.topLeft() + QPoint(20, 8), 1);
        // The open menu grabs the keyboard: Up from no selection is the last item.
        const auto visibleWindows = [this] {
            return wobblix::test::xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--pid"), QString::number(m_clock.processId())})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .size();
        };
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows() >= 2, 5000); // the window and its open menu
        wobblix::test::xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"),
                                QStringLiteral("Up"), QStringLiteral("Return")});
        expectEndedCleanly();
    }

    void closeRequestFromTheWindowManager()
    {
        startClock();
        requestClose(m_window);
        expectEndedCleanly();
    }
};

QTEST_GUILESS_MAIN(TestProgramEnds)
#include "tst_program_ends.moc"

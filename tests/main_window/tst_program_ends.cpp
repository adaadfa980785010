// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program, in a real X session: Options > Exit and the window manager's close request both end
// the process at once with status 0, and write nothing.

#include "support/ClockProgram.h"

#include <QtTest>

#include <xcb/xcb.h>

#include <memory>

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
    std::unique_ptr<wobblix::test::ClockProgram> m_clock;

    void startClock()
    {
        m_clock = std::make_unique<wobblix::test::ClockProgram>(m_config.path());
        QVERIFY2(m_clock->start(), "the window did not appear");
    }

    void expectEndedCleanly()
    {
        QVERIFY2(m_clock->endedCleanly(), m_clock->state());
        // Nothing saved on the way out.
        QCOMPARE(QDir(m_config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    }

private Q_SLOTS:
    void init() { QVERIFY(m_config.isValid()); }
    void cleanup() { m_clock.reset(); }

    void optionsExit()
    {
        startClock();
        QVERIFY(m_clock->chooseFromOptions(3));
        expectEndedCleanly();
    }

    void closeRequestFromTheWindowManager()
    {
        startClock();
        requestClose(static_cast<quint32>(m_clock->window()));
        expectEndedCleanly();
    }
};

QTEST_GUILESS_MAIN(TestProgramEnds)
#include "tst_program_ends.moc"

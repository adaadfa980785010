// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Focus.h"

#include "platform/controls/qt/Native.h"
#include "platform/runtime/Strings.h"

#include <QWidget>

#ifdef WOBBLIX_X11
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace wobblix::platform {

namespace {

#ifdef WOBBLIX_X11
xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The time the user asked for the start: the number after "_TIME" in its id, or none (0) without one.
xcb_timestamp_t userTimeOf(const QByteArray& startupId)
{
    const qsizetype at = startupId.lastIndexOf("_TIME");
    return at < 0 ? XCB_CURRENT_TIME : startupId.sliced(at + 5).toUInt();
}

// Whether a window manager that takes requests for the active window runs on the screen of `root`.
bool activeWindowRequestsTaken(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_atom_t activeWindow = atom(connection, "_NET_ACTIVE_WINDOW");
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> supported(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 1024),
            nullptr),
        &std::free);
    if (supported == nullptr || supported->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    return std::find(atoms, atoms + count, activeWindow) != atoms + count;
}

// A start that ends in a window that is there already, as the freedesktop startup notification has it:
// the window names its start (_NET_STARTUP_ID); it asks to be the active window at the time the user
// asked for the start, with the source of a pager (window managers grant such a request, for it is the
// user's), or takes the keyboard itself at that time where no window manager runs; and the launcher is
// told that the start is over ("remove", to the root window in pieces of 20 bytes), so that it stops
// showing it as under way.
void completeStartup(QWidget* window, const String& id)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || id.empty())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto target = static_cast<xcb_window_t>(window->winId());
    const QByteArray startupId = QByteArray::fromStdString(ToUtf8(id));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, target, atom(connection, "_NET_STARTUP_ID"),
                        atom(connection, "UTF8_STRING"), 8, static_cast<uint32_t>(startupId.size()),
                        startupId.constData());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    if (activeWindowRequestsTaken(connection, root)) {
        xcb_client_message_event_t activate{};
        activate.response_type = XCB_CLIENT_MESSAGE;
        activate.format = 32;
        activate.window = target;
        activate.type = atom(connection, "_NET_ACTIVE_WINDOW");
        activate.data.data32[0] = 2; // from a pager
        activate.data.data32[1] = userTimeOf(startupId);
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&activate));
    } else {
        // Qt asks with the time of the last event the clock saw, which the X server refuses when the
        // keyboard has gone to another window since.
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, target, userTimeOf(startupId));
    }

    // The id in double quotes, its quotes and backslashes escaped, when it holds one of them or a blank.
    QByteArray value = startupId;
    if (value.contains(' ') || value.contains('"') || value.contains('\\'))
        value = '"' + value.replace('\\', "\\\\").replace('"', "\\\"") + '"';
    const QByteArray message = "remove: ID=" + value + '\0';
    xcb_client_message_event_t piece{};
    piece.response_type = XCB_CLIENT_MESSAGE;
    piece.format = 8;
    piece.window = root;
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    for (qsizetype sent = 0; sent < message.size(); sent += 20) {
        piece.type = sent == 0 ? begin : more;
        std::memset(piece.data.data8, 0, sizeof piece.data.data8);
        std::memcpy(piece.data.data8, message.constData() + sent,
                    std::min<qsizetype>(20, message.size() - sent));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&piece));
    }
    xcb_flush(connection);
}
#endif

} // namespace

void SetFocus(WindowHandle handle, const LaunchTokens& launch)
{
    QWidget* window = qt::toWidget(handle);
    if (window == nullptr)
        return;
    // Qt's Wayland platform hands the token of this variable to the compositor with its request.
    if (!launch.activationToken.empty())
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(ToUtf8(launch.activationToken)));
    window->raise();
    window->activateWindow();
#ifdef WOBBLIX_X11
    completeStartup(window, launch.startupId);
#endif
}

} // namespace wobblix::platform

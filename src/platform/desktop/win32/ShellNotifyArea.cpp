// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/win32/ShellNotifyArea.h"

#include "platform/runtime/win32/Ansi.h"
#include "platform/runtime/win32/SystemLibrary.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

// The record as Shell_NotifyIcon takes it in its first form (NOTIFYICONDATA_V1_SIZE): the later forms add
// fields behind szTip, and Windows reads no further than cbSize says. Declared here, rather than taken
// from Windows' headers, so that its layout is the one the program gives in cbSize, checked below.
template <typename Char> struct NotifyIconRecord {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    Char szTip[NOTIFYICONDATAA::TipBytes];
};
using NotifyIconRecordA = NotifyIconRecord<char>;
using NotifyIconRecordW = NotifyIconRecord<wchar_t>;

static_assert(sizeof(NotifyIconRecordA) == 88);
static_assert(sizeof(NotifyIconRecordW) == 152);
static_assert(offsetof(NotifyIconRecordA, cbSize) == 0);
static_assert(offsetof(NotifyIconRecordA, hWnd) == 4);
static_assert(offsetof(NotifyIconRecordA, uID) == 8);
static_assert(offsetof(NotifyIconRecordA, uFlags) == 12);
static_assert(offsetof(NotifyIconRecordA, uCallbackMessage) == 16);
static_assert(offsetof(NotifyIconRecordA, hIcon) == 20);
static_assert(offsetof(NotifyIconRecordA, szTip) == 24);
// The same places as Windows' own record, whose first form ends with szTip.
static_assert(offsetof(NotifyIconRecordA, szTip) == offsetof(::NOTIFYICONDATAA, szTip));
static_assert(offsetof(NotifyIconRecordW, szTip) == offsetof(::NOTIFYICONDATAW, szTip));
static_assert(offsetof(NotifyIconRecordA, hIcon) == offsetof(::NOTIFYICONDATAA, hIcon));

// The record as the call takes it. Where the process's code page is UTF-8 the A form takes the record as
// it is. Elsewhere the W form takes the tip in UTF-16, cut to what its field holds before its NUL, and its
// record's own size.
struct ShellIcon {
    bool wide = false;
    NotifyIconRecordA ansi{};
    NotifyIconRecordW unicode{};

    template <typename Char> static void fill(NotifyIconRecord<Char>& native, const NOTIFYICONDATAA& record)
    {
        native.hWnd = win32::ToHwnd(record.hWnd);
        native.uID = record.uID;
        native.uFlags = record.uFlags;
        native.uCallbackMessage = record.uCallbackMessage;
        native.hIcon = win32::ToHicon(record.hIcon);
    }

    static ShellIcon of(const NOTIFYICONDATAA& record)
    {
        ShellIcon icon;
        icon.wide = !win32::AnsiIsUtf8();
        if (!icon.wide) {
            fill(icon.ansi, record);
            icon.ansi.cbSize = record.cbSize;
            std::memcpy(icon.ansi.szTip, record.szTip.data(), sizeof icon.ansi.szTip);
            return icon;
        }
        fill(icon.unicode, record);
        icon.unicode.cbSize = sizeof icon.unicode;
        const std::string_view bytes(record.szTip.data(), record.szTip.size());
        const std::wstring tip = win32::WideFromUtf8(bytes.substr(0, bytes.find('\0')));
        std::copy_n(tip.begin(), std::min<std::size_t>(tip.size(), NOTIFYICONDATAA::TipBytes - 1),
                    icon.unicode.szTip);
        return icon;
    }

    HWND window() const { return wide ? unicode.hWnd : ansi.hWnd; }
    UINT id() const { return wide ? unicode.uID : ansi.uID; }

    // The shell's library is loaded at the first call; without it, every call fails.
    bool call(DWORD message)
    {
        static const auto notifyA =
            win32::LibraryFunction<decltype(&::Shell_NotifyIconA)>(L"shell32.dll", "Shell_NotifyIconA");
        static const auto notifyW =
            win32::LibraryFunction<decltype(&::Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
        if (notifyA == nullptr || notifyW == nullptr)
            return false;
        return (wide ? notifyW(message, reinterpret_cast<::NOTIFYICONDATAW*>(&unicode))
                     : notifyA(message, reinterpret_cast<::NOTIFYICONDATAA*>(&ansi))) != FALSE;
    }

    // What the call left in the record, as the caller's record takes it; the W form's tip stays the caller's.
    void copyBack(NOTIFYICONDATAA& record) const
    {
        const auto back = [&record](const auto& native) {
            record.hWnd = win32::ToHandle(native.hWnd);
            record.uID = native.uID;
            record.uFlags = native.uFlags;
            record.uCallbackMessage = native.uCallbackMessage;
            record.hIcon = win32::ToPicture(native.hIcon);
        };
        if (wide) {
            back(unicode);
            return;
        }
        back(ansi);
        std::memcpy(record.szTip.data(), ansi.szTip, sizeof ansi.szTip);
    }
};

// The subclass of the watched top-level window, among those that window may have.
constexpr UINT_PTR WatcherId = 0x4e4f5449; // "NOTI"

} // namespace

struct ShellNotifyArea::Native {
    // Broadcast by a shell to every top-level window once it has made its taskbar: at its start after a
    // crash, a restart by Task Manager or an update, and when it builds the taskbar anew for a display
    // change. It has no icon of anyone's then.
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    std::optional<ShellIcon> icon; // as it was added; none while the shell has none of this program's
    HWND watched = nullptr; // the icon window's top-level window, subclassed from the first add until it goes

    ~Native()
    {
        remove();
        unwatch();
    }

    // NIM_ADD. A shell busy at sign-in answers only after its time-out, with a failure, and may take the icon
    // all the same; with no taskbar yet there is nothing to take it. Where the add fails, NIM_MODIFY with the
    // same record asks whether the icon is there; where it is not, NIM_DELETE makes sure that an add the
    // shell has still to handle leaves nothing behind, for the shell handles its requests in order.
    static bool add(ShellIcon& shellIcon)
    {
        if (shellIcon.call(NIM_ADD) || shellIcon.call(NIM_MODIFY))
            return true;
        shellIcon.call(NIM_DELETE);
        return false;
    }

    void remove()
    {
        if (icon) {
            icon->call(NIM_DELETE);
            icon.reset();
        }
    }

    // A new taskbar: the icon again, as it was. Where it cannot be had, the window comes back on the screen
    // rather than staying hidden with no icon to bring it back by.
    void taskbarMade(HWND window)
    {
        if (!icon || add(*icon))
            return;
        icon.reset();
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }

    void watch(HWND iconWindow)
    {
        const HWND top = GetAncestor(iconWindow, GA_ROOT);
        if (top == nullptr || top == watched)
            return;
        unwatch();
        if (!SetWindowSubclass(top, &Native::watcher, WatcherId, reinterpret_cast<DWORD_PTR>(this)))
            return;
        watched = top;
        // A clock run as administrator hears nothing from the shell, which runs at a lower integrity level,
        // unless its window lets the message through.
        ChangeWindowMessageFilterEx(top, taskbarCreated, MSGFLT_ALLOW, nullptr);
    }

    void unwatch()
    {
        if (watched != nullptr)
            RemoveWindowSubclass(watched, &Native::watcher, WatcherId);
        watched = nullptr;
    }

    // The window's messages pass through here before its own procedure. Windows ends a session without
    // destroying windows, once every program has answered WM_ENDSESSION: the icon goes then, or it would
    // stay behind the program.
    static LRESULT CALLBACK watcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR reference)
    {
        auto& native = *reinterpret_cast<Native*>(reference);
        if (message == native.taskbarCreated && message != 0)
            native.taskbarMade(window);
        else if ((message == WM_ENDSESSION && wParam != FALSE) || message == WM_DESTROY)
            native.remove();
        else if (message == WM_NCDESTROY)
            native.unwatch();
        return DefSubclassProc(window, message, wParam, lParam);
    }
};

ShellNotifyArea::ShellNotifyArea() : m_native(std::make_unique<Native>()) {}

ShellNotifyArea::~ShellNotifyArea() = default;

bool ShellNotifyArea::Shell_NotifyIcon(std::uint32_t message, NOTIFYICONDATAA& record)
{
    Native& native = *m_native;
    ShellIcon icon = ShellIcon::of(record);
    bool done = false;
    switch (message) {
    case NIM_ADD:
        done = Native::add(icon);
        if (done) {
            native.icon = icon;
            native.watch(icon.window());
        }
        break;
    case NIM_DELETE:
        done = icon.call(NIM_DELETE);
        if (native.icon && native.icon->window() == icon.window() && native.icon->id() == icon.id())
            native.icon.reset();
        break;
    default:
        done = icon.call(message);
        break;
    }
    icon.copyBack(record);
    return done;
}

} // namespace wobblix::platform

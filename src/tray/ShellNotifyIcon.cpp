// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/ShellNotifyIcon.h"

#include "platform/desktop/NotifyArea.h"
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <array>
#include <string>

namespace wobblix {

NOTIFYICONDATA nid;

void LSet(platform::String& field, platform::StringView text)
{
    const std::size_t length = field.size();
    field = text.substr(0, length);
    field.resize(length, u' ');
}

namespace {

using platform::NOTIFYICONDATAA;

// The tip as the notification area reads it: the field's characters encoded one after another, as many
// whole characters as fit; the bytes left over stay NUL.
std::array<char, NOTIFYICONDATAA::TipBytes> ansiTip(platform::StringView tip)
{
    std::size_t characters = tip.size();
    std::string encoded = platform::ToAnsi(tip);
    while (encoded.size() > NOTIFYICONDATAA::TipBytes)
        encoded = platform::ToAnsi(tip.substr(0, --characters));
    std::array<char, NOTIFYICONDATAA::TipBytes> bytes{};
    std::copy(encoded.cbegin(), encoded.cend(), bytes.begin());
    return bytes;
}

NOTIFYICONDATAA toAnsi(const NOTIFYICONDATA& record)
{
    return {record.cbSize,           record.hWnd,  record.uID,           record.uFlags,
            record.uCallbackMessage, record.hIcon, ansiTip(record.szTip)};
}

void copyBack(const NOTIFYICONDATAA& ansi, NOTIFYICONDATA& record)
{
    record.cbSize = ansi.cbSize;
    record.hWnd = ansi.hWnd;
    record.uID = ansi.uID;
    record.uFlags = ansi.uFlags;
    record.uCallbackMessage = ansi.uCallbackMessage;
    record.hIcon = ansi.hIcon;
    LSet(record.szTip, platform::FromAnsi(std::string_view(ansi.szTip.data(), NOTIFYICONDATAA::TipBytes)));
}

} // namespace

bool Shell_NotifyIconA(platform::NotifyArea& notifyArea, std::uint32_t message, NOTIFYICONDATA& record)
{
    NOTIFYICONDATAA ansi = toAnsi(record);
    const bool result = notifyArea.Shell_NotifyIcon(message, ansi);
    copyBack(ansi, record);
    return result;
}

bool IsLeftDoubleClick(platform::Single xTwips, platform::Single twipsPerPixel)
{
    const platform::Single message = xTwips / twipsPerPixel;
    return message == static_cast<platform::Single>(platform::NotifyArea::WM_LBUTTONDBLCLK);
}

} // namespace wobblix

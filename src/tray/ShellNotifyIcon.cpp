// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/ShellNotifyIcon.h"

#include "platform/desktop/NotifyArea.h"

#include <algorithm>

namespace wobblix {

NOTIFYICONDATA nid;

void LSet(QString& field, const QString& text)
{
    const qsizetype length = field.size();
    field = text.left(length);
    field.resize(length, u' ');
}

namespace {

using platform::NOTIFYICONDATAA;

// The tip as the notification area reads it: the field's characters encoded one after another, as many
// whole characters as fit; the bytes left over stay NUL.
std::array<char, NOTIFYICONDATAA::TipBytes> ansiTip(const QString& tip)
{
    qsizetype characters = tip.size();
    QByteArray encoded = tip.toLocal8Bit();
    while (encoded.size() > NOTIFYICONDATAA::TipBytes)
        encoded = tip.left(--characters).toLocal8Bit();
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
    LSet(record.szTip, QString::fromLocal8Bit(ansi.szTip.data(), NOTIFYICONDATAA::TipBytes));
}

} // namespace

bool Shell_NotifyIconA(platform::NotifyArea& notifyArea, quint32 message, NOTIFYICONDATA& record)
{
    NOTIFYICONDATAA ansi = toAnsi(record);
    const bool result = notifyArea.Shell_NotifyIcon(message, ansi);
    copyBack(ansi, record);
    return result;
}

bool IsLeftDoubleClick(float xTwips, float twipsPerPixel)
{
    const float message = xTwips / twipsPerPixel;
    return message == static_cast<float>(platform::NotifyArea::WM_LBUTTONDBLCLK);
}

} // namespace wobblix

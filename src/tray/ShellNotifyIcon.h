// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <cstddef>
#include <cstdint>

namespace wobblix::platform {
class NotifyArea;
}

// The notification-icon record, the one global record and the call that hands it to the notification area.
// The notification area itself, its record form at the call, its flags and the mouse message numbers it
// reports are platform::NotifyArea's.
namespace wobblix {

// The record's size in its platform form, in bytes: what cbSize says.
constexpr std::uint32_t NOTIFYICONDATA_SIZE = 88;
// The clock's one icon, as hWnd and uID name it towards the notification area.
constexpr std::uint32_t NotifyIconId = 125;
// The fixed length of szTip, in characters.
constexpr std::size_t TipLength = 64;
// The tip the notification area shows over the icon.
constexpr platform::StringView NotifyIconTip = u"Wobblix Clock (Double Click to Open)";

// What the notification area is told: which icon, what it shows and where its mouse actions go.
struct NOTIFYICONDATA {
    std::uint32_t cbSize = 0;                // NOTIFYICONDATA_SIZE
    platform::WindowHandle hWnd = nullptr;   // receives the icon's mouse actions; with uID, names the icon
    std::uint32_t uID = 0;                   // the icon's number among hWnd's icons
    std::uint32_t uFlags = 0;                // NotifyArea::NIF_ values: which of the fields below count
    std::uint32_t uCallbackMessage = 0;      // the message the mouse actions arrive as, at hWnd
    platform::PictureHandle hIcon = nullptr; // the image shown
    // Always TipLength characters; the tip shown is the text up to the first NUL.
    platform::String szTip = platform::String(TipLength, u'\0');
};

// Left-aligned assignment into a fixed-length text field: the text goes to the start, the rest of the field
// is filled with spaces, and whatever does not fit is cut off. The field keeps its length.
void LSet(platform::String& field, platform::StringView text);

// The one notification-icon record: zero at start, filled by ShellTrayAdd, reused unchanged by
// ShellTrayDelete.
extern NOTIFYICONDATA nid;

// Shell_NotifyIconA: converts the record to the notification area's form (the tip into TipLength bytes of
// the ANSI code page, cut before a character that does not fit whole), makes the call with `message`
// (NotifyArea::NIM_ADD or NIM_DELETE) and copies that form back into the record. True when the notification
// area did what was asked.
bool Shell_NotifyIconA(platform::NotifyArea& notifyArea, std::uint32_t message, NOTIFYICONDATA& record);

// Picture1 reports the notification area's mouse message number as its X position in twips, the number
// multiplied by the screen's twips per pixel. True when the quotient, taken in single precision, is exactly
// the left-button double-click. Exact for every whole number of twips per pixel (15 at 96 dots per inch,
// 12 at 120), so the test needs no tolerance.
bool IsLeftDoubleClick(platform::Single xTwips, platform::Single twipsPerPixel);

} // namespace wobblix

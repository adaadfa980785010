// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The runtime's own types, as the window's handlers speak them on every platform.
namespace wobblix::platform {

// The runtime's strings: wide strings of UTF-16 code units, as the platform's own wide strings are. A
// string may hold NULs.
using String = std::u16string;
using StringView = std::u16string_view;

// The runtime's integers: Integer 16 bits, Long 32 bits, both signed; Single a 32-bit floating point.
using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;

// A colour as the runtime's RGB() packs it: red in the low byte, then green, then blue.
constexpr Long RGB(int red, int green, int blue)
{
    return static_cast<Long>((red & 0xff) | (green & 0xff) << 8 | (blue & 0xff) << 16);
}
constexpr int RedOf(Long colour)
{
    return colour & 0xff;
}
constexpr int GreenOf(Long colour)
{
    return colour >> 8 & 0xff;
}
constexpr int BlueOf(Long colour)
{
    return colour >> 16 & 0xff;
}

// The handle of a window or control (hWnd), and of a picture: what the platform's functions take to name
// them. Opaque above the platform layer; each backend knows what stands behind it.
struct WindowObject;
using WindowHandle = WindowObject*;
struct PictureObject;
using PictureHandle = PictureObject*;

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/Strings.h"

namespace wobblix::platform {

namespace {
constexpr char32_t Replacement = 0xfffd;
}

std::string ToUtf8(StringView text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < text.size() && text[i + 1] >= 0xdc00 &&
            text[i + 1] <= 0xdfff)
            c = 0x10000 + ((c - 0xd800) << 10) + (text[++i] - 0xdc00);
        else if (c >= 0xd800 && c <= 0xdfff)
            c = Replacement; // a surrogate without its other half
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else if (c < 0x800) {
            result += static_cast<char>(0xc0 | c >> 6);
            result += static_cast<char>(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            result += static_cast<char>(0xe0 | c >> 12);
            result += static_cast<char>(0x80 | (c >> 6 & 0x3f));
            result += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            result += static_cast<char>(0xf0 | c >> 18);
            result += static_cast<char>(0x80 | (c >> 12 & 0x3f));
            result += static_cast<char>(0x80 | (c >> 6 & 0x3f));
            result += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return result;
}

// Each byte that is not part of a well-formed character becomes U+FFFD, and decoding goes on after it.
String FromUtf8(std::string_view text)
{
    String result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xc2 && lead < 0xe0 ? 2
                             : lead >= 0xe0 && lead < 0xf0 ? 3
                             : lead >= 0xf0 && lead < 0xf5 ? 4
                                                           : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1f : length == 3 ? lead & 0x0f : lead & 0x07;
        bool wellFormed = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xc0) == 0x80;
            c = c << 6 | (next & 0x3f);
        }
        // Overlong forms, surrogates and code points beyond U+10FFFF are not well formed either.
        wellFormed = wellFormed && !(length == 3 && c < 0x800) &&
                     !(length == 4 && (c < 0x10000 || c > 0x10ffff)) && !(c >= 0xd800 && c <= 0xdfff);
        if (!wellFormed) {
            result += static_cast<char16_t>(Replacement);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            result += static_cast<char16_t>(0xd800 + ((c - 0x10000) >> 10));
            result += static_cast<char16_t>(0xdc00 + ((c - 0x10000) & 0x3ff));
        } else {
            result += static_cast<char16_t>(c);
        }
        i += length;
    }
    return result;
}

} // namespace wobblix::platform

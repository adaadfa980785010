// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/win32/WaveImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace wobblix::platform::win32 {

namespace {

// The layout of a RIFF file: an 8-byte header (four-character code, little-endian 32-bit size) before each
// chunk's body, whose size leaves out the pad byte that rounds an odd body up to an even length.
constexpr std::uint64_t HeaderBytes = 8;
constexpr std::uint64_t RiffBytes = 12;   // the RIFF header and its form type, "WAVE"
constexpr std::uint32_t FormatBytes = 16; // the smallest format chunk: PCMWAVEFORMAT
constexpr std::uint64_t LargestRiff = HeaderBytes + 0xffffffff;

constexpr std::uint32_t fourCc(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

std::uint32_t read32(const unsigned char* at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value); // Windows runs little-endian, as RIFF is
    return value;
}

// Writes a size into the image's own copy of its page. Written even where it is unchanged: the page is
// then the process's own, and what another program writes into the file later cannot change it.
void write32(unsigned char* at, std::uint32_t value)
{
    std::memcpy(at, &value, sizeof value);
}

// Checks the image as PlaySound reads it, and bounds its RIFF and data chunks by what the file holds.
// PlaySound walks the chunks to the data by their own sizes, whatever the RIFF size says (a recorder that
// streams writes none), so the walk here does too, to the end of the file. False for anything PlaySound
// could not play: no RIFF WAVE form, no format chunk before the data chunk, or a chunk before the data
// that runs past the end.
bool boundChunks(unsigned char* image, std::uint64_t end)
{
    if (end < RiffBytes || read32(image) != fourCc("RIFF") || read32(image + 8) != fourCc("WAVE"))
        return false;
    bool formatSeen = false;
    for (std::uint64_t chunk = RiffBytes; chunk + HeaderBytes <= end;) {
        const std::uint32_t id = read32(image + chunk);
        const std::uint64_t body = chunk + HeaderBytes;
        const std::uint32_t size = read32(image + chunk + 4);
        if (id == fourCc("data")) {
            if (!formatSeen)
                return false;
            const auto held = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, end - body));
            write32(image + chunk + 4, held);
            write32(image + 4, static_cast<std::uint32_t>(body + held - HeaderBytes));
            return true;
        }
        if (id == fourCc("fmt ")) {
            if (size < FormatBytes || body + size > end)
                return false;
            formatSeen = true;
        }
        chunk = body + size + (size & 1);
    }
    return false;
}

// The path as CreateFileW opens it at any length. Beyond MAX_PATH a path needs the "\\?\" form, which
// Windows takes as it stands, so it is made full first ("..", "/" and a relative start resolved).
std::wstring openablePath(const std::wstring& path)
{
    if (path.size() < MAX_PATH || path.rfind(LR"(\\?\)", 0) == 0)
        return path;
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    if (full.rfind(LR"(\\.\)", 0) == 0 || full.rfind(LR"(\\?\)", 0) == 0)
        return full;
    if (full.rfind(LR"(\\)", 0) == 0)
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

} // namespace

std::unique_ptr<WaveImage> WaveImage::Open(const std::wstring& path)
{
    const HANDLE file =
        CreateFileW(openablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER size{};
    // Copy on write: the sizes are written into the process's own pages, never into the file. A file of no
    // bytes has no mapping, and one larger than a RIFF file can be holds no wave file.
    const HANDLE mapping = GetFileSizeEx(file, &size) && size.QuadPart >= static_cast<LONGLONG>(RiffBytes) &&
                                   static_cast<std::uint64_t>(size.QuadPart) <= LargestRiff
                               ? CreateFileMappingW(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr)
                               : nullptr;
    void* const view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0) : nullptr;
    if (view == nullptr ||
        !boundChunks(static_cast<unsigned char*>(view), static_cast<std::uint64_t>(size.QuadPart))) {
        if (view != nullptr)
            UnmapViewOfFile(view);
        if (mapping != nullptr)
            CloseHandle(mapping);
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<WaveImage>(new WaveImage(file, mapping, view));
}

WaveImage::WaveImage(HANDLE file, HANDLE mapping, void* view) : m_file(file), m_mapping(mapping), m_view(view)
{
}

WaveImage::~WaveImage()
{
    UnmapViewOfFile(m_view);
    CloseHandle(m_mapping);
    CloseHandle(m_file);
}

} // namespace wobblix::platform::win32

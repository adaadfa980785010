// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform::win32 {

// A wave file as PlaySound plays it from memory (SND_MEMORY), for a path that PlaySound cannot open by its
// name. The file is mapped into the address space rather than read, so that opening it costs the same for
// a ten-minute sound as for a click: PlaySound reads the pages as it plays them.
//
// PlaySound trusts the image: it walks the file's RIFF chunks by the sizes written in them, with no end of
// its own to stop at, so a file whose sizes claim more than it holds (a recording cut short) would have it
// read past the end of the mapping. The image is checked first, as PlaySound reads it (RIFF, WAVE, a
// format chunk before the data chunk), and the sizes of the data chunk and of the RIFF chunk around it
// are written anew into the process's own copy of their page (copy on write: the file is not touched),
// the data chunk's cut to what the file holds and the RIFF chunk's ending with it. A file cut short then
// plays as far as it goes, as it does by name.
//
// The file stays open, readable by others but not writable, while the image lives: nothing can shorten
// what PlaySound may still be reading.
class WaveImage {
public:
    // The file at `path`, of any length and in any characters; none when it cannot be opened or mapped, or
    // is not a wave file that PlaySound could play from memory.
    static std::unique_ptr<WaveImage> Open(const std::wstring& path);

    WaveImage(const WaveImage&) = delete;
    WaveImage& operator=(const WaveImage&) = delete;
    ~WaveImage();

    // What PlaySound is given, with SND_MEMORY; valid while the image lives.
    const void* data() const { return m_view; }

private:
    WaveImage(HANDLE file, HANDLE mapping, void* view);

    HANDLE m_file;
    HANDLE m_mapping;
    void* m_view;
};

} // namespace wobblix::platform::win32

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace wobblix::test {

// Whether a process (this one by default) has mapped a library of playback: the program's audio module or
// one of the libraries it brings (libsndfile, libpulse). True, too, when that cannot be
// read, so that a check that they are absent fails rather than passes.
bool audioLibrariesLoaded(qint64 pid = 0);

// Whether this process has mapped the file at `path`: a module it has loaded.
bool mapped(const QString& path);

} // namespace wobblix::test

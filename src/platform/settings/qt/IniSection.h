// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include "platform/runtime/Types.h"

#include <map>
#include <optional>

namespace wobblix::platform {

// One section of a settings file in the INI format QSettings writes, taken line by line, so that an edit
// changes the lines of the keys it sets and no other. A value is one text, exactly as it stands in the
// file: QSettings' own reader (Qt 6.4) would split it at unquoted commas into a list ("wake,up.wav"), cut
// it at a ";", read "@Type(...)" as another type, and drop a backslash whose escape it does not know
// ("C:\Sounds" loses "\S").
class IniSection {
public:
    IniSection(const QByteArray& file, const QString& name);

    // The key's text, from its last line in the section (QSettings, too, reads the last).
    std::optional<QString> value(const QString& key) const;
    // Every key of the section with its text.
    std::map<String, String, std::less<>> values() const;
    // Replaces the key's line, or adds one at the end of the section, or of the file with the section.
    void setValue(const QString& key, const QString& text);
    // The file with the values set, every other line as it was.
    QByteArray file() const;

private:
    QByteArray m_header;                 // "[name]"
    QList<QByteArray> m_lines;           // the file, split at "\n"
    QHash<QByteArray, qsizetype> m_keys; // the line of each key of the section
    qsizetype m_end = -1;                // where a line added to the section goes; -1: no such section
};

} // namespace wobblix::platform

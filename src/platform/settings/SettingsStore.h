// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/settings/IniSection.h"

#include <QList>
#include <QString>

#include <stdexcept>
#include <utility>

namespace wobblix::platform {

// Saving failed, and the file on disk is the one from before. The reason is in words for the user and
// names the file or folder at fault.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

// What one reading of a section gave: the text of each of its keys, or why the file could not be read. A
// load takes all its values from one reading, so that the file is opened and parsed once.
class SettingsReading {
public:
    // The stored text, or defaultValue when there is none or the file could not be read.
    QString GetSetting(const QString& key, const QString& defaultValue) const;
    // Why the file could not be read, in words for the user; empty when it could, or does not exist yet.
    const QString& problem() const { return m_problem; }

private:
    friend class SettingsStore;
    SettingsReading(IniSection section, QString problem);

    IniSection m_section;
    QString m_problem;
};

// The per-user settings: texts under an application, a section and a key, in the file
// <configuration folder>/<application>.conf ($XDG_CONFIG_HOME, by default ~/.config), section
// [<section>], in the format QSettings reads (see IniSection). A Save replaces only the lines of its keys,
// and the file at once: on disk is always the old file or the new one, whole.
class SettingsStore {
public:
    using Values = QList<std::pair<QString, QString>>; // key and text, in the order they are written

    SettingsStore() = default;              // the user's store
    explicit SettingsStore(QString folder); // <folder>/<application>.conf in its place, for tests

    // Reads the application's file once, for the keys of one section.
    SettingsReading Read(const QString& application, const QString& section) const;
    // Writes every value, or none and throws SettingsWriteError.
    void SaveSettings(const QString& application, const QString& section, const Values& values);

private:
    QString fileName(const QString& application) const;

    QString m_folder; // empty: the user's store
};

} // namespace wobblix::platform

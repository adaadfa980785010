// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

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

// The per-user settings: texts under an application, a section and a key, in the file
// <configuration folder>/<application>.conf ($XDG_CONFIG_HOME, by default ~/.config), section
// [<section>], in the format QSettings reads (see IniSection). A Save replaces only the lines of its keys,
// and the file at once: on disk is always the old file or the new one, whole.
class SettingsStore {
public:
    using Values = QList<std::pair<QString, QString>>; // key and text, in the order they are written

    SettingsStore() = default;              // the user's store
    explicit SettingsStore(QString folder); // <folder>/<application>.conf in its place, for tests

    // The stored text, or defaultValue when there is none or the file cannot be read.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Why the file cannot be read, in words for the user; empty when it can, or does not exist yet.
    QString ReadProblem(const QString& application) const;
    // Writes every value, or none and throws SettingsWriteError.
    void SaveSettings(const QString& application, const QString& section, const Values& values);

private:
    QString fileName(const QString& application) const;

    QString m_folder; // empty: the user's store
};

} // namespace wobblix::platform

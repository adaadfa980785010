#pragma once

#include <QList>
#include <QString>

#include <stdexcept>
#include <utility>

namespace wobblix::platform {

// Saving to the settings store failed; the file on disk is the one from before, untouched. The reason is
// in words for the user and names the file or folder at fault.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

// The per-user settings store: named texts under an application, a section and a key, in the file
// <configuration folder>/<application>.conf (on Linux $XDG_CONFIG_HOME, by default ~/.config), section
// [<section>], in the INI format QSettings reads (on Windows the registry key
// HKEY_CURRENT_USER\Software\<application>\<section>, and on macOS a property list, through QSettings). Every
// text comes back exactly as it stands in the file, whoever wrote it, and a text saved here exactly as it was
// saved. A Save replaces only the lines of the keys it writes, and replaces the file at once: on disk it is
// always the old one or the new one, whole.
class SettingsStore {
public:
    using Values = QList<std::pair<QString, QString>>; // key and text, in the order they are written

    // The user's store.
    SettingsStore() = default;
    // A store in `folder`, in place of the user's configuration folder: the file
    // <folder>/<application>.conf, in the format the user's store has on Linux. For tests.
    explicit SettingsStore(QString folder);

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored text, or defaultValue when there is none or the store cannot be read. Never writes.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const;

    // Why the store cannot be read, in words for the user; empty when it can, or does not exist yet.
    QString ReadProblem(const QString& application) const;

    // Creates or replaces the keys with the texts in one write: every value reaches the store or none
    // does. Throws SettingsWriteError.
    void SaveSettings(const QString& application, const QString& section, const Values& values);

private:
    QString fileName(const QString& application) const;

    QString m_folder; // empty: the user's store
};

} // namespace wobblix::platform

#pragma once

#include <QList>
#include <QString>

#include <exception>
#include <memory>
#include <optional>

class QSettings;

namespace wobblix::platform {

// Saving to the settings store failed. Nothing of the failed write reached the store: the file on disk is
// the one from before, untouched, and later readings in this process return the values from before too.
class SettingsWriteError : public std::exception {
public:
    SettingsWriteError(QString location, QString reason);

    // The file (or, on Windows, the registry key) that could not be written.
    const QString& location() const noexcept { return m_location; }
    // Why, in words for the user, naming the file or folder at fault: "The folder "/home/ann/.config"
    // takes no new files: Permission denied."
    const QString& reason() const noexcept { return m_reason; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_location;
    QString m_reason;
    QByteArray m_what;
};

// The per-user settings store: named texts under an application, a section and a key. It is Qt's
// QSettings(NativeFormat, UserScope, application) with the section as group: on Linux the file
// $XDG_CONFIG_HOME/<application>.conf (by default ~/.config), section [<section>]; on Windows the registry
// key HKEY_CURRENT_USER\Software\<application>\<section>. Only the user's own values count: the system-wide
// fallbacks (/etc/xdg, HKEY_LOCAL_MACHINE) are never read.
//
// Every text comes back exactly as it was saved: blanks at both ends, commas, quotes, "=", ";", "#", "@"
// at the start, backslashes, control characters, non-ASCII and long texts (QSettings quotes and escapes
// them in the file; a U+FEFF, which Qt would lose at the start of a text, the store escapes itself).
//
// A write replaces the whole file at once: a new copy is written beside it and renamed over it (QSaveFile),
// under the lock file QSettings uses, so the file on disk is always either the old one, untouched, or the
// new one, complete.
class SettingsStore {
public:
    // The user's store.
    SettingsStore() = default;
    // A store in `folder`, in place of the user's configuration folder: the file
    // <folder>/<application>.conf, in the format the user's store has on Linux. For tests.
    explicit SettingsStore(QString folder);

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored text, or defaultValue when the application, section or key does not exist. Reading
    // never writes: a missing or unreadable file, or lines that cannot be read, leave missing keys.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const;

    // Creates or replaces the key with the text. Outside a Batch the store is written at once; inside one,
    // when the batch is committed. Throws SettingsWriteError when the store cannot be written.
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value);

    // Gathers the SaveSetting calls made while it is open into one write, made by commit(): the file is
    // read once and replaced once, and either all the values reach it or none does. A batch destroyed
    // without commit() (an error left the handler) writes nothing. One batch at a time.
    class Batch {
    public:
        explicit Batch(SettingsStore& store);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        // Writes what was gathered and closes the batch. Throws SettingsWriteError.
        void commit();

    private:
        SettingsStore& m_store;
        bool m_open = true; // until commit()
    };

private:
    struct Entry {
        QString application;
        QString section;
        QString key;
        QString value;
    };

    std::unique_ptr<QSettings> open(const QString& application) const;
    void write(const QList<Entry>& entries);
    void writeApplication(const QString& application, const QList<Entry>& entries);
    static void writeFile(const QString& fileName, const QList<Entry>& entries);
    bool isFileBased() const;

    QString m_folder;                    // empty: the user's store
    std::optional<QList<Entry>> m_batch; // the open batch's values, not yet written
};

} // namespace wobblix::platform

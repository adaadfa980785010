#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <utility>

namespace wobblix::platform {

namespace {

// How long Save waits for another program that is writing the same file (QSettings' lock).
constexpr int LockWaitMs = 5000;

QString quoted(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

// Why a folder could not be made: the nearest part of its path that exists is a file, or it is a folder
// that takes no new folders.
QString whyNoFolder(const QString& folder)
{
    QString existing = folder;
    while (!QFileInfo::exists(existing) && !QDir(existing).isRoot())
        existing = QFileInfo(existing).absolutePath();
    if (!QFileInfo(existing).isDir())
        return QStringLiteral("%1 is a file, where a folder is needed.").arg(quoted(existing));
    return QStringLiteral("The folder %1 could not be made in %2.").arg(quoted(folder), quoted(existing));
}

// Qt's INI writer puts a U+FEFF (zero-width no-break space, the byte order mark) into a value as it is,
// and its reader drops one at the start of a value. Written as the escape "\xfeff", which the reader
// understands, it comes back. Hex digits right after an escape are escaped too, as Qt's writer does,
// or the reader would take them into the escape. Keys and section names never hold the raw bytes
// (QSettings writes their non-ASCII characters as %U escapes).
QByteArray escapeByteOrderMarks(const QByteArray& ini)
{
    static constexpr QByteArrayView Mark("\xef\xbb\xbf");
    if (!ini.contains(Mark))
        return ini;
    QByteArray result;
    result.reserve(ini.size() + 16);
    const auto isHexDigit = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    for (qsizetype i = 0; i < ini.size();) {
        if (QByteArrayView(ini).sliced(i).startsWith(Mark)) {
            result += "\\xfeff";
            for (i += Mark.size(); i < ini.size() && isHexDigit(ini[i]); ++i)
                result += "\\x" + QByteArray::number(static_cast<uchar>(ini[i]), 16);
        } else {
            result += ini[i++];
        }
    }
    return result;
}

// Whether `bytes`, read as a settings file by a QSettings that has never seen them, hold exactly
// `expected`, every key and value. `folder` takes the file for the reading.
bool holdsExactly(const QByteArray& bytes, const QMap<QString, QVariant>& expected, const QString& folder)
{
    const QString name = QDir(folder).filePath(QStringLiteral("check.conf"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    const QSettings reading(name, QSettings::IniFormat);
    const QStringList keys = reading.allKeys();
    if (keys.size() != expected.size())
        return false;
    for (const QString& key : keys) {
        const auto it = expected.constFind(key);
        if (it == expected.constEnd() || reading.value(key) != *it)
            return false;
    }
    return true;
}

} // namespace

SettingsWriteError::SettingsWriteError(QString location, QString reason)
    : m_location(std::move(location)), m_reason(std::move(reason)),
      m_what(QStringLiteral("The settings could not be saved: %1").arg(m_reason).toUtf8())
{
}

SettingsStore::SettingsStore(QString folder) : m_folder(std::move(folder)) {}

std::unique_ptr<QSettings> SettingsStore::open(const QString& application) const
{
    auto settings =
        m_folder.isEmpty()
            ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application)
            : std::make_unique<QSettings>(QDir(m_folder).filePath(application + QStringLiteral(".conf")),
                                          QSettings::IniFormat);
    settings->setFallbacksEnabled(false);
    return settings;
}

bool SettingsStore::isFileBased() const
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return !m_folder.isEmpty();
#else
    return true;
#endif
}

QString SettingsStore::GetSetting(const QString& application, const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
    const std::unique_ptr<QSettings> settings = open(application);
    settings->beginGroup(section);
    const QVariant stored = settings->value(key);
    // Invalid: no such key (or, in a file edited by hand, a value written as "@Invalid()").
    if (!stored.isValid())
        return defaultValue;
    // A value of several comma-separated parts that no Save wrote (Save quotes its commas): the text
    // the person editing the file most likely meant.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QStringLiteral(", "));
    return stored.toString();
}

void SettingsStore::SaveSetting(const QString& application, const QString& section, const QString& key,
                                const QString& value)
{
    Entry entry{application, section, key, value};
    if (m_batch)
        m_batch->append(std::move(entry));
    else
        write({std::move(entry)});
}

void SettingsStore::write(const QList<Entry>& entries)
{
    // One write per application, in the order the applications first appear.
    QStringList applications;
    for (const Entry& entry : entries) {
        if (!applications.contains(entry.application))
            applications.append(entry.application);
    }
    for (const QString& application : std::as_const(applications)) {
        QList<Entry> ofApplication;
        for (const Entry& entry : entries) {
            if (entry.application == application)
                ofApplication.append(entry);
        }
        writeApplication(application, ofApplication);
    }
}

void SettingsStore::writeApplication(const QString& application, const QList<Entry>& entries)
{
    const std::unique_ptr<QSettings> settings = open(application);
    if (!isFileBased()) {
        // The registry or a property list: QSettings writes it and its status tells how that went.
        for (const Entry& entry : entries)
            settings->setValue(entry.section + u'/' + entry.key, entry.value);
        settings->sync();
        if (settings->status() != QSettings::NoError)
            throw SettingsWriteError(settings->fileName(),
                                     QStringLiteral("Access to %1 was refused.").arg(settings->fileName()));
        return;
    }
    writeFile(settings->fileName(), entries);
}

// The file is not written through QSettings directly, for three faults of QSettings' own write, each
// met here with Qt 6.4:
// - A write that fails part-way (a full disk, a file size limit) is reported as a success, and the file
//   cut off where the write stopped takes the old one's place (its QSaveFile is buffered, and the error
//   of the final flush is lost).
// - Its status keeps the first error it met, and reading a damaged file (a section header without its
//   "]") is a FormatError: after one, a failed write no longer shows.
// - What it failed to write stays in memory that every QSettings of the process shares for the file:
//   later readings return the unsaved values, and the next successful write carries them to the disk,
//   even a value the user has cleared since (Save skips empty texts). Taking them back is a write of
//   its own, which may succeed where the first failed and so rewrite the file that was to stay as it was.
// So QSettings merges the new values into a private copy of the file, in its own format; the copy is
// read back and checked; and the file is then replaced by it in one step through QSaveFile, as QSettings
// itself would replace it, under QSettings' own lock. Each step that fails says why, and when one fails
// nothing has changed, on disk or in memory.
void SettingsStore::writeFile(const QString& fileName, const QList<Entry>& entries)
{
    const auto fail = [&fileName](const QString& reason) { return SettingsWriteError(fileName, reason); };

    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder))
        throw fail(whyNoFolder(folder));
    if (QFileInfo(fileName).isDir())
        throw fail(
            QStringLiteral("%1 is a folder, where the settings file is needed.").arg(quoted(fileName)));

    // Other programs writing this file through QSettings wait for the same lock, so no write is lost.
    QLockFile lock(fileName + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs)) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            throw fail(QStringLiteral("Another program is writing %1.").arg(quoted(fileName)));
        case QLockFile::PermissionError:
            throw fail(
                QStringLiteral("The folder %1 takes no new files: Permission denied.").arg(quoted(folder)));
        default:
            throw fail(QStringLiteral("The lock file %1 could not be made.")
                           .arg(quoted(fileName + QStringLiteral(".lock"))));
        }
    }

    // The file as it is: read, and open for writing as QSettings requires of a file it replaces.
    QByteArray current;
    if (QFileInfo::exists(fileName)) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadWrite))
            throw fail(QStringLiteral("The file %1 cannot be written: %2.")
                           .arg(quoted(fileName), file.errorString()));
        current = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw fail(
                QStringLiteral("The file %1 cannot be read: %2.").arg(quoted(fileName), file.errorString()));
    }

    // The new values merged into a private copy, in QSettings' format (one character escaped where Qt
    // would lose it: escapeByteOrderMarks).
    QTemporaryDir scratch;
    const auto failedPreparing = [&](const QString& where) {
        return fail(
            QStringLiteral("Writing %1 failed: the new settings could not be prepared in the temporary "
                           "folder %2.")
                .arg(quoted(fileName), quoted(where)));
    };
    if (!scratch.isValid())
        throw failedPreparing(QDir::tempPath());
    const QString copyName = scratch.filePath(QStringLiteral("settings.conf"));
    {
        QFile copy(copyName);
        if (!copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || copy.write(current) != current.size())
            throw failedPreparing(scratch.path());
    }
    QByteArray merged;
    {
        QSettings copy(copyName, QSettings::IniFormat);
        for (const Entry& entry : entries)
            copy.setValue(entry.section + u'/' + entry.key, entry.value);
        QMap<QString, QVariant> expected; // every key the new file must hold, with its value
        for (const QString& key : copy.allKeys())
            expected.insert(key, copy.value(key));
        copy.sync();
        QFile result(copyName);
        if (!result.open(QIODevice::ReadOnly))
            throw failedPreparing(scratch.path());
        merged = escapeByteOrderMarks(result.readAll());
        // QSettings' status cannot be trusted here: it keeps the FormatError of reading a damaged file
        // (a section header without its "]") in place of a later write error, and in Qt 6.4 a write that
        // fails part-way (a full disk, a file size limit) leaves its status at NoError and its file cut
        // off. So the copy is read back, as a new process would read it, and must hold what it should.
        if (!holdsExactly(merged, expected, scratch.path()))
            throw failedPreparing(scratch.path());
    }

    // The file replaced at once: a new copy written beside it, then renamed over it. Unbuffered and with
    // the count checked: a buffered QSaveFile writes at commit() and misses an error there, and commit()
    // after a short write succeeds (Qt 6.4); both would put a file cut off in place of the old one.
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw fail(
            QStringLiteral("The file %1 cannot be written: %2.").arg(quoted(fileName), file.errorString()));
    const qint64 written = file.write(merged);
    if (written != merged.size()) {
        const QString why = written < 0
                                ? file.errorString()
                                : QStringLiteral("only %1 of %2 bytes could be written (is the disk full?)")
                                      .arg(written)
                                      .arg(merged.size());
        throw fail(QStringLiteral("Writing %1 failed: %2.").arg(quoted(fileName), why));
    }
    if (!file.commit())
        throw fail(QStringLiteral("Writing %1 failed: %2.").arg(quoted(fileName), file.errorString()));
}

SettingsStore::Batch::Batch(SettingsStore& store) : m_store(store)
{
    Q_ASSERT_X(!m_store.m_batch, "SettingsStore::Batch", "one batch at a time");
    m_store.m_batch.emplace();
}

SettingsStore::Batch::~Batch()
{
    if (m_open)
        m_store.m_batch.reset();
}

void SettingsStore::Batch::commit()
{
    if (!std::exchange(m_open, false))
        return;
    const QList<Entry> entries = std::move(*m_store.m_batch);
    m_store.m_batch.reset();
    m_store.write(entries);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/Text.h"

// Helpers for the settings tests: real files in temporary folders, read back the way a new process
// would, and the conditions under which a file cannot be written, made real for a test run as root.

#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <memory>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace wobblix::test {

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Everything in a folder, hidden files included: a write that leaves a temporary or lock file behind, or
// a reading that creates something, shows here.
inline QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The store as a new process finds it. QSettings keeps every file it has read in memory shared by the
// whole process and reads it again only when its size or time changes, so a reading in the same process
// may never parse what was written. A copy of the file in a folder of its own is a file this process has
// never seen: reading it parses the bytes on disk.
class FreshReading {
public:
    explicit FreshReading(const QString& file)
    {
        if (QFile::exists(file))
            QFile::copy(file, m_folder.filePath(QStringLiteral("Wobblix.conf")));
    }
    QString get(const QString& key, const QString& defaultValue = QStringLiteral("<absent>")) const
    {
        return qstr(m_store.Read(u"Wobblix", u"Main").GetSetting(str(key), str(defaultValue)));
    }

private:
    QTemporaryDir m_folder;
    platform::SettingsStore m_store{str(m_folder.path())};
};

// Makes file permissions count while it lives. The tests run as root, and root writes to read-only files
// and into read-only folders (CAP_DAC_OVERRIDE), so a read-only file would stop nothing and the test would
// prove nothing. So while this object lives the process is the user `nobody`, real and effective user
// and group (setresuid), with root's capabilities gone from its effective set, and the permissions treat
// it as they treat a user; root is kept as the saved user, which lets the destructor return to it. The
// real user changes too because some checks (access(2), behind QFileInfo::isWritable) go by it. Not run
// as root, the permissions already apply and nothing is changed.
class OrdinaryUser {
public:
    static constexpr uid_t Nobody = 65534;
    static constexpr gid_t NoGroup = 65534;

    OrdinaryUser()
    {
        if (::geteuid() == 0) {
            m_switched = ::setresgid(NoGroup, NoGroup, 0) == 0 && ::setresuid(Nobody, Nobody, 0) == 0;
        }
    }
    // Back to root: the tests that follow would fail for no visible reason as another user.
    ~OrdinaryUser()
    {
        if (m_switched && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) {
            qFatal("OrdinaryUser: could not return to root: %s", std::strerror(errno));
        }
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    // Whether the process now meets the file permissions as a user does.
    static bool inEffect() { return ::geteuid() != 0 && ::getuid() != 0; }

    // Gives a file or folder to the user the test acts as, as a user's own configuration is theirs.
    static bool handOver(const QString& path)
    {
        if (::geteuid() != 0)
            return true;
        return ::chown(QFile::encodeName(path).constData(), Nobody, NoGroup) == 0;
    }

private:
    bool m_switched = false;
};

// A configuration folder, base/config, that belongs to the user the test acts as (OrdinaryUser), inside
// a temporary base folder that user may enter but not change.
class UsersConfigFolder {
public:
    bool create()
    {
        return QFile::setPermissions(m_base.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                        QFile::ReadOther | QFile::ExeOther) &&
               QDir().mkdir(folder()) && OrdinaryUser::handOver(folder());
    }
    QString base() const { return m_base.path(); }
    QString folder() const { return m_base.filePath(QStringLiteral("config")); }

private:
    QTemporaryDir m_base;
};

// Limits the size of every file this process writes while it lives (RLIMIT_FSIZE, which binds root too):
// a write beyond it fails with "File too large", as a write to a full disk fails part-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN); // the failed write returns EFBIG instead
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

// Catches what this process writes to standard error while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture()
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        if (m_file.open())
            ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StandardErrorCapture() { restore(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Ends the capture and returns what was written.
    QString text()
    {
        restore();
        return QString::fromLocal8Bit(readBytes(m_file.fileName()));
    }

private:
    void restore()
    {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace wobblix::test

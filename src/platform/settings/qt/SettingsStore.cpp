// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/settings/SettingsStore.h"

#include "platform/runtime/qt/QtText.h"
#include "platform/settings/qt/IniSection.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace wobblix::platform {

namespace {

QString quoted(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

// The bytes of the file, or none when there is none. Only a regular file is read: a FIFO in its place
// would block the reading until some other program wrote to it.
QByteArray readFile(const QString& fileName, QString* problem)
{
    const QFileInfo info(fileName);
    QFile file(fileName);
    if (!info.exists())
        return QByteArray();
    if (info.isDir())
        *problem = QStringLiteral("%1 is a folder, where the settings file is needed.").arg(quoted(fileName));
    else if (!info.isFile())
        *problem = QStringLiteral("%1 is not a regular file.").arg(quoted(fileName));
    else if (!file.open(QIODevice::ReadOnly))
        *problem = QStringLiteral("%1 cannot be read: %2.").arg(quoted(fileName), file.errorString());
    return problem->isEmpty() ? file.readAll() : QByteArray();
}

// Why a folder could not be made: the nearest part of its path that exists is a file, or a folder that
// takes no new folders.
QString whyNoFolder(const QString& folder)
{
    QString existing = folder;
    while (!QFileInfo::exists(existing) && !QDir(existing).isRoot())
        existing = QFileInfo(existing).absolutePath();
    if (!QFileInfo(existing).isDir())
        return QStringLiteral("%1 is a file, where a folder is needed.").arg(quoted(existing));
    return QStringLiteral("The folder %1 could not be made in %2.").arg(quoted(folder), quoted(existing));
}

// Puts the new file in place of the old through QSaveFile (a new copy beside it, renamed over it), written
// unbuffered with the count checked: in Qt 6.4 a buffered QSaveFile writes at commit() and misses an error
// there, and commit() after a short write succeeds; either puts a file cut off (a full disk, a file size
// limit) in place of the old one.
void replaceFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    QString why;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        why = file.errorString();
    else if (const qint64 written = file.write(bytes); written != bytes.size())
        why = written < 0 ? file.errorString()
                          : QStringLiteral("only %1 of %2 bytes could be written (is the disk full?)")
                                .arg(written)
                                .arg(bytes.size());
    else if (!file.commit())
        why = file.errorString();
    if (!why.isEmpty())
        throw SettingsWriteError(
            qt::fromQString(QStringLiteral("Writing %1 failed: %2.").arg(quoted(fileName), why)));
}

// <folder>/<application>.conf, the folder the user's configuration folder unless the store was given one.
QString fileName(const String& folder, const String& application)
{
    const QString in = folder.empty()
                           ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                           : qt::toQString(folder);
    return QDir(in).filePath(qt::toQString(application) + QStringLiteral(".conf"));
}

} // namespace

SettingsReading SettingsStore::Read(const String& application, const String& section) const
{
    QString problem;
    const IniSection read(readFile(fileName(m_folder, application), &problem), qt::toQString(section));
    return SettingsReading(read.values(), qt::fromQString(problem));
}

void SettingsStore::SaveSettings(const String& application, const String& section, const Values& values)
{
    const QString name = fileName(m_folder, application);
    if (const QString folder = QFileInfo(name).absolutePath(); !QDir().mkpath(folder))
        throw SettingsWriteError(qt::fromQString(whyNoFolder(folder)));
    QString problem;
    IniSection file(readFile(name, &problem), qt::toQString(section));
    if (!problem.isEmpty())
        throw SettingsWriteError(qt::fromQString(problem));
    for (const auto& [key, value] : values)
        file.setValue(qt::toQString(key), qt::toQString(value));

    // What is written of ours must read back as it was given, as the next start will read it.
    const QByteArray bytes = file.file();
    const IniSection written(bytes, qt::toQString(section));
    for (const auto& [key, value] : values)
        if (written.value(qt::toQString(key)) != qt::toQString(value))
            throw SettingsWriteError(qt::fromQString(
                QStringLiteral("The setting %1 would not read back as it was saved; %2 is unchanged.")
                    .arg(qt::toQString(key), quoted(name))));
    replaceFile(name, bytes);
}

} // namespace wobblix::platform

#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
#include <QSettings>
#endif

namespace wobblix::platform {

namespace {

QString quoted(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

bool isHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The text of the value on a "Key=value" line. QSettings' own reader (Qt 6.4) takes a
// value apart: it splits it at unquoted commas into a list ("wake,up.wav"), cuts it at a ";", reads
// "@Type(...)" as another type, and drops a backslash whose escape it does not know ("C:\Sounds" loses
// "\S"). Here a value is one text, exactly as it stands, with only these rules of the format:
// - blanks around it are not part of it; a value in double quotes is the text inside them;
// - the escapes QSettings writes (\\ \" \' \? \a \b \f \n \r \t \v \xHHHH) stand for their character, when
//   every backslash of the value starts one: a value with any other backslash was not written by
//   QSettings, and each of its backslashes stands for itself ("C:\Sounds\alarm.wav");
// - "@@" at the start stands for "@", as QSettings writes a text that starts with "@".
QString readValue(QByteArrayView line)
{
    QByteArrayView raw = line.sliced(line.indexOf('=') + 1).trimmed();
    if (raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"'))
        raw = raw.sliced(1, raw.size() - 2);
    // Decoded keeping a U+FEFF at the start, which QString::fromUtf8 would drop.
    const QString literal =
        QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)(raw);
    static constexpr QStringView Escapes = u"\\\"'?abfnrtv", Meanings = u"\\\"'?\a\b\f\n\r\t\v";
    const auto withoutDoubledAt = [](const QString& t) { return t.startsWith(u"@@") ? t.sliced(1) : t; };
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] != u'\\') {
            text += literal[i];
            continue;
        }
        const QChar c = ++i < literal.size() ? literal[i] : QChar();
        qsizetype digits = 0;
        while (c == u'x' && i + digits + 1 < literal.size() && isHexDigit(literal[i + digits + 1].unicode()))
            ++digits;
        if (digits > 0)
            text += QChar(static_cast<char16_t>(literal.sliced(i + 1, digits).toUInt(nullptr, 16)));
        else if (!c.isNull() && Escapes.contains(c))
            text += Meanings[Escapes.indexOf(c)];
        else // not written by QSettings: every backslash stands for itself
            return withoutDoubledAt(literal);
        i += digits;
    }
    return withoutDoubledAt(text);
}

// A text as a value that QSettings and readValue both read back exactly: a starting "@" doubled,
// backslashes and double quotes escaped; control characters, U+FEFF (which QSettings' reader drops at the
// start of a value), lone surrogate halves and a hex digit right after such an escape (which the reader
// would take into it) as \x escapes; in double quotes when it holds "," ";" "=" or a blank at either end.
QByteArray writeValue(const QString& text)
{
    QByteArray value = text.startsWith(u'@') ? "@" : "";
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const bool hexEscape = c < 0x20 || c == 0x7f || c == 0xfeff || (QChar::isSurrogate(c) && !pair) ||
                               (afterHexEscape && isHexDigit(c));
        if (hexEscape)
            value += "\\x" + QByteArray::number(uint(c), 16);
        else if (c == u'\\' || c == u'"')
            value += '\\' + QByteArray(1, static_cast<char>(c));
        else
            value += QStringView(text).sliced(i, pair ? 2 : 1).toUtf8();
        i += pair ? 1 : 0;
        afterHexEscape = hexEscape;
    }
    const bool quotes = text.contains(u',') || text.contains(u';') || text.contains(u'=') ||
                        text.startsWith(u' ') || text.endsWith(u' ');
    return quotes ? '"' + value + '"' : value;
}

// The lines of a settings file, split at "\n"; joined with "\n" after each they are the file again.
QList<QByteArray> linesOf(const QByteArray& file)
{
    QList<QByteArray> lines = file.split('\n');
    if (file.isEmpty() || file.endsWith('\n'))
        lines.removeLast(); // the nothing after the last line break
    return lines;
}

// For each key of a section, its last line (QSettings, too, takes the last when a key repeats); and, in
// `end`, where a line added to the section goes, or -1 when the file has no such section. A header without
// its "]" opens a section of its own.
QHash<QByteArray, qsizetype> keysOf(const QList<QByteArray>& lines, const QString& section, qsizetype* end)
{
    const QByteArray header = '[' + section.toUtf8() + ']';
    QHash<QByteArray, qsizetype> keys;
    bool inside = false;
    *end = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArrayView line = QByteArrayView(lines[i]).trimmed();
        if (i == 0 && line.startsWith("\xef\xbb\xbf")) // a byte order mark opens the file
            line = line.sliced(3);
        if (line.startsWith('['))
            inside = line.first(line.indexOf(']') + 1) == header;
        else if (inside && line.indexOf('=') > 0)
            keys.insert(line.first(line.indexOf('=')).trimmed().toByteArray(), i);
        if (inside && !line.isEmpty())
            *end = i + 1;
    }
    return keys;
}

// The bytes of the file, or none when there is no file. Only a regular file is read: a FIFO in its place
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
        throw SettingsWriteError(QStringLiteral("Writing %1 failed: %2.").arg(quoted(fileName), why));
}

} // namespace

SettingsStore::SettingsStore(QString folder) : m_folder(std::move(folder)) {}

// Found here, not asked of a QSettings, which reads the file as soon as it is made.
QString SettingsStore::fileName(const QString& application) const
{
    const QString folder = m_folder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                               : m_folder;
    return QDir(folder).filePath(application + QStringLiteral(".conf"));
}

QString SettingsStore::GetSetting(const QString& application, const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    // The user's store on Windows (HKEY_CURRENT_USER\Software\<application>) and macOS (a property
    // list) holds each value as a string of its own: no file format takes a text apart there, so QSettings
    // keeps every text as it is.
    if (m_folder.isEmpty()) {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application);
        settings.setFallbacksEnabled(false);
        return settings.value(section + u'/' + key, defaultValue).toString();
    }
#endif
    QString problem;
    const QList<QByteArray> lines = linesOf(readFile(fileName(application), &problem));
    qsizetype end = -1;
    const qsizetype line = keysOf(lines, section, &end).value(key.toUtf8(), -1);
    return line < 0 ? defaultValue : readValue(lines[line]);
}

QString SettingsStore::ReadProblem(const QString& application) const
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    if (m_folder.isEmpty())
        return QString();
#endif
    QString problem;
    readFile(fileName(application), &problem);
    return problem;
}

void SettingsStore::SaveSettings(const QString& application, const QString& section, const Values& values)
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    if (m_folder.isEmpty()) {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application);
        settings.setFallbacksEnabled(false);
        for (const auto& [key, value] : values)
            settings.setValue(section + u'/' + key, value);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            throw SettingsWriteError(QStringLiteral("Access to %1 was refused.").arg(settings.fileName()));
        return;
    }
#endif
    const QString name = fileName(application);
    const QString folder = QFileInfo(name).absolutePath();
    if (!QDir().mkpath(folder))
        throw SettingsWriteError(whyNoFolder(folder));
    QString problem;
    QList<QByteArray> lines = linesOf(readFile(name, &problem));
    if (!problem.isEmpty())
        throw SettingsWriteError(problem);

    // The lines of the keys written are replaced, the missing keys added at the end of the section (a new
    // section at the end of the file when there is none); every other line stays as it was.
    qsizetype end = -1;
    const QHash<QByteArray, qsizetype> keys = keysOf(lines, section, &end);
    if (end < 0) {
        if (!lines.isEmpty())
            lines.append(QByteArray());
        lines.append('[' + section.toUtf8() + ']');
        end = lines.size();
    }
    QList<QByteArray> added;
    for (const auto& [key, value] : values) {
        const QByteArray line = key.toUtf8() + '=' + writeValue(value);
        if (const qsizetype at = keys.value(key.toUtf8(), -1); at >= 0)
            lines[at] = line + (lines[at].endsWith('\r') ? "\r" : ""); // a line break "\r\n" stays
        else
            added.append(line);
    }
    lines = lines.first(end) + added + lines.sliced(end);
    QByteArray file;
    for (const QByteArray& line : std::as_const(lines))
        file += line + '\n';

    // What is written of ours must read back as it was given, as the next start will read it.
    const QHash<QByteArray, qsizetype> written = keysOf(lines, section, &end);
    for (const auto& [key, value] : values) {
        const qsizetype at = written.value(key.toUtf8(), -1);
        if (at < 0 || readValue(lines[at]) != value)
            throw SettingsWriteError(
                QStringLiteral("The setting %1 would not read back as it was saved; %2 is unchanged.")
                    .arg(key, quoted(name)));
    }
    replaceFile(name, file);
}

} // namespace wobblix::platform

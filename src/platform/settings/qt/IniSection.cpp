// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/settings/qt/IniSection.h"

#include "platform/runtime/qt/QtText.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace wobblix::platform {

namespace {

// The text of a value with the escapes QSettings writes (\\ \" \' \? \a \b \f \n \r \t \v \xHHHH) read,
// when every backslash of it starts one; otherwise QSettings did not write the value, and each backslash
// stands for itself ("C:\Sounds\alarm.wav").
QString unescaped(const QString& value)
{
    static const QRegularExpression escape(QStringLiteral(R"(\\(x[0-9a-fA-F]+|["\\'?abfnrtv]|))"));
    static constexpr QStringView Escapes = u"\"\\'?abfnrtv", Meanings = u"\"\\'?\a\b\f\n\r\t\v";
    QString text;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : escape.globalMatch(value)) {
        const QString code = match.captured(1);
        if (code.isEmpty()) // a backslash that starts no escape
            return value;
        text += QStringView(value).sliced(from, match.capturedStart() - from);
        text += code.size() > 1 ? QChar(char16_t(code.sliced(1).toUInt(nullptr, 16)))
                                : Meanings[Escapes.indexOf(code)];
        from = match.capturedEnd();
    }
    return text + value.sliced(from);
}

// The text of a value, the rest of its line after "Key=". Blanks around it are not part of it; a value
// in double quotes is the text inside them; escapes are read as above; and "@@" at the start stands for
// "@", as QSettings writes a text that starts with "@".
QString readValue(QByteArrayView raw)
{
    raw = raw.trimmed();
    if (raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"'))
        raw = raw.sliced(1, raw.size() - 2);
    // Decoded keeping a U+FEFF at the start, which QString::fromUtf8 would drop.
    QString text = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)(raw);
    if (text.contains(u'\\')) // most values have none, and making the expression takes some 0.15 ms
        text = unescaped(text);
    return text.startsWith(u"@@") ? text.sliced(1) : text;
}

// A text as a value that QSettings and readValue both read back exactly: a starting "@" doubled,
// backslashes and double quotes escaped; control characters, surrogates, U+FEFF (which QSettings' reader
// drops at the start of a value) and a hex digit right after such an escape (which the reader would take
// into it) as \x escapes; in double quotes when it holds "," ";" "=" or a blank at either end.
QByteArray writeValue(const QString& text)
{
    QByteArray value = text.startsWith(u'@') ? "@" : "";
    bool afterHexEscape = false;
    for (const QChar c : text) {
        const bool hexDigit = QStringView(u"0123456789abcdefABCDEF").contains(c);
        const bool hexEscape =
            c < u' ' || c == u'\x7f' || c == u'\xfeff' || c.isSurrogate() || (afterHexEscape && hexDigit);
        if (hexEscape)
            value += "\\x" + QByteArray::number(c.unicode(), 16);
        else
            value += (c == u'\\' || c == u'"' ? "\\" : "") + QString(c).toUtf8();
        afterHexEscape = hexEscape;
    }
    static const QRegularExpression needsQuotes(QStringLiteral("[,;=]|^ | $"));
    return text.contains(needsQuotes) ? '"' + value + '"' : value;
}

} // namespace

IniSection::IniSection(const QByteArray& file, const QString& name)
    : m_header('[' + name.toUtf8() + ']'), m_lines(file.split('\n'))
{
    if (file.isEmpty() || file.endsWith('\n'))
        m_lines.removeLast(); // the nothing after the last line break
    bool inside = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        QByteArrayView line = QByteArrayView(m_lines[i]).trimmed();
        if (i == 0 && line.startsWith("\xef\xbb\xbf")) // a byte order mark opens the file
            line = line.sliced(3);
        if (line.startsWith('[')) // a header without its "]" opens a section of its own
            inside = line.first(line.indexOf(']') + 1) == m_header;
        else if (inside && line.indexOf('=') > 0)
            m_keys.insert(line.first(line.indexOf('=')).trimmed().toByteArray(), i);
        if (inside && !line.isEmpty())
            m_end = i + 1;
    }
}

std::optional<QString> IniSection::value(const QString& key) const
{
    const qsizetype at = m_keys.value(key.toUtf8(), -1);
    if (at < 0)
        return std::nullopt;
    return readValue(QByteArrayView(m_lines[at]).sliced(m_lines[at].indexOf('=') + 1));
}

std::map<String, String, std::less<>> IniSection::values() const
{
    std::map<String, String, std::less<>> all;
    for (auto key = m_keys.cbegin(); key != m_keys.cend(); ++key)
        all.emplace(qt::fromQString(QString::fromUtf8(key.key())),
                    qt::fromQString(*value(QString::fromUtf8(key.key()))));
    return all;
}

void IniSection::setValue(const QString& key, const QString& text)
{
    const QByteArray line = key.toUtf8() + '=' + writeValue(text);
    if (const qsizetype at = m_keys.value(key.toUtf8(), -1); at >= 0) {
        m_lines[at] = line + (m_lines[at].endsWith('\r') ? "\r" : ""); // a line break "\r\n" stays
        return;
    }
    if (m_end < 0) {
        if (!m_lines.isEmpty())
            m_lines.append(QByteArray());
        m_lines.append(m_header);
        m_end = m_lines.size();
    }
    m_lines.insert(m_end, line);
    m_keys.insert(key.toUtf8(), m_end++);
}

QByteArray IniSection::file() const
{
    return m_lines.isEmpty() ? QByteArray() : m_lines.join('\n') + '\n';
}

} // namespace wobblix::platform

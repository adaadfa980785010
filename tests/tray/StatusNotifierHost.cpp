// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/StatusNotifierHost.h"

#include "support/DesktopDriver.h"

#include <QRegularExpression>
#include <QtEndian>

namespace wobblix::test {

namespace {

const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString ItemInterface = QStringLiteral("org.kde.StatusNotifierItem");

// gdbus's text of a property: "(<value>,)".
QString property(const QString& destination, const QString& path, const QString& interface,
                 const QString& name)
{
    return run(QStringLiteral("gdbus"),
               {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"), destination,
                QStringLiteral("--object-path"), path, QStringLiteral("--method"),
                QStringLiteral("org.freedesktop.DBus.Properties.Get"), interface, name});
}

// An item is registered as a bus name, or as a bus name and its object path.
std::pair<QString, QString> address(const QString& item)
{
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {item, QStringLiteral("/StatusNotifierItem")};
    return {item.left(slash), item.mid(slash)};
}

QStringList quoted(const QString& text)
{
    QStringList strings;
    for (const QRegularExpressionMatch& match :
         QRegularExpression(QStringLiteral("'([^']*)'")).globalMatch(text))
        strings.append(match.captured(1));
    return strings;
}

} // namespace

QStringList registeredItems()
{
    return quoted(property(Watcher, QStringLiteral("/StatusNotifierWatcher"), Watcher,
                           QStringLiteral("RegisteredStatusNotifierItems")));
}

bool hostRegistered()
{
    return property(Watcher, QStringLiteral("/StatusNotifierWatcher"), Watcher,
                    QStringLiteral("IsStatusNotifierHostRegistered"))
        .contains(QStringLiteral("true"));
}

QString itemToolTip(const QString& item)
{
    // (icon name, images, title, text)
    const auto [name, path] = address(item);
    const QStringList strings = quoted(property(name, path, ItemInterface, QStringLiteral("ToolTip")));
    return strings.size() >= 2 ? strings.at(strings.size() - 2) : QString();
}

QList<QImage> itemImages(const QString& item)
{
    // [(width, height, [byte 0x.., ...]), ...], each pixel ARGB in network byte order.
    const auto [name, path] = address(item);
    const QString text = property(name, path, ItemInterface, QStringLiteral("IconPixmap"));
    QList<QImage> images;
    const QRegularExpression image(QStringLiteral("\\((\\d+), (\\d+), \\[([^\\]]*)\\]\\)"));
    const QRegularExpression byte(QStringLiteral("0x([0-9a-f]{2})"));
    for (const QRegularExpressionMatch& match : image.globalMatch(text)) {
        QByteArray bytes;
        for (const QRegularExpressionMatch& value : byte.globalMatch(match.captured(3)))
            bytes.append(static_cast<char>(value.captured(1).toInt(nullptr, 16)));
        QImage decoded(match.captured(1).toInt(), match.captured(2).toInt(), QImage::Format_ARGB32);
        if (bytes.size() != decoded.sizeInBytes())
            return {};
        qFromBigEndian<quint32>(bytes.constData(), decoded.width() * decoded.height(), decoded.bits());
        images.append(decoded);
    }
    return images;
}

bool callItem(const QString& item, const QString& method, const QStringList& arguments)
{
    const auto [name, path] = address(item);
    return run(QStringLiteral("gdbus"),
               QStringList{QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                           name, QStringLiteral("--object-path"), path, QStringLiteral("--method"),
                           ItemInterface + u'.' + method} +
                   arguments) == QStringLiteral("()");
}

} // namespace wobblix::test

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/DesktopDriver.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace wobblix::test {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

void clickAt(QPoint at, int button, int times)
{
    // One command: the X server takes the move and the clicks in this order. (No --sync: xdotool 3 waits
    // for ever when the pointer is already there.)
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(times),
             QString::number(button)});
}

quint64 findWindow(qint64 pid, const QString& name)
{
    // xdotool takes a POSIX extended expression, in which only these characters are special.
    QString exact;
    for (const QChar c : name) {
        if (QStringLiteral(".[]()*+?{}|^$\\").contains(c))
            exact += QLatin1Char('\\');
        exact += c;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const QStringList visible =
            // --all: the window must be of the process and have the name; xdotool's default is either.
            xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"),
                     QStringLiteral("^%1$").arg(exact)})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!visible.isEmpty())
            return visible.first().toULongLong();
        QThread::msleep(50);
    }
    return 0;
}

QRect windowGeometry(quint64 window)
{
    // "X=..", "Y=..", "WIDTH=..", "HEIGHT=..", one a line.
    QHash<QString, int> values;
    const QString shell =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)});
    for (const QString& line : shell.split(QLatin1Char('\n')))
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                 values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
}

bool isViewable(quint64 window)
{
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)})
        .contains(QStringLiteral("Map State: IsViewable"));
}

quint64 focusedWindow()
{
    return xdotool({QStringLiteral("getwindowfocus")}).toULongLong();
}

QString trayPanel()
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("^panel$")})
        .section(QLatin1Char('\n'), 0, 0);
}

QList<QRect> iconsInTray(qint64 pid)
{
    const QString panel = trayPanel();
    if (panel.isEmpty())
        return {};
    const QStringList ours =
        xdotool({QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid)})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // "     0x800015 "name": ("class" "Class")  22x30+0+0  +1257+1": id, size, place in the parent, on
    // screen.
    static const QRegularExpression window(
        QStringLiteral(R"(^\s*0x([0-9a-f]+) .*\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)\s*$)"));
    QList<QRect> icons;
    const QString tree =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), panel, QStringLiteral("-tree")});
    for (const QString& line : tree.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = window.match(line);
        if (match.hasMatch() && ours.contains(QString::number(match.captured(1).toULongLong(nullptr, 16))))
            icons.append(QRect(match.captured(4).toInt(), match.captured(5).toInt(),
                               match.captured(2).toInt(), match.captured(3).toInt()));
    }
    return icons;
}

} // namespace wobblix::test

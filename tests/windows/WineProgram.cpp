// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WineProgram.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace wobblix::test {

namespace {

const QString SettingsKey = QStringLiteral(R"(HKCU\Software\VB and VBA Program Settings\Wobblix\Main)");

// The zone of setTimeZone(), for every Wine process started after it; empty: the session's.
QString& timeZone()
{
    static QString zone;
    return zone;
}

QProcessEnvironment wineEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!timeZone().isEmpty())
        environment.insert(QStringLiteral("TZ"), timeZone());
    return environment;
}

} // namespace

Ran runProgram(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(wineEnvironment());
    process.start(program, arguments);
    Ran ran;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ran.errors = QStringLiteral("%1 did not end within %2 ms: %3")
                         .arg(program)
                         .arg(timeoutMs)
                         .arg(QString::fromUtf8(process.readAllStandardError()).trimmed());
        return ran;
    }
    ran.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ran.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    ran.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return ran;
}

namespace {

QString xdotool(const QStringList& arguments)
{
    return runProgram(QStringLiteral("xdotool"), arguments, 10000).output;
}

// One field of a driver record: \\, \t, \r and \n back to their characters.
QString unescaped(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const QChar next = field[++i];
        out += next == u't' ? QChar(u'\t') : next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next;
    }
    return out;
}

QList<QStringList> records(const QString& output)
{
    QList<QStringList> out;
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        QStringList fields = line.split(u'\t');
        for (QString& field : fields)
            field = unescaped(field);
        out.append(fields);
    }
    return out;
}

// `control HWND PARENT ID CLASS visible enabled tabstop LEFT TOP W H TEXT`, and the same for `focus`.
WineControl controlFrom(const QStringList& fields)
{
    WineControl control;
    if (fields.size() < 13)
        return control;
    control.handle = fields[1];
    control.parent = fields[2];
    control.id = fields[3].toInt();
    control.className = fields[4];
    control.visible = fields[5] == QLatin1String("visible");
    control.enabled = fields[6] == QLatin1String("enabled");
    control.tabStop = fields[7] == QLatin1String("tabstop");
    control.place = QRect(fields[8].toInt(), fields[9].toInt(), fields[10].toInt(), fields[11].toInt());
    control.text = fields[12];
    return control;
}

// Polls `done` every 50 ms until it holds or `timeoutMs` have passed.
template <typename Condition> bool waitUntil(Condition done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// A registry file's quoted text: backslash and quote escaped.
QString regQuoted(const QString& text)
{
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + out + u'"';
}

} // namespace

QString missingTools()
{
    // program, Debian package
    static const std::pair<const char*, const char*> tools[] = {
        {"wine", "wine"}, {"xdotool", "xdotool"}, {"xwininfo", "x11-utils"}, {"pactl", "pulseaudio-utils"},
        {"sox", "sox"},
    };
    QStringList missing;
    for (const auto& [program, package] : tools)
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            missing << QStringLiteral("%1 is missing: install the Debian package %2")
                           .arg(QString::fromLatin1(program), QString::fromLatin1(package));
    for (const char* built :
         {WOBBLIX_WINDOWS_PROGRAM, WOBBLIX_WINDOWS_PROGRAM_SYSTEM_CODE_PAGE, WOBBLIX_WINDOWS_DRIVER})
        if (!QFile::exists(QString::fromUtf8(built)))
            missing << QStringLiteral("%1 is missing: the build makes it with scripts/build-windows")
                           .arg(QString::fromUtf8(built));
    return missing.join(u'\n');
}

namespace wine {

Ran run(const QStringList& arguments, int timeoutMs)
{
    return runProgram(QStringLiteral("wine"), arguments, timeoutMs);
}

Ran driver(const QStringList& arguments, int timeoutMs)
{
    return run(QStringList{QStringLiteral(WOBBLIX_WINDOWS_DRIVER)} + arguments, timeoutMs);
}

QString onDriveC(const QString& relative)
{
    return QDir(qEnvironmentVariable("WINEPREFIX")).filePath(QStringLiteral("drive_c/") + relative);
}

void stopPrefix()
{
    // WINEPREFIX is the session's own (wine-session.sh): this stops that prefix's processes only.
    runProgram(QStringLiteral("wineserver"), {QStringLiteral("-k")}, 20000);
    runProgram(QStringLiteral("wineserver"), {QStringLiteral("-w")}, 20000);
}

void setTimeZone(const QString& zone)
{
    stopPrefix();
    timeZone() = zone;
}

QString zoneAhead(qint64 secondsAhead)
{
    // POSIX writes the offset to add to local time to reach UTC: a zone ahead of UTC has a minus.
    const qint64 magnitude = qAbs(secondsAhead);
    return QStringLiteral("UTC%1%2:%3:%4")
        .arg(secondsAhead >= 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(magnitude / 3600)
        .arg(magnitude / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

QString exportedKey(const QString& key)
{
    const QString file = onDriveC(QStringLiteral("wobblix-export.reg"));
    QFile::remove(file);
    // reg query would give the console's code page; an export is UTF-16, whole.
    if (run({QStringLiteral("reg"), QStringLiteral("export"), key, QStringLiteral(R"(C:\wobblix-export.reg)"),
             QStringLiteral("/y")})
            .status != 0)
        return {}; // no such key
    QFile exported(file);
    if (!exported.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = exported.readAll();
    // UTF-16LE after its byte order mark.
    if (!bytes.startsWith("\xff\xfe"))
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                              (bytes.size() - 2) / 2);
}

QString exportedValue(const QString& key, const QString& name)
{
    const QString prefix = regQuoted(name) + u'=';
    int sections = 0; // the key's own [section] comes first, its subkeys' after it
    for (const QString& line : exportedKey(key).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u'[') && ++sections > 1)
            break;
        if (!line.startsWith(prefix))
            continue;
        const QString data = line.mid(prefix.size());
        if (data.startsWith(u'"'))
            return unescaped(data.mid(1, data.size() - 2));
        if (data.startsWith(QLatin1String("hex:")))
            return data.mid(4).remove(u',');
        return data;
    }
    return {};
}

QMap<QString, QString> storedSettings()
{
    QMap<QString, QString> values;
    // "Name"="text" with \\ and \" escaped, one a line.
    static const QRegularExpression value(
        QStringLiteral(R"re(^"((?:[^"\\]|\\.)*)"="((?:[^"\\]|\\.)*)"\r?$)re"),
        QRegularExpression::MultilineOption);
    for (auto match = value.globalMatch(exportedKey(SettingsKey)); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        values.insert(unescaped(found.captured(1)), unescaped(found.captured(2)));
    }
    return values;
}

QString registrySection(const QString& key, const QMap<QString, QString>& values)
{
    QString section =
        QStringLiteral("[%1]\r\n")
            .arg(QString(key).replace(QStringLiteral("HKCU\\"), QStringLiteral("HKEY_CURRENT_USER\\")));
    for (auto it = values.begin(); it != values.end(); ++it)
        section += regQuoted(it.key()) + u'=' + regQuoted(it.value()) + QStringLiteral("\r\n");
    return section + QStringLiteral("\r\n");
}

bool importRegistry(const QString& sections)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n") + sections;
    QFile file(onDriveC(QStringLiteral("wobblix-import.reg")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("\xff\xfe");
    file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    file.close();
    return run({QStringLiteral("reg"), QStringLiteral("import"), QStringLiteral(R"(C:\wobblix-import.reg)")})
               .status == 0;
}

bool storeSettings(const QMap<QString, QString>& values)
{
    run({QStringLiteral("reg"), QStringLiteral("delete"), SettingsKey, QStringLiteral("/f")});
    if (values.isEmpty())
        return storedSettings().isEmpty();
    return importRegistry(registrySection(SettingsKey, values));
}

int streamsOf(qint64 pid)
{
    // Blocks of "Sink Input #N" with their properties, `application.process.id = "1234"` among them.
    const QString list =
        runProgram(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")}, 10000)
            .output;
    int count = 0;
    for (const QString& block : list.split(QStringLiteral("Sink Input #"), Qt::SkipEmptyParts))
        if (block.contains(QStringLiteral("application.name = \"Wobblix Clock\"")) &&
            block.contains(QStringLiteral("application.process.id = \"%1\"").arg(pid)))
            ++count;
    return count;
}

QStringList trayIcons()
{
    const QString panel =
        xdotool({QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("^panel$")})
            .section(u'\n', 0, 0);
    if (panel.isEmpty())
        return {};
    // Wine's explorer owns a few unmapped 1x1 windows of the same class: only mapped ones are icons.
    const QStringList explorer = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--class"), QStringLiteral("^explorer\\.exe$")})
                                     .split(u'\n', Qt::SkipEmptyParts);
    const QString tree =
        runProgram(QStringLiteral("xwininfo"), {QStringLiteral("-id"), panel, QStringLiteral("-tree")}, 10000)
            .output;
    QStringList icons;
    static const QRegularExpression id(QStringLiteral(R"(^\s*0x([0-9a-f]+)\s)"),
                                       QRegularExpression::MultilineOption);
    for (auto match = id.globalMatch(tree); match.hasNext();) {
        const QString decimal = QString::number(match.next().captured(1).toULongLong(nullptr, 16));
        if (explorer.contains(decimal))
            icons << decimal;
    }
    return icons;
}

} // namespace wine

const QList<ControlDescription>& windowDescription()
{
    static const QString button = QStringLiteral("Button"), edit = QStringLiteral("Edit"),
                         label = QStringLiteral("Static"), picture = QStringLiteral("picture"),
                         alarm = QStringLiteral("Picture2"), chimes = QStringLiteral("Picture3");
    static const QList<ControlDescription> controls{
        {QStringLiteral("Picture3"), QString(), picture, QString(), QRect(120, 2400, 5415, 1695)},
        {QStringLiteral("cmdChimesPlay"), chimes, button, QStringLiteral("Play"), QRect(4080, 960, 855, 375)},
        {QStringLiteral("cmdChimesBrowse"), chimes, button, QStringLiteral("Browse..."),
         QRect(3120, 960, 855, 375)},
        {QStringLiteral("txtChimesSoundFile"), chimes, edit, QString(), QRect(120, 960, 2895, 285), false},
        {QStringLiteral("chkChimes"), chimes, button, QStringLiteral("On"), QRect(1440, 120, 735, 255)},
        {QStringLiteral("lblChimesSoundFile"), chimes, label, QStringLiteral("Sound File"),
         QRect(120, 720, 1215, 255)},
        {QStringLiteral("lblChimes"), chimes, label, QStringLiteral("Chimes"), QRect(120, 120, 1575, 255)},
        {QStringLiteral("Picture2"), QString(), picture, QString(), QRect(120, 120, 5415, 2175)},
        {QStringLiteral("Picture1"), alarm, picture, QString(), QRect(4440, 120, 255, 255), true, false},
        {QStringLiteral("chkAlarmClock"), alarm, button, QStringLiteral("On"), QRect(1440, 120, 735, 255)},
        {QStringLiteral("txtSound"), alarm, edit, QString(), QRect(120, 960, 2895, 285), false},
        {QStringLiteral("cmdBrowse"), alarm, button, QStringLiteral("Browse..."), QRect(3120, 960, 855, 375)},
        {QStringLiteral("cmdPlay"), alarm, button, QStringLiteral("Play"), QRect(4080, 960, 855, 375)},
        {QStringLiteral("txtHour"), alarm, edit, QString(), QRect(120, 1680, 975, 285)},
        {QStringLiteral("txtMinute"), alarm, edit, QString(), QRect(1440, 1680, 855, 285)},
        {QStringLiteral("lblAlarmClock"), alarm, label, QStringLiteral("Alarm Clock"),
         QRect(120, 120, 1575, 255)},
        {QStringLiteral("lblSoundFile"), alarm, label, QStringLiteral("Sound File"),
         QRect(120, 720, 1215, 255)},
        {QStringLiteral("lblHour"), alarm, label, QStringLiteral("Hour (0 - 23)"),
         QRect(120, 1440, 975, 255)},
        {QStringLiteral("lblMinute"), alarm, label, QStringLiteral("Minute (0 - 59)"),
         QRect(1440, 1440, 1095, 255)},
    };
    return controls;
}

QList<WineControl> controlsOf(const QString& handle)
{
    QList<WineControl> controls;
    for (const QStringList& fields : records(wine::driver({QStringLiteral("controls"), handle}).output))
        if (fields.value(0) == QLatin1String("control"))
            controls.append(controlFrom(fields));
    return controls;
}

int checkState(const QString& handle)
{
    const Ran ran = wine::driver({QStringLiteral("check"), handle});
    return ran.status == 0 ? ran.output.section(u'\t', 1).toInt() : -1;
}

WineDialog findDialog(const QString& title, int waitMs)
{
    WineDialog dialog;
    for (const QStringList& fields :
         records(wine::driver({QStringLiteral("dialog"), title, QString::number(waitMs)}).output)) {
        if (fields.value(0) == QLatin1String("dialog"))
            dialog.handle = fields.value(1);
        else if (fields.value(0) == QLatin1String("text"))
            dialog.texts << fields.value(1);
        else if (fields.value(0) == QLatin1String("button"))
            dialog.buttons.append({fields.value(1).toInt(), fields.value(2)});
    }
    return dialog;
}

WineProgram::WineProgram(CodePage codePage) : m_codePage(codePage) {}

WineProgram::~WineProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool WineProgram::start()
{
    m_process.setProcessEnvironment(wineEnvironment());
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_process.start(QStringLiteral("wine"), {m_codePage == CodePage::Utf8
                                                 ? QStringLiteral(WOBBLIX_WINDOWS_PROGRAM)
                                                 : QStringLiteral(WOBBLIX_WINDOWS_PROGRAM_SYSTEM_CODE_PAGE)});
    if (!m_process.waitForStarted())
        return false;
    // The main window, not a message box of the same title over it.
    return waitUntil(
               [this] {
                   for (const QStringList& fields : records(wine::driver({QStringLiteral("windows")}).output))
                       if (fields.value(5) == QLatin1String("Wobblix Clock") &&
                           fields.value(4) == QLatin1String("visible") &&
                           fields.value(3) != QLatin1String("#32770")) {
                           m_window = fields.value(1);
                           return true;
                       }
                   return m_process.state() == QProcess::NotRunning;
               },
               10000) &&
           !m_window.isEmpty();
}

QMap<QString, QString> WineProgram::windowRecord() const
{
    QMap<QString, QString> values;
    for (const QStringList& fields : records(wine::driver({QStringLiteral("window"), m_window}).output))
        values.insert(fields.value(0), fields.mid(1).join(u' '));
    return values;
}

WineControl WineProgram::control(const QString& name) const
{
    if (m_controls.isEmpty())
        m_controls = controlsOf(m_window);
    const auto& description = windowDescription();
    const auto found = std::find_if(description.begin(), description.end(),
                                    [&](const ControlDescription& d) { return d.name == name; });
    if (found == description.end())
        return {};
    const QString parent = found->container.isEmpty() ? m_window : control(found->container).handle;
    for (const WineControl& candidate : std::as_const(m_controls))
        if (candidate.parent == parent && candidate.place.topLeft() == found->pixels().topLeft())
            return candidate;
    return {};
}

QString WineProgram::text(const QString& name) const
{
    const QList<QStringList> got =
        records(wine::driver({QStringLiteral("text"), control(name).handle}).output);
    return got.isEmpty() ? QStringLiteral("(unreadable)") : got[0].value(1);
}

int WineProgram::check(const QString& name) const
{
    return checkState(control(name).handle);
}

bool WineProgram::setText(const QString& name, const QString& text) const
{
    return wine::driver({QStringLiteral("settext"), control(name).handle, text}).status == 0;
}

QString WineProgram::focus() const
{
    const QList<QStringList> got = records(wine::driver({QStringLiteral("focus"), m_window}).output);
    const QString handle = got.isEmpty() ? QString() : got[0].value(1);
    if (handle == m_window)
        return QStringLiteral("MainForm");
    for (const ControlDescription& d : windowDescription())
        if (control(d.name).handle == handle)
            return d.name;
    return handle;
}

QString WineProgram::activeWindow() const
{
    for (const QStringList& fields : records(wine::driver({QStringLiteral("focus"), m_window}).output))
        if (fields.value(0) == QLatin1String("active"))
            return fields.value(1);
    return QString();
}

quint64 WineProgram::xWindow() const
{
    if (m_xWindow != 0)
        return m_xWindow;
    // Wine's X window of the main window starts at its client area's left edge (no window manager
    // draws a frame); a message box of the same name is elsewhere.
    const int clientX = windowRecord().value(QStringLiteral("client")).section(u' ', 0, 0).toInt();
    const QStringList candidates =
        xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                 QStringLiteral("--pid"), QString::number(pid()), QStringLiteral("--name"),
                 QStringLiteral("^Wobblix Clock$")})
            .split(u'\n', Qt::SkipEmptyParts);
    for (const QString& candidate : candidates) {
        const QString shell =
            xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), candidate});
        if (shell.contains(QStringLiteral("X=%1\n").arg(clientX)))
            m_xWindow = candidate.toULongLong();
    }
    return m_xWindow;
}

void WineProgram::keys(const QStringList& names) const
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(xWindow())});
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} + names);
}

void WineProgram::type(const QString& text) const
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(xWindow())});
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), text});
}

QPoint WineProgram::onScreen(const WineControl& target) const
{
    // The client area's origin on the screen, then each container's place down to the control.
    const QStringList client = windowRecord().value(QStringLiteral("client")).split(u' ');
    QPoint at(client.value(0).toInt(), client.value(1).toInt());
    for (WineControl c = target; !c.handle.isEmpty() && c.handle != m_window;) {
        at += c.place.topLeft();
        const auto parent = std::find_if(m_controls.begin(), m_controls.end(),
                                         [&](const WineControl& other) { return other.handle == c.parent; });
        c = parent == m_controls.end() ? WineControl{} : *parent;
    }
    return at;
}

void WineProgram::click(const QString& name) const
{
    const WineControl target = control(name);
    const QPoint at = onScreen(target) + QPoint(target.place.width() / 2, target.place.height() / 2);
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

void WineProgram::menu(const QStringList& names) const
{
    keys(QStringList{QStringLiteral("Escape"), QStringLiteral("F10")} + names);
}

bool WineProgram::exit()
{
    // Options: Hide, -, Save, -, Exit.
    menu(
        {QStringLiteral("Return"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    return m_process.waitForFinished(5000) && m_process.exitStatus() == QProcess::NormalExit &&
           m_process.exitCode() == 0;
}

bool WineProgram::ends(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

void WineProgram::kill()
{
    m_process.kill();
    m_process.waitForFinished();
}

QByteArray WineProgram::state()
{
    return QStringLiteral("state %1, exit code %2, window %3, standard error: %4")
        .arg(m_process.state())
        .arg(m_process.exitCode())
        .arg(m_window, QString::fromLocal8Bit(m_process.readAllStandardError()))
        .toLocal8Bit();
}

} // namespace wobblix::test

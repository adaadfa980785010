// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WineLook.h"

#include "WineProgram.h"

#include <QFile>
#include <QMap>

namespace wobblix::test::wine {

namespace {

const QString ThemeKey = QStringLiteral(R"(HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager)");
const QString ColoursKey = QStringLiteral(R"(HKCU\Control Panel\Colors)");
const QString HighContrastKey =
    QStringLiteral(R"(HKEY_CURRENT_USER\Control Panel\Accessibility\HighContrast)");
const QString LightStyle = QStringLiteral(R"(C:\windows\resources\themes\light\light.msstyles)");
const QString ContrastStyle = QStringLiteral("wobblix-high-contrast.msstyles");
// The prefix's own colours while HighContrast holds others: put back from here, then deleted.
const QString OwnColours = QStringLiteral("wobblix-colours.reg");

// The colours of Windows' High Contrast Black, as its scheme writes them.
const QMap<QString, QString> DarkScheme{
    {QStringLiteral("Window"), QStringLiteral("0 0 0")},
    {QStringLiteral("WindowText"), QStringLiteral("255 255 255")},
    {QStringLiteral("ButtonFace"), QStringLiteral("0 0 0")},
    {QStringLiteral("ButtonText"), QStringLiteral("255 255 255")},
    {QStringLiteral("GrayText"), QStringLiteral("63 242 63")},
    {QStringLiteral("Hilight"), QStringLiteral("26 235 255")},
    {QStringLiteral("HilightText"), QStringLiteral("0 0 0")},
};

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// The Light style with white captions on check boxes. Its check-box section names no caption colour; one
// of its lines that does nothing there (the sizing margins of an image drawn at its true size) gives way
// to one, padded to the same length, so that the style's text resource keeps its size and the file its
// resource table.
bool writeContrastStyle()
{
    QFile light(onDriveC(QStringLiteral("windows/resources/themes/light/light.msstyles")));
    if (!light.open(QIODevice::ReadOnly))
        return false;
    QByteArray style = light.readAll();
    const qsizetype section = style.indexOf(utf16(QStringLiteral("[Button.Checkbox]")));
    const qsizetype nextSection = style.indexOf(utf16(QStringLiteral("\n[")), section);
    const QByteArray margins = utf16(QStringLiteral("SizingMargins = 0, 0, 0, 0"));
    const QByteArray caption = utf16(QStringLiteral("TextColor = 255 255 255   "));
    const qsizetype line = section < 0 ? -1 : style.indexOf(margins, section);
    if (line < 0 || line > nextSection)
        return false;
    style.replace(line, margins.size(), caption);
    QFile contrast(onDriveC(ContrastStyle));
    return contrast.open(QIODevice::WriteOnly) && contrast.write(style) == style.size();
}

bool writeLook(Look look)
{
    const QString ownColours = onDriveC(OwnColours);
    const QString ownColoursOnC = QStringLiteral("C:\\") + OwnColours;
    if (look == Look::HighContrast) {
        if (!QFile::exists(ownColours) && run({QStringLiteral("reg"), QStringLiteral("export"), ColoursKey,
                                               ownColoursOnC, QStringLiteral("/y")})
                                                  .status != 0)
            return false;
        if (!writeContrastStyle())
            return false;
        return importRegistry(
            registrySection(ThemeKey, {{QStringLiteral("ThemeActive"), QStringLiteral("1")},
                                       {QStringLiteral("DllName"), QStringLiteral("C:\\") + ContrastStyle}}) +
            registrySection(HighContrastKey, {{QStringLiteral("Flags"), QStringLiteral("127")}}) +
            registrySection(ColoursKey, DarkScheme));
    }
    if (!importRegistry(
            registrySection(ThemeKey, {{QStringLiteral("ThemeActive"),
                                        look == Look::Classic ? QStringLiteral("0") : QStringLiteral("1")},
                                       {QStringLiteral("DllName"), LightStyle}}) +
            QStringLiteral("[-%1]\r\n\r\n").arg(HighContrastKey)))
        return false;
    return !QFile::exists(ownColours) ||
           (run({QStringLiteral("reg"), QStringLiteral("import"), ownColoursOnC}).status == 0 &&
            QFile::remove(ownColours));
}

} // namespace

QString nameOf(Look look)
{
    switch (look) {
    case Look::Light:
        return QStringLiteral("Light");
    case Look::Classic:
        return QStringLiteral("classic");
    case Look::HighContrast:
        return QStringLiteral("High Contrast");
    }
    return {};
}

bool setLook(Look look)
{
    if (!writeLook(look)) {
        qWarning("the prefix's registry could not be put in the look %s", qPrintable(nameOf(look)));
        return false;
    }
    stopPrefix();
    return true;
}

} // namespace wobblix::test::wine

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMetaType>
#include <QString>

// How the Wine prefix draws the windows of the programs started in it, set in its registry where Windows
// keeps the same settings: the visual style, the system's colours, High Contrast.
namespace wobblix::test::wine {

enum class Look {
    // The prefix as wineboot makes it: Wine's Light visual style (light.msstyles), as Windows 10 and 11
    // draw every control with a visual style.
    Light,
    // No visual style: the classic controls.
    Classic,
    // As Windows draws in a dark High Contrast theme (Night sky, say), with a visual style since Windows 8:
    // a dark colour scheme, the High Contrast flag, and a copy of the Light style that draws check boxes'
    // captions white, as such a theme does. Wine 8 has no High Contrast of its own: SPI_GETHIGHCONTRAST
    // answers off whatever the registry holds, and its Light style draws a check box's caption black in
    // any colour scheme. So here High Contrast shows only as its theme draws, not as the program is told.
    HighContrast,
};

QString nameOf(Look look);

// Puts the prefix in that look and stops it (stopPrefix), so that the next program started in it draws
// so. Light and Classic keep the prefix's own colours: setting either puts back the colours that
// HighContrast replaced. False, with a warning, when the registry could not be written.
bool setLook(Look look);

} // namespace wobblix::test::wine

Q_DECLARE_METATYPE(wobblix::test::wine::Look)

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The colours the controls are drawn in, and whether a check box on a panel is drawn with the visual
// style: the window description's colours while High Contrast is off, the system's while it is on, and
// never a caption in a colour that does not read on what lies behind it.

#include "platform/controls/win32/Native.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/win32/Windows.h"

#include <uxtheme.h>
#include <vssym32.h>

namespace wobblix::platform::win32 {

namespace {

// The contrast that normal text needs to read, as the Web's accessibility guidelines measure it.
constexpr double ReadableContrast = 4.5;

double luminance(COLORREF colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
           0.0722 * channel(GetBValue(colour));
}

// Whether the visual style draws a check box's caption in a colour that reads on `background`, in each
// state a box on a panel takes: unchecked, checked or grayed; normal, under the mouse or pressed. A style
// that names no colour for the caption draws it in the one the box's container sets, which reads.
bool styleCaptionReadsOn(COLORREF background)
{
    const HTHEME style = OpenThemeData(nullptr, L"BUTTON");
    if (style == nullptr)
        return true; // no visual style: the box is drawn classic, in the container's colours
    constexpr int States[] = {CBS_UNCHECKEDNORMAL, CBS_UNCHECKEDHOT, CBS_UNCHECKEDPRESSED,
                              CBS_CHECKEDNORMAL,   CBS_CHECKEDHOT,   CBS_CHECKEDPRESSED,
                              CBS_MIXEDNORMAL,     CBS_MIXEDHOT,     CBS_MIXEDPRESSED};
    const bool reads = std::all_of(std::begin(States), std::end(States), [&](int state) {
        COLORREF caption = 0;
        return FAILED(GetThemeColor(style, BP_CHECKBOX, state, TMT_TEXTCOLOR, &caption)) ||
               Contrast(caption, background) >= ReadableContrast;
    });
    CloseThemeData(style);
    return reads;
}

} // namespace

double Contrast(COLORREF a, COLORREF b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

COLORREF ReadableOn(COLORREF background, COLORREF from, COLORREF to)
{
    constexpr int Steps = 20;
    for (int step = 0; step < Steps; ++step) {
        const auto mix = [step](int a, int b) { return a + (b - a) * step / Steps; };
        const COLORREF mixed = RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                                   mix(GetBValue(from), GetBValue(to)));
        if (Contrast(mixed, background) >= ReadableContrast)
            return mixed;
    }
    return to;
}

// Asked afresh each time: a control is drawn in the colours of the moment, whatever message it missed.
bool HighContrast()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF BackColourOf(const Control::Native& native)
{
    return HighContrast() ? GetSysColor(COLOR_BTNFACE) : ToColorref(native.backColour);
}

COLORREF ForeColourOf(const Control::Native& native)
{
    if (HighContrast())
        return GetSysColor(COLOR_BTNTEXT);
    return native.foreColour != Control::Native::NoColour ? ToColorref(native.foreColour)
                                                          : GetSysColor(COLOR_WINDOWTEXT);
}

HBRUSH BackgroundOf(HBRUSH own)
{
    return own != nullptr && !HighContrast() ? own : GetSysColorBrush(COLOR_BTNFACE);
}

// A visual style draws a check box's caption in its own colour, whatever its container sets: drawn
// without the style, the box takes the container's. The box's square and tick are then the system's
// classic ones, drawn in the system's colours. The style is taken away by a name that matches no style,
// the blank of SetWindowTheme's documentation (Wine refuses an empty one).
void FitCheckBoxStyle(Control::Native& native)
{
    if (!native.checkBox || native.background == nullptr || native.hwnd == nullptr)
        return;
    const bool styled = !HighContrast() && styleCaptionReadsOn(BackColourOf(native));
    if (styled == native.styled)
        return;
    native.styled = styled;
    if (styled)
        SetWindowTheme(native.hwnd, nullptr, nullptr); // back to the style of its class
    else
        SetWindowTheme(native.hwnd, L" ", L" "); // names no style
}

void RefreshAppearance(const Form& form)
{
    for (Control* control : form.native().controls)
        FitCheckBoxStyle(control->native());
    RedrawWindow(form.native().hwnd, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace wobblix::platform::win32

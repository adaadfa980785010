// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What stands behind the controls on Windows: each control is a child window of the system's own classes
// (BUTTON, EDIT, STATIC; a picture box a class of the program's own), so that screen readers and UI
// automation know them; the form is a top-level window of a class of its own, a timer a window timer of
// the form's window, a menu item an item of the form's menu. The window handle of a control is its HWND.

#include "platform/controls/Control.h"
#include "platform/controls/Form.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/Timer.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

struct Control::Native {
    static constexpr Long NoColour = -1;

    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native();

    HWND hwnd = nullptr; // null once Windows has destroyed it (with its container or the form)
    Control* control = nullptr;
    Form* form = nullptr;
    bool label = false;      // labels lie beneath the other controls
    bool checkBox = false;   // check boxes on a panel may be drawn without the visual style
    bool styled = true;      // a check box: drawn with the visual style (FitCheckBoxStyle)
    bool takesFocus = false; // by its kind; Tab stops at it only while it is also visible and enabled
    // Where it lies in twips inside its container, kept so that it is laid out again in pixels when the
    // window's DPI changes.
    Long left = 0, top = 0, width = 0, height = 0;
    Long backColour = NoColour;
    Long foreColour = NoColour;
    HBRUSH background = nullptr; // of backColour, for its own drawing and its container's WM_CTLCOLOR answer
    std::optional<Font> font;    // its own face; none: the form's body font
    HFONT ownFont = nullptr;     // font at the window's DPI
    // What the control makes of a notification it sends its container (WM_COMMAND's code: BN_CLICKED,
    // EN_CHANGE).
    std::function<void(UINT code)> notify;

    // What screen readers call it, where its caption does not say it (empty: the caption).
    String accessibleName;
    // A text box's: the text Change was last raised for, and its maximum length (0: none).
    String text;
    Long maxLength = 0;
    // A picture box's picture (or the picture resource it is still to be loaded from), and a label's
    // fitting of its caption.
    HICON picture = nullptr;
    String pictureResource;
    bool shrinkToFit = false;
    HFONT fittedFont = nullptr;
};

struct Form::Native {
    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native();

    HWND hwnd = nullptr; // null once destroyed (Unload, the title bar's close)
    HMENU menuBar = nullptr;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    Long clientWidth = 0, clientHeight = 0; // twips, below the menu bar
    HBRUSH background = nullptr;
    HFONT bodyFont = nullptr;
    String iconResource;
    HICON bigIcon = nullptr, smallIcon = nullptr;
    // The control that had the focus when the window last lost it (deactivated or hidden).
    HWND lastFocus = nullptr;
    // Whether the controls' accessible names have been given to the accessibility service, which happens
    // when a screen reader first asks one of the form's windows for its accessible object.
    bool annotated = false;
    std::deque<std::function<void()>> later; // Later()'s tasks, each with one posted message
    std::vector<Control*> controls;          // in the order they were created
    std::map<UINT, MenuItem*> menuItems;     // by command id
    UINT nextMenuId = 1000;
    std::map<UINT_PTR, Timer*> timers; // by timer id
    UINT_PTR nextTimerId = 1;
};

struct Timer::Native {
    HWND window = nullptr; // the form's
    UINT_PTR id = 0;
    Long interval = 0; // milliseconds
    bool enabled = false;
};

struct MenuItem::Native {
    HMENU popup = nullptr; // a menu on the bar: the menu its items open in
    UINT id = 0;           // an item: its command id
};

namespace win32 {

// Control ids are the tab indices from here on; ids 1 and 2 are the dialog keys' own (Enter and Escape
// send them as commands), which no control may answer to.
constexpr int FirstControlId = 100;

// A length in twips as pixels at `dpi`, rounded to the nearest.
inline int Pixels(Long twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The DPI of the screen the window is on; the system's where Windows does not know DPI per monitor.
UINT DpiOf(HWND window);

// The control behind a window of the form, or none for any other window.
Control::Native* NativeOf(const Form& form, HWND window);

// A control's window: a child of its container, or of the form's client area, made in its place and with
// its caption.
std::unique_ptr<Control::Native> CreateControl(Form& form, PictureBox* container, const wchar_t* windowClass,
                                               DWORD style, const Control::Description& description,
                                               DWORD exStyle = 0);
// The description without its caption, for a control that shows none (a text box, a picture box).
inline Control::Description Uncaptioned(Control::Description description)
{
    description.caption.clear();
    return description;
}

// What a container (the form or a picture box) does with its controls' messages: their notifications
// (WM_COMMAND) and the colours they are drawn in (WM_CTLCOLOR...). True when the message was one of them.
bool HandleControlMessage(const Form& form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The font a control is drawn in at `dpi`: its own face, or the body font.
HFONT CreateFace(const Font& font, UINT dpi);
HFONT CreateBodyFont(UINT dpi);
// Takes back the name setAccessibleName gave the window, as it is destroyed.
void ForgetAccessibleName(HWND window);
// A screen reader asks one of the form's windows for its accessible object (WM_GETOBJECT), before the
// window answers: the first time, every control's accessible name is given to the accessibility service.
void AnnotateAccessibleNames(Form& form);

// The contrast of two colours as the Web's accessibility guidelines measure it, from 1 to 21; 4.5 reads.
double Contrast(COLORREF a, COLORREF b);
// The first colour, in twentieths of the way from `from` to `to`, that reads on `background`.
COLORREF ReadableOn(COLORREF background, COLORREF from, COLORREF to);

// Whether the user has High Contrast on (SPI_GETHIGHCONTRAST). Then every colour the program gives is
// mapped to the one pair the user chose for buttons and dialogs, the system's button face and text.
bool HighContrast();
// The colours of a control that the program gave a background, as its container answers WM_CTLCOLOR...:
// its own, or in High Contrast the system's.
COLORREF BackColourOf(const Control::Native& native);
COLORREF ForeColourOf(const Control::Native& native);
// The brush a background the program gave (or none) is painted with: the program's own, or in High
// Contrast (and where it gave none) the system's button face.
HBRUSH BackgroundOf(HBRUSH own);
// Draws a check box on a panel without the visual style where High Contrast is on, or where the style's
// caption colour would not read on the panel, so that the caption takes its container's colours.
void FitCheckBoxStyle(Control::Native& native);
// After the system's colours, High Contrast or visual style changed: each check box fitted again, and the
// whole window drawn again in the colours of the moment.
void RefreshAppearance(const Form& form);

// WS_TABSTOP while the control takes the focus: of a kind that does, visible and enabled.
void UpdateTabStop(Control::Native& native);

// Applies the control's font again, at the form's DPI; a label that shrinks to fit is fitted again.
void ApplyFont(const Form& form, Control::Native& native);
void FitCaption(const Form& form, Control::Native& native);

// An icon of the program's picture resources, by name, at a size in pixels; null when there is none.
HICON LoadPicture(StringView resource, int width, int height);

// The picture box's window class, registered once.
const wchar_t* PictureBoxClass();

} // namespace win32

} // namespace wobblix::platform

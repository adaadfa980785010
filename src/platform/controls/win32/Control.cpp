// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// What every control does on Windows: a child window placed in twips, with its colours, font and place
// in the tab order, and what its container does with its messages.

#include "platform/controls/Control.h"

#include "platform/controls/PictureBox.h"
#include "platform/controls/win32/Native.h"
#include "platform/runtime/Application.h"
#include "platform/runtime/win32/Apartment.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <stdexcept>

#include "platform/runtime/win32/Windows.h"

// The accessibility interfaces' identifiers defined here, where they are used, rather than taken from
// libuuid, whose one object holds every identifier Windows has.
#include <initguid.h>

#include <oleacc.h>

namespace wobblix::platform {

namespace win32 {

namespace {

constexpr UINT_PTR ControlSubclass = 1;

// The style with WS_TABSTOP where the control takes the focus: of a kind that does, visible and enabled.
DWORD withTabStop(DWORD style, bool takesFocus)
{
    const bool stop = takesFocus && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
    return stop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
}

// Annotations of the accessibility interfaces: names of the program's own for controls' windows, which
// screen readers and UI automation read in place of what they would make of a caption or of the label
// before a text box. The service is made when a screen reader first asks for a window's accessible object,
// not at start: it is COM's, and brings the accessibility libraries with it. None where it cannot be had
// (no COM): the names are then the captions.
IAccPropServices* services = nullptr; // once made
bool servicesAsked = false;

IAccPropServices* accessibility()
{
    if (!servicesAsked) {
        servicesAsked = true;
        if (FAILED(CreateInstance(CLSID_AccPropServices, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&services))))
            services = nullptr;
    }
    return services;
}

void annotate(IAccPropServices& services, const Control::Native& native)
{
    if (!native.accessibleName.empty() && native.hwnd != nullptr)
        services.SetHwndPropStr(native.hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                Wide(native.accessibleName));
}

// Every control of the system's classes: Windows forgets the window here, and no error leaves it.
LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR reference)
{
    try {
        auto* native = reinterpret_cast<Control::Native*>(reference);
        if (message == WM_GETOBJECT)
            AnnotateAccessibleNames(*native->form);
        if (message == WM_NCDESTROY) {
            ForgetAccessibleName(window);
            RemoveWindowSubclass(window, controlProcedure, ControlSubclass);
            native->hwnd = nullptr;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
}

} // namespace

void ForgetAccessibleName(HWND window)
{
    if (services != nullptr)
        services->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
}

void AnnotateAccessibleNames(Form& form)
{
    Form::Native& native = form.native();
    if (native.annotated)
        return;
    native.annotated = true;
    if (IAccPropServices* made = accessibility())
        for (const Control* control : native.controls)
            annotate(*made, control->native());
}

UINT DpiOf(HWND window)
{
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = SystemFunction<GetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr)
        if (const UINT dpi = forWindow(window); dpi != 0)
            return dpi;
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// Found in the form's own list rather than by a property of the window, which under Wine lives in its
// server, a round trip for every lookup (and the container looks a control up each time it is drawn).
Control::Native* NativeOf(const Form& form, HWND window)
{
    if (window == nullptr)
        return nullptr;
    const auto& controls = form.native().controls;
    const auto found = std::find_if(controls.begin(), controls.end(), [window](const Control* control) {
        return control->native().hwnd == window;
    });
    return found != controls.end() ? &(*found)->native() : nullptr;
}

// The id is the tab index: what UI automation and the tests find a control by. None without one.
std::unique_ptr<Control::Native> CreateControl(Form& form, PictureBox* container, const wchar_t* windowClass,
                                               DWORD style, const Control::Description& description,
                                               DWORD exStyle)
{
    auto native = std::make_unique<Control::Native>();
    native->form = &form;
    native->left = description.left;
    native->top = description.top;
    native->width = description.width;
    native->height = description.height;
    const HWND parent = container != nullptr ? ToHwnd(container->hWnd()) : ToHwnd(form.hWnd());
    const UINT dpi = form.native().dpi;
    const auto id = description.tabIndex != Control::NoTabIndex ? FirstControlId + description.tabIndex : 0;
    native->takesFocus = (style & WS_TABSTOP) != 0; // of its kind
    style = withTabStop((style & ~WS_VISIBLE) | (description.visible ? WS_VISIBLE : 0) |
                            (description.enabled ? 0 : WS_DISABLED),
                        native->takesFocus);
    native->hwnd = CreateWindowExW(
        exStyle, windowClass, Wide(description.caption), WS_CHILD | WS_CLIPSIBLINGS | style,
        Pixels(native->left, dpi), Pixels(native->top, dpi), Pixels(native->width, dpi),
        Pixels(native->height, dpi), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), native.get());
    if (native->hwnd == nullptr)
        throw std::runtime_error("A control's window could not be created.");
    // The picture box's own window procedure is its own; the system's classes are subclassed.
    if (std::wcscmp(windowClass, PictureBoxClass()) != 0)
        SetWindowSubclass(native->hwnd, controlProcedure, ControlSubclass,
                          reinterpret_cast<DWORD_PTR>(native.get()));
    return native;
}

bool HandleControlMessage(const Form& form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND: {
        Control::Native* native = NativeOf(form, reinterpret_cast<HWND>(lParam));
        if (native == nullptr)
            return false;
        if (native->notify)
            native->notify(HIWORD(wParam));
        result = 0;
        return true;
    }
    // Labels and check boxes ask with WM_CTLCOLORSTATIC, as do disabled text boxes; push buttons with
    // WM_CTLCOLORBTN. Those given a background are drawn in it, their captions in their ForeColor (in
    // High Contrast both in the system's colours); the others keep the system's colours.
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
        const Control::Native* native = NativeOf(form, reinterpret_cast<HWND>(lParam));
        if (native == nullptr || native->background == nullptr)
            return false;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, BackColourOf(*native));
        SetTextColor(dc, ForeColourOf(*native));
        result = reinterpret_cast<LRESULT>(BackgroundOf(native->background));
        return true;
    }
    default:
        return false;
    }
}

HFONT CreateFace(const Font& font, UINT dpi)
{
    LOGFONTW face{};
    face.lfHeight = -static_cast<LONG>(std::lround(font.size * static_cast<double>(dpi) / 72.0));
    face.lfWeight = font.weight;
    face.lfItalic = font.italic ? TRUE : FALSE;
    face.lfCharSet = ANSI_CHARSET;
    face.lfQuality = DEFAULT_QUALITY;
    const std::size_t length = std::min<std::size_t>(font.name.size(), LF_FACESIZE - 1);
    std::copy_n(font.name.begin(), length, face.lfFaceName);
    return CreateFontIndirectW(&face);
}

// The body text: the desktop's message font at the small size the layout was drawn for.
HFONT CreateBodyFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTW face = metrics.lfMessageFont;
        face.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
        face.lfWidth = 0;
        if (const HFONT font = CreateFontIndirectW(&face))
            return font;
    }
    return CreateFace(Font{u"MS Sans Serif", 8, 400}, dpi);
}

void UpdateTabStop(Control::Native& native)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(native.hwnd, GWL_STYLE));
    SetWindowLongW(native.hwnd, GWL_STYLE, static_cast<LONG>(withTabStop(style, native.takesFocus)));
}

void ApplyFont(const Form& form, Control::Native& native)
{
    if (native.ownFont != nullptr)
        DeleteObject(native.ownFont);
    native.ownFont = native.font ? CreateFace(*native.font, form.native().dpi) : nullptr;
    const HFONT font = native.ownFont != nullptr ? native.ownFont : form.native().bodyFont;
    SendMessageW(native.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(native.hwnd));
    if (native.shrinkToFit)
        FitCaption(form, native);
}

} // namespace win32

Control::Native::~Native()
{
    if (hwnd != nullptr)
        DestroyWindow(hwnd);
    if (background != nullptr)
        DeleteObject(background);
    if (ownFont != nullptr)
        DeleteObject(ownFont);
    if (fittedFont != nullptr)
        DeleteObject(fittedFont);
    if (picture != nullptr)
        DestroyIcon(picture);
}

Control::Control(Form& form, PictureBox* container, String name, const Description& description,
                 std::unique_ptr<Native> native)
    : Object(form, std::move(name)), m_container(container), m_tabIndex(description.tabIndex),
      m_native(std::move(native))
{
    m_native->control = this;
    form.native().controls.push_back(this);
    win32::ApplyFont(form, *m_native);
}

Control::~Control()
{
    auto& controls = form().native().controls;
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
}

WindowHandle Control::hWnd() const
{
    return win32::ToHandle(m_native->hwnd);
}

// Inside a picture box the position starts from the inside of its border, where its client area starts.
void Control::Move(Long left, Long top, Long width, Long height)
{
    Native& native = *m_native;
    native.left = left;
    native.top = top;
    native.width = width;
    native.height = height;
    const UINT dpi = form().native().dpi;
    SetWindowPos(native.hwnd, nullptr, win32::Pixels(left, dpi), win32::Pixels(top, dpi),
                 win32::Pixels(width, dpi), win32::Pixels(height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    if (native.shrinkToFit)
        win32::FitCaption(form(), native);
}

// The control's own setting, whether or not its container is shown.
bool Control::Visible() const
{
    return (GetWindowLongW(m_native->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::setVisible(bool visible)
{
    ShowWindow(m_native->hwnd, visible ? SW_SHOWNA : SW_HIDE);
    win32::UpdateTabStop(*m_native);
}

bool Control::Enabled() const
{
    return IsWindowEnabled(m_native->hwnd) != FALSE;
}

void Control::setEnabled(bool enabled)
{
    EnableWindow(m_native->hwnd, enabled ? TRUE : FALSE);
    win32::UpdateTabStop(*m_native);
}

void Control::setBackColor(Long colour)
{
    Native& native = *m_native;
    if (native.background != nullptr)
        DeleteObject(native.background);
    native.backColour = colour;
    native.background = CreateSolidBrush(win32::ToColorref(colour));
    win32::FitCheckBoxStyle(native);
    InvalidateRect(native.hwnd, nullptr, TRUE);
}

void Control::setForeColor(Long colour)
{
    m_native->foreColour = colour;
    InvalidateRect(m_native->hwnd, nullptr, TRUE);
}

void Control::setFont(const Font& font)
{
    m_native->font = font;
    win32::ApplyFont(form(), *m_native);
}

// Kept until a screen reader asks; given at once where one has asked already.
void Control::setAccessibleName(const String& name)
{
    m_native->accessibleName = name;
    if (form().native().annotated && win32::services != nullptr)
        win32::annotate(*win32::services, *m_native);
}

} // namespace wobblix::platform

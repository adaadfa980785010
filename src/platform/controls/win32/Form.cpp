// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The form on Windows: its top-level window, its keyboard interface, and the form's own operations.

#include "platform/controls/Form.h"

#include "platform/controls/Focus.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/Timer.h"
#include "platform/controls/win32/Native.h"
#include "platform/runtime/Application.h"
#include "platform/runtime/win32/MessageLoop.h"
#include "platform/runtime/win32/StartupTrace.h"

#include <algorithm>
#include <stdexcept>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

constexpr wchar_t FormClass[] = L"WobblixForm";
// Fixed size, a title bar with the system menu's close, no Minimize or Maximize button.
constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD FormExStyle = 0;
// Later()'s tasks: one posted message each.
constexpr UINT WM_LATER = WM_APP + 1;
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

Form* formOf(HWND window)
{
    return reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool takesFocus(const Control& control)
{
    const HWND window = win32::ToHwnd(control.hWnd());
    return window != nullptr && control.native().takesFocus && IsWindowVisible(window) &&
           IsWindowEnabled(window);
}

// The controls Tab visits, from the lowest tab index up.
std::vector<Control*> tabOrder(const Form::Native& native)
{
    std::vector<Control*> order;
    for (Control* control : native.controls)
        if (control->TabIndex() != Control::NoTabIndex)
            order.push_back(control);
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
    return order;
}

HWND firstInTabOrder(const Form::Native& native)
{
    for (const Control* control : tabOrder(native))
        if (takesFocus(*control))
            return win32::ToHwnd(control->hWnd());
    return nullptr;
}

// The focus to the control `step` places on in the tab order from the one that has it, round the end.
// The form walks its own order rather than the dialog manager's: that one goes into a panel's controls by
// the panel's place, so it could not visit the panels themselves after the controls inside them.
void moveFocus(const Form::Native& native, int step)
{
    const std::vector<Control*> order = tabOrder(native);
    if (order.empty())
        return;
    const HWND focus = GetFocus();
    const auto count = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (win32::ToHwnd(order[static_cast<std::size_t>(i)]->hWnd()) == focus)
            at = i;
    if (at < 0)
        at = step > 0 ? count - 1 : 0;
    for (int tried = 1; tried <= count; ++tried) {
        const Control& next = *order[static_cast<std::size_t>(((at + step * tried) % count + count) % count)];
        if (!takesFocus(next))
            continue;
        const HWND window = win32::ToHwnd(next.hWnd());
        // Reached by the keyboard: the focus is shown from now on, and a text box's text is selected.
        SendMessageW(native.hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        ::SetFocus(window);
        if ((SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
            SendMessageW(window, EM_SETSEL, 0, -1);
        return;
    }
}

// The window's keyboard interface: Tab and Shift+Tab through the tab order, and the rest of the dialog
// keys as the dialog manager has them (Enter and Escape press nothing, for no control has their ids).
bool keyboard(const Form::Native& native, MSG& message)
{
    if (native.hwnd == nullptr || (message.hwnd != native.hwnd && !IsChild(native.hwnd, message.hwnd)))
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        moveFocus(native, GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    return IsDialogMessageW(native.hwnd, &message) != FALSE;
}

// Of `positions`, the longest run that already rises, marked element by element.
std::vector<bool> longestRisingRun(const std::vector<int>& positions)
{
    const std::size_t count = positions.size();
    std::vector<std::size_t> length(count, 1), before(count, count);
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (positions[j] < positions[i] && length[j] + 1 > length[i]) {
                length[i] = length[j] + 1;
                before[i] = j;
            }
    std::vector<bool> kept(count, false);
    for (auto at = static_cast<std::size_t>(std::max_element(length.begin(), length.end()) - length.begin());
         at < count; at = before[at])
        kept[at] = true;
    return kept;
}

// Labels beneath everything, the other controls above them in the order of their tab indices: the order
// screen readers read them in, and the one that decides what covers what where they meet. Only the
// controls out of that order move, for each move is a round of messages (and under Wine a round trip to
// its server): in each container the longest run already in order stays, and every other control goes
// right below the one before it. A control without a tab index keeps its place.
void arrangeZOrder(const Form::Native& native)
{
    std::vector<Control*> order = tabOrder(native);
    std::stable_partition(order.begin(), order.end(), [](const Control* c) { return !c->native().label; });
    // Container by container, in the order of their first control.
    while (!order.empty()) {
        const PictureBox* container = order.front()->Container();
        const auto others = std::stable_partition(order.begin(), order.end(), [container](const Control* c) {
            return c->Container() == container;
        });
        const std::vector<Control*> inside(order.begin(), others);
        order.erase(order.begin(), others);
        // The container's windows, top first: GetWindow walks the z-order.
        std::vector<HWND> windows;
        const HWND parent = GetParent(win32::ToHwnd(inside.front()->hWnd()));
        for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
            windows.push_back(child);
        std::vector<int> places;
        for (const Control* control : inside)
            places.push_back(static_cast<int>(
                std::find(windows.begin(), windows.end(), win32::ToHwnd(control->hWnd())) - windows.begin()));
        const std::vector<bool> kept = longestRisingRun(places);
        for (std::size_t i = 0; i < inside.size(); ++i)
            if (!kept[i])
                SetWindowPos(win32::ToHwnd(inside[i]->hWnd()),
                             i == 0 ? HWND_TOP : win32::ToHwnd(inside[i - 1]->hWnd()), 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

BOOL adjustWindowRect(RECT& rect, UINT dpi)
{
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = win32::SystemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    return forDpi != nullptr ? forDpi(&rect, FormStyle, TRUE, FormExStyle, dpi)
                             : AdjustWindowRectEx(&rect, FormStyle, TRUE, FormExStyle);
}

// The window's frame around the client area's size at the window's DPI, with the menu bar.
SIZE frameSize(const Form::Native& native)
{
    RECT rect{0, 0, win32::Pixels(native.clientWidth, native.dpi),
              win32::Pixels(native.clientHeight, native.dpi)};
    adjustWindowRect(rect, native.dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// A menu bar that wraps takes more than the one line the frame was sized for: grow by what is missing.
void fitClientArea(const Form::Native& native)
{
    RECT client{}, frame{};
    GetClientRect(native.hwnd, &client);
    GetWindowRect(native.hwnd, &frame);
    const int missing = win32::Pixels(native.clientHeight, native.dpi) - (client.bottom - client.top);
    if (missing != 0)
        SetWindowPos(native.hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + missing,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void loadIcons(Form::Native& native)
{
    if (native.iconResource.empty() || native.hwnd == nullptr)
        return;
    const HICON big =
        win32::LoadPicture(native.iconResource, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    const HICON small =
        win32::LoadPicture(native.iconResource, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    SendMessageW(native.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(native.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (native.bigIcon != nullptr)
        DestroyIcon(native.bigIcon);
    if (native.smallIcon != nullptr)
        DestroyIcon(native.smallIcon);
    native.bigIcon = big;
    native.smallIcon = small;
}

// The window moved to a screen of another DPI: fonts and controls again in pixels of that DPI, and the
// window to the place Windows suggests, sized anew around the client area.
void changeDpi(Form& form, UINT dpi, const RECT& suggested)
{
    Form::Native& native = form.native();
    native.dpi = dpi;
    const HFONT old = native.bodyFont;
    native.bodyFont = win32::CreateBodyFont(dpi);
    for (Control* control : native.controls) {
        Control::Native& child = control->native();
        win32::ApplyFont(form, child);
        control->Move(child.left, child.top, child.width, child.height);
    }
    if (old != nullptr)
        DeleteObject(old);
    const SIZE size = frameSize(native);
    SetWindowPos(native.hwnd, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    fitClientArea(native);
}

LRESULT handle(Form& form, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Form::Native& native = form.native();
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        // A menu's command: no window, code 0.
        if (lParam == 0 && HIWORD(wParam) == 0) {
            if (const auto item = native.menuItems.find(LOWORD(wParam)); item != native.menuItems.end())
                item->second->Click.Raise();
            return 0;
        }
        break;
    case WM_TIMER:
        if (const auto timer = native.timers.find(wParam); timer != native.timers.end()) {
            timer->second->Tick.Raise();
            return 0;
        }
        break;
    case WM_LATER:
        if (!native.later.empty()) {
            const std::function<void()> task = std::move(native.later.front());
            native.later.pop_front();
            task();
        }
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, win32::BackgroundOf(native.background));
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            if (const HWND focus = GetFocus(); focus != nullptr && IsChild(window, focus))
                native.lastFocus = focus;
        break;
    // Given the focus (shown, activated, SetFocus on the window), the form gives it on to its control.
    case WM_SETFOCUS: {
        HWND control = native.lastFocus;
        if (control == nullptr || !IsChild(window, control) || !IsWindowVisible(control) ||
            !IsWindowEnabled(control))
            control = firstInTabOrder(native);
        if (control != nullptr)
            ::SetFocus(control);
        return 0;
    }
    case WM_GETOBJECT:
        win32::AnnotateAccessibleNames(form);
        break;
    // The user changed the system's colours, High Contrast or the visual style: the window follows.
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST)
            win32::RefreshAppearance(form);
        break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        win32::RefreshAppearance(form);
        break;
    case WM_DPICHANGED:
        changeDpi(form, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        form.Unload();
        return 0;
    // The Restart Manager, for an installer that replaces the program file, asks the program to close
    // itself, as the title bar's close does; a session that merely ends ends the process without it.
    case WM_ENDSESSION:
        if (wParam != FALSE && (lParam & ENDSESSION_CLOSEAPP) != 0)
            form.Unload();
        return 0;
    case WM_DESTROY:
        win32::SetKeyboardInterface({});
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        native.hwnd = nullptr;
        native.menuBar = nullptr; // destroyed with the window
        break;
    default:
        if (win32::HandleControlMessage(form, message, wParam, lParam, result))
            return result;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE) {
            auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
            form->native().hwnd = window;
        }
        if (Form* form = formOf(window))
            return handle(*form, window, message, wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
}

void registerClass()
{
    static const bool registered = [] {
        // The system's classes as Common Controls 6 has them (the manifest asks for it).
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = formProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = FormClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered)
        throw std::runtime_error("The window class could not be registered.");
}

} // namespace

Form::Native::~Native()
{
    if (hwnd != nullptr)
        DestroyWindow(hwnd);
    if (menuBar != nullptr)
        DestroyMenu(menuBar);
    if (background != nullptr)
        DeleteObject(background);
    if (bodyFont != nullptr)
        DeleteObject(bodyFont);
    if (bigIcon != nullptr)
        DestroyIcon(bigIcon);
    if (smallIcon != nullptr)
        DestroyIcon(smallIcon);
}

// The window exists from here on, hidden, so that controls can be made on it; startUp() shows it.
Form::Form(String name) : m_name(std::move(name)), m_native(std::make_unique<Native>())
{
    registerClass();
    m_native->menuBar = CreateMenu();
    m_native->dpi = win32::DpiOf(nullptr);
    m_native->bodyFont = win32::CreateBodyFont(m_native->dpi);
    if (CreateWindowExW(FormExStyle, FormClass, win32::Wide(m_name), FormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, m_native->menuBar, GetModuleHandleW(nullptr),
                        this) == nullptr)
        throw std::runtime_error("The window could not be created.");
    m_native->dpi = win32::DpiOf(m_native->hwnd);
    if (m_native->dpi != win32::DpiOf(nullptr)) {
        DeleteObject(m_native->bodyFont);
        m_native->bodyFont = win32::CreateBodyFont(m_native->dpi);
    }
    win32::SetKeyboardInterface(
        [native = m_native.get()](MSG& message) { return keyboard(*native, message); });
    win32::StartupStep("window-created");
}

// The window goes first, with everything on it; then the objects, whose windows are gone.
Form::~Form()
{
    win32::SetKeyboardInterface({});
    if (m_native->hwnd != nullptr)
        DestroyWindow(m_native->hwnd);
    m_objects.clear();
}

WindowHandle Form::hWnd() const
{
    return win32::ToHandle(m_native->hwnd);
}

void Form::startUp()
{
    win32::StartupStep("controls-made");
    Load();
    win32::StartupStep("settings-loaded");
    Native& native = *m_native;
    if (native.hwnd == nullptr)
        return; // unloaded during Load
    arrangeZOrder(native);
    const SIZE size = frameSize(native);
    RECT work{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(native.hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor))
        work = monitor.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Placed with its frame worked out again, now that the menu bar has its items: what DrawMenuBar does,
    // in the same move.
    SetWindowPos(native.hwnd, nullptr, work.left + (work.right - work.left - size.cx) / 2,
                 work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    fitClientArea(native);
    ShowWindow(native.hwnd, SW_SHOW);
    UpdateWindow(native.hwnd);
    SetFocus(hWnd());
}

void Form::Unload()
{
    if (m_native->hwnd != nullptr)
        DestroyWindow(m_native->hwnd);
}

bool Form::Visible() const
{
    return m_native->hwnd != nullptr && IsWindowVisible(m_native->hwnd);
}

// Hidden, the window keeps the control that had the focus; shown again and activated, it gives the
// focus back to it (WM_SETFOCUS). Shown, it is also restored where it was minimised: the window has no
// Minimize button, but Windows+M and a shortcut's "Run: Minimized" minimise it all the same, and a window
// shown minimised is not seen.
void Form::setVisible(bool visible)
{
    Native& native = *m_native;
    if (native.hwnd == nullptr)
        return;
    if (!visible && IsWindowVisible(native.hwnd))
        if (const HWND focus = GetFocus(); focus != nullptr && IsChild(native.hwnd, focus))
            native.lastFocus = focus;
    ShowWindow(native.hwnd, !visible ? SW_HIDE : IsIconic(native.hwnd) ? SW_RESTORE : SW_SHOW);
}

void Form::setCaption(const String& caption)
{
    SetWindowTextW(m_native->hwnd, win32::Wide(caption));
}

void Form::setIcon(StringView resource)
{
    m_native->iconResource = String(resource);
    loadIcons(*m_native);
}

void Form::setClientSize(Long width, Long height)
{
    m_native->clientWidth = width;
    m_native->clientHeight = height;
}

void Form::setBackColor(Long colour)
{
    if (m_native->background != nullptr)
        DeleteObject(m_native->background);
    m_native->background = CreateSolidBrush(win32::ToColorref(colour));
    InvalidateRect(m_native->hwnd, nullptr, TRUE);
}

void Form::Later(std::function<void()> task)
{
    if (m_native->hwnd == nullptr)
        return;
    m_native->later.push_back(std::move(task));
    PostMessageW(m_native->hwnd, WM_LATER, 0, 0);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows start-up yardstick: an empty window with a menu bar of two menus, shown centred, built as the
// clock is (32-bit, static). What the clock costs to start beyond this is its own.
//
// Built with WOBBLIX_BENCH_CONTROLS (and the clock's manifest), the second yardstick: the same window with
// the clock's controls on it and nothing else, each made as cheaply as Windows makes a control (one
// CreateWindowEx in its place, with its caption, in the system's classes as Common Controls 6 has them).
// What that costs beyond the empty window is the controls'.

#include <windows.h>

#ifdef WOBBLIX_BENCH_CONTROLS
#include <commctrl.h>
#endif

namespace {

#ifdef WOBBLIX_BENCH_CONTROLS
// The clock's 19 windowed controls at 96 dpi, in pixels inside their panel (or the client area), in the
// order the clock makes them. The panels are static controls with the sunken edge the clock's have.
struct Row {
    const wchar_t* windowClass;
    const wchar_t* caption;
    DWORD style;
    int panel; // -1: the client area; 0, 1: the lower and the upper panel
    int left, top, width, height;
};
constexpr DWORD Tab = WS_TABSTOP | WS_GROUP;
constexpr Row Rows[] = {
    {L"Static", L"", 0, -1, 8, 160, 361, 113},
    {L"Button", L"Play", Tab | BS_PUSHBUTTON, 0, 272, 64, 57, 25},
    {L"Button", L"Browse...", Tab | BS_PUSHBUTTON, 0, 208, 64, 57, 25},
    {L"Edit", L"", WS_DISABLED | ES_AUTOHSCROLL, 0, 8, 64, 193, 19},
    {L"Button", L"On", Tab | BS_3STATE, 0, 96, 8, 49, 17},
    {L"Static", L"Sound File", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 8, 48, 81, 17},
    {L"Static", L"Chimes", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 8, 8, 105, 17},
    {L"Static", L"", 0, -1, 8, 8, 361, 145},
    {L"Static", L"", 0, 1, 296, 8, 17, 17},
    {L"Button", L"On", Tab | BS_3STATE, 1, 96, 8, 49, 17},
    {L"Edit", L"", WS_DISABLED | ES_AUTOHSCROLL, 1, 8, 64, 193, 19},
    {L"Button", L"Browse...", Tab | BS_PUSHBUTTON, 1, 208, 64, 57, 25},
    {L"Button", L"Play", Tab | BS_PUSHBUTTON, 1, 272, 64, 57, 25},
    {L"Edit", L"", Tab | ES_AUTOHSCROLL, 1, 8, 112, 65, 19},
    {L"Edit", L"", Tab | ES_AUTOHSCROLL, 1, 96, 112, 57, 19},
    {L"Static", L"Alarm Clock", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 1, 8, 8, 105, 17},
    {L"Static", L"Sound File", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 1, 8, 48, 81, 17},
    {L"Static", L"Hour (0 - 23)", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 1, 8, 96, 65, 17},
    {L"Static", L"Minute (0 - 59)", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 1, 96, 96, 73, 17},
};

void makeControls(HWND window, HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HWND panels[2] = {};
    int id = 100;
    for (const Row& row : Rows) {
        const HWND parent = row.panel < 0 ? window : panels[row.panel];
        const bool panel = row.panel < 0;
        const HWND made = CreateWindowExW(
            panel || row.windowClass[0] == L'E' ? WS_EX_CLIENTEDGE : 0, row.windowClass, row.caption,
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | row.style, row.left, row.top, row.width, row.height,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        if (panel)
            panels[panels[0] == nullptr ? 0 : 1] = made;
    }
}
#endif

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "WobblixBenchEmpty";
    RegisterClassA(&windowClass);

    HMENU options = CreatePopupMenu();
    AppendMenuA(options, MF_STRING, 1, "&Hide");
    AppendMenuA(options, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(options, MF_STRING, 2, "E&xit");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, 3, "&About..");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), "&Options");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");

    // The clock's client area, 377 x 280 pixels at 96 dpi, in the same fixed frame.
    constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 377, 280};
    AdjustWindowRect(&frame, Style, TRUE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HWND window = CreateWindowA(
        windowClass.lpszClassName, "Empty", Style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
        (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, bar, instance, nullptr);
#ifdef WOBBLIX_BENCH_CONTROLS
    makeControls(window, instance);
#endif
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

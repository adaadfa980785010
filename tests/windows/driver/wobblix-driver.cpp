// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// wobblix-driver: reads and drives another program's windows from outside, as UI automation does, for
// the tests that run the Windows program under Wine. Everything goes through window messages that work
// across processes (WM_GETTEXT, WM_SETTEXT, WM_CHAR, BM_CLICK, BM_GETCHECK) and the thread's GUI state
// (GetGUIThreadInfo); what a window shows is read from the screen's pixels. Menus cannot be read from
// another process under Wine; tests drive them by keyboard.
//
// Output: one record a line, fields separated by tabs, the record's kind first. Texts are UTF-8 with
// backslash, tab, carriage return and line feed written as \\, \t, \r and \n. Window handles are
// written as 0x followed by eight hex digits and accepted in any base strtoul reads.
// Exit status: 0 done, 1 not found or timed out, 2 wrong usage.

#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// How long a sent message may take in the other process before the driver gives up on it, in ms.
constexpr UINT kSendTimeoutMs = 5000;
// How often a window is looked for again while waiting for it, in ms.
constexpr DWORD kPollMs = 50;

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string escaped(const std::wstring& text)
{
    std::string out;
    for (char c : utf8(text)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Prints one record: the fields joined by tabs.
void record(const std::vector<std::string>& fields)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += '\t';
        line += fields[i];
    }
    line += '\n';
    fwrite(line.data(), 1, line.size(), stdout);
}

std::string hex(unsigned long value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%08lx", value);
    return text;
}

std::string handle(HWND window)
{
    return hex(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

std::string number(long long value)
{
    return std::to_string(value);
}

HWND parseHandle(const wchar_t* text)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoul(text, nullptr, 0)));
}

// A control's text through WM_GETTEXT, which the other process answers; empty if it does not answer.
std::wstring windowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return {};
    text.resize(copied);
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The rectangle of a child in its parent's client coordinates, or of a top-level window on the screen.
RECT placeInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<std::string> describe(const char* kind, HWND window)
{
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const RECT rect = placeInParent(window);
    HWND parent = GetAncestor(window, GA_PARENT);
    const bool topLevel = !parent || parent == GetDesktopWindow();
    // A top-level window has no control id (GetDlgCtrlID gives its menu's handle): 0 and no parent.
    return {kind,
            handle(window),
            handle(topLevel ? nullptr : parent),
            number(topLevel ? 0 : GetDlgCtrlID(window)),
            escaped(className(window)),
            (style & WS_VISIBLE) ? "visible" : "hidden",
            IsWindowEnabled(window) ? "enabled" : "disabled",
            (style & WS_TABSTOP) ? "tabstop" : "notabstop",
            number(rect.left),
            number(rect.top),
            number(rect.right - rect.left),
            number(rect.bottom - rect.top),
            escaped(windowText(window))};
}

struct Search {
    std::wstring title;
    std::wstring cls; // empty: any class
    HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    if (windowText(window) != search->title)
        return TRUE;
    if (!search->cls.empty() && className(window) != search->cls)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Callbacks are stdcall in the 32-bit program, which no lambda converts to.
BOOL CALLBACK addTopLevel(HWND window, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The first top-level window with exactly this title (and class), polled for up to waitMs.
HWND findTopLevel(const std::wstring& title, const std::wstring& cls, DWORD waitMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Search search{title, cls};
        EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start >= waitMs)
            return search.found;
        Sleep(kPollMs);
    }
}

// Every descendant, depth first in creation order, each after its parent.
void collect(HWND parent, std::vector<HWND>& out)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        out.push_back(child);
        collect(child, out);
    }
}

std::wstring withoutMnemonic(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'&')
            out += c;
    return out;
}

std::string rgb(COLORREF colour)
{
    return number(GetRValue(colour)) + ' ' + number(GetGValue(colour)) + ' ' + number(GetBValue(colour));
}

// What the client area of a window shows on the screen, pixel by pixel, row after row: copied from the
// screen's DC, so whatever drew it (the control, its theme, its container) and whatever covers it.
struct ScreenPixels {
    int width = 0, height = 0;
    std::vector<COLORREF> colours;
    COLORREF at(int x, int y) const { return colours[static_cast<size_t>(y * width + x)]; }
};

ScreenPixels screenPixels(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    ScreenPixels pixels;
    pixels.width = client.right;
    pixels.height = client.bottom;
    if (pixels.width <= 0 || pixels.height <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* row = static_cast<const DWORD*>(bits);
    for (int i = 0; i < pixels.width * pixels.height; ++i)
        pixels.colours.push_back(RGB((row[i] >> 16) & 0xff, (row[i] >> 8) & 0xff, row[i] & 0xff));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool isCheckBox(HWND window)
{
    switch (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return _wcsicmp(className(window).c_str(), L"Button") == 0;
    default:
        return false;
    }
}

// The colours a control's caption shows: the background, the commonest colour of its client area, and
// every other colour of the caption's pixels with their number (the strokes, and their smoothed edges
// between the two). A check box's box is left out: the columns up to the first that shows nothing but
// background after it.
void reportCaptionColours(HWND window)
{
    const ScreenPixels pixels = screenPixels(window);
    std::map<COLORREF, int> counts;
    for (COLORREF colour : pixels.colours)
        ++counts[colour];
    COLORREF background = 0;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most)
            background = colour, most = count;
    const auto inkIn = [&](int x) {
        for (int y = 0; y < pixels.height; ++y)
            if (pixels.at(x, y) != background)
                return true;
        return false;
    };
    int left = 0;
    if (isCheckBox(window)) {
        while (left < pixels.width && !inkIn(left))
            ++left;
        while (left < pixels.width && inkIn(left))
            ++left;
    }
    std::map<COLORREF, int> ink;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = left; x < pixels.width; ++x)
            if (pixels.at(x, y) != background)
                ++ink[pixels.at(x, y)];
    record({"background", rgb(background)});
    for (const auto& [colour, count] : ink)
        record({"ink", rgb(colour), number(count)});
}

int usage()
{
    fputs("usage: wobblix-driver COMMAND ARGS...\n"
          "  windows                      top-level windows: window HWND PID CLASS VISIBLE TITLE\n"
          "  find TITLE [WAITMS [CLASS]]  the first top-level window with that exact title: window ...\n"
          "  controls HWND                every descendant: control HWND PARENT ID CLASS VISIBLE ENABLED\n"
          "                               TABSTOP LEFT TOP WIDTH HEIGHT TEXT (in the parent's client\n"
          "                               area, pixels)\n"
          "  window HWND                  class, title, style, place and client size of a window\n"
          "  focus HWND                   the focus and active window of HWND's thread: focus HWND ...\n"
          "  text HWND                    text TEXT\n"
          "  check HWND                   check 0|1|2: a check box's state (BM_GETCHECK)\n"
          "  settext HWND TEXT            WM_SETTEXT\n"
          "  type HWND TEXT               one WM_CHAR a character, each handled before the next\n"
          "  click HWND                   BM_CLICK, posted: returns while a dialog it opens is up\n"
          "  press DIALOG CAPTION         BM_CLICK, posted, on DIALOG's button of that caption (& ignored)\n"
          "  close HWND                   WM_CLOSE, posted, as the title bar's close button does\n"
          "  dialog TITLE [WAITMS]        a dialog box (#32770): dialog HWND TITLE, text TEXT for each\n"
          "                               static text, button ID CAPTION for each button\n"
          "  gone HWND [WAITMS]           waits until HWND is destroyed or hidden\n"
          "  minimize HWND                ShowWindowAsync SW_MINIMIZE, as Windows+M does\n"
          "  getobject HWND               WM_GETOBJECT for OBJID_CLIENT, as a screen reader first asks\n"
          "  modules PID                  the DLLs the process has loaded: module NAME\n"
          "  forgeticon HWND ID           Shell_NotifyIcon NIM_DELETE of that icon, as a restarting shell\n"
          "                               loses it\n"
          "  broadcast NAME               the registered message NAME posted to every top-level window\n"
          "  endsession HWND [closeapp]   WM_QUERYENDSESSION, then WM_ENDSESSION (TRUE), as Windows sends\n"
          "                               them to each top-level window; closeapp: the Restart Manager's\n"
          "                               close (ENDSESSION_CLOSEAPP)\n"
          "  dpi                          dpi X Y of the screen\n"
          "  colours HWND                 the colours its caption shows on the screen: background R G B,\n"
          "                               then ink R G B PIXELS for each other colour (a check box's box\n"
          "                               left out)\n",
          stderr);
    return 2;
}

DWORD waitArgument(int argc, wchar_t** argv, int index)
{
    return index < argc ? wcstoul(argv[index], nullptr, 10) : 0;
}

int requireWindow(HWND window)
{
    if (IsWindow(window))
        return 0;
    fprintf(stderr, "wobblix-driver: %s is not a window\n", handle(window).c_str());
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Records go out byte for byte: no CR before LF, whatever the console's mode.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return usage();
    const std::wstring command = argv[1];

    if (command == L"windows") {
        std::vector<HWND> windows;
        EnumWindows(addTopLevel, reinterpret_cast<LPARAM>(&windows));
        for (HWND window : windows) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            record({"window", handle(window), number(pid), escaped(className(window)),
                    IsWindowVisible(window) ? "visible" : "hidden", escaped(windowText(window))});
        }
        return 0;
    }
    if (command == L"find" && argc >= 3) {
        const std::wstring cls = argc >= 5 ? argv[4] : L"";
        HWND window = findTopLevel(argv[2], cls, waitArgument(argc, argv, 3));
        if (!window) {
            fprintf(stderr, "wobblix-driver: no window titled \"%s\"\n", utf8(argv[2]).c_str());
            return 1;
        }
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        record({"window", handle(window), number(pid), escaped(className(window)),
                IsWindowVisible(window) ? "visible" : "hidden", escaped(windowText(window))});
        return 0;
    }
    if (command == L"dpi") {
        HDC screen = GetDC(nullptr);
        record({"dpi", number(GetDeviceCaps(screen, LOGPIXELSX)), number(GetDeviceCaps(screen, LOGPIXELSY))});
        ReleaseDC(nullptr, screen);
        return 0;
    }
    if (command == L"dialog" && argc >= 3) {
        HWND dialog = findTopLevel(argv[2], L"#32770", waitArgument(argc, argv, 3));
        if (!dialog) {
            fprintf(stderr, "wobblix-driver: no dialog titled \"%s\"\n", utf8(argv[2]).c_str());
            return 1;
        }
        record({"dialog", handle(dialog), escaped(windowText(dialog))});
        std::vector<HWND> children;
        collect(dialog, children);
        for (HWND child : children) {
            const std::wstring cls = className(child);
            if (!IsWindowVisible(child))
                continue;
            if (_wcsicmp(cls.c_str(), L"Static") == 0 && !windowText(child).empty())
                record({"text", escaped(windowText(child))});
            else if (_wcsicmp(cls.c_str(), L"Button") == 0)
                record({"button", number(GetDlgCtrlID(child)), escaped(windowText(child))});
        }
        return 0;
    }
    if (command == L"modules" && argc >= 3) {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, wcstoul(argv[2], nullptr, 0));
        if (snapshot == INVALID_HANDLE_VALUE)
            return 1;
        MODULEENTRY32W module{};
        module.dwSize = sizeof module;
        for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
            record({"module", escaped(module.szModule)});
        CloseHandle(snapshot);
        return 0;
    }
    if (command == L"broadcast" && argc >= 3) {
        const UINT message = RegisterWindowMessageW(argv[2]);
        return message != 0 && PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
    }
    if (argc < 3)
        return usage();

    HWND window = parseHandle(argv[2]);
    if (command == L"gone") {
        const DWORD waitMs = waitArgument(argc, argv, 3), start = GetTickCount();
        while (IsWindow(window) && IsWindowVisible(window)) {
            if (GetTickCount() - start >= waitMs) {
                fprintf(stderr, "wobblix-driver: %s is still shown\n", handle(window).c_str());
                return 1;
            }
            Sleep(kPollMs);
        }
        return 0;
    }
    if (int status = requireWindow(window))
        return status;

    if (command == L"controls") {
        std::vector<HWND> children;
        collect(window, children);
        for (HWND child : children)
            record(describe("control", child));
        return 0;
    }
    if (command == L"window") {
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        RECT client{}, frame{};
        GetClientRect(window, &client);
        GetWindowRect(window, &frame);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        record({"class", escaped(className(window))});
        record({"title", escaped(windowText(window))});
        record({"pid", number(pid)});
        record({"visible", IsWindowVisible(window) ? "1" : "0"});
        record({"minimized", IsIconic(window) ? "1" : "0"});
        record({"minimizebox", (style & WS_MINIMIZEBOX) ? "1" : "0"});
        record({"maximizebox", (style & WS_MAXIMIZEBOX) ? "1" : "0"});
        record({"thickframe", (style & WS_THICKFRAME) ? "1" : "0"});
        record({"caption", (style & WS_CAPTION) == WS_CAPTION ? "1" : "0"});
        record({"style", hex(static_cast<unsigned long>(style))});
        record({"menu", GetMenu(window) ? "1" : "0"});
        // Frame on the screen: left top width height; client area: its origin on the screen and size.
        record({"frame", number(frame.left), number(frame.top), number(frame.right - frame.left),
                number(frame.bottom - frame.top)});
        record({"client", number(origin.x), number(origin.y), number(client.right), number(client.bottom)});
        return 0;
    }
    if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
            fprintf(stderr, "wobblix-driver: GetGUIThreadInfo failed (%lu)\n", GetLastError());
            return 1;
        }
        if (info.hwndFocus)
            record(describe("focus", info.hwndFocus));
        else
            record({"focus", handle(nullptr)});
        record({"active", handle(info.hwndActive)});
        return 0;
    }
    if (command == L"colours") {
        reportCaptionColours(window);
        return 0;
    }
    if (command == L"text") {
        record({"text", escaped(windowText(window))});
        return 0;
    }
    if (command == L"check") {
        DWORD_PTR state = 0;
        if (!SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state))
            return 1;
        record({"check", number(static_cast<long long>(state))});
        return 0;
    }
    if (command == L"click") {
        PostMessageW(window, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == L"getobject") {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT),
                                   SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer)
                   ? 0
                   : 1;
    }
    if (command == L"minimize")
        return ShowWindowAsync(window, SW_MINIMIZE) ? 0 : 1;
    if (command == L"endsession") {
        const LPARAM reason = argc >= 4 && std::wstring(argv[3]) == L"closeapp" ? ENDSESSION_CLOSEAPP : 0;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, reason, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                 &answer))
            return 1;
        return SendMessageTimeoutW(window, WM_ENDSESSION, answer != 0, reason, SMTO_ABORTIFHUNG,
                                   kSendTimeoutMs, &answer)
                   ? 0
                   : 1;
    }
    if (command == L"forgeticon" && argc >= 4) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
        icon.hWnd = window;
        icon.uID = wcstoul(argv[3], nullptr, 0);
        return Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
    }
    if (argc < 4)
        return usage();
    const std::wstring text = argv[3];
    if (command == L"settext") {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &result);
        return result ? 0 : 1;
    }
    if (command == L"type") {
        for (wchar_t c : text) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) {
                fprintf(stderr, "wobblix-driver: %s did not take a character\n", handle(window).c_str());
                return 1;
            }
        }
        return 0;
    }
    if (command == L"press") {
        std::vector<HWND> children;
        collect(window, children);
        for (HWND child : children) {
            if (_wcsicmp(className(child).c_str(), L"Button") == 0 &&
                withoutMnemonic(windowText(child)) == withoutMnemonic(text)) {
                PostMessageW(child, BM_CLICK, 0, 0);
                return 0;
            }
        }
        fprintf(stderr, "wobblix-driver: no button \"%s\" in %s\n", utf8(text).c_str(),
                handle(window).c_str());
        return 1;
    }
    return usage();
}

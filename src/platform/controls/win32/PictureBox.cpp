// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/PictureBox.h"

#include "platform/controls/Twips.h"
#include "platform/controls/win32/Native.h"
#include "platform/runtime/Application.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

constexpr wchar_t PictureBoxClassName[] = L"WobblixPictureBox";

// The program's pictures by name: the icon resources of the program file (resources/windows/
// wobblix-clock.rc). By number, not by name: Explorer shows a program's first icon resource, and named
// ones come before numbered ones.
struct PictureResource {
    StringView name;
    WORD id;
};
constexpr PictureResource Pictures[] = {
    {u"wobblix-clock", 1},
    {u"notification", 2},
};

void raiseMouseMove(PictureBox& box, WPARAM keys, LPARAM position)
{
    const auto button =
        static_cast<Integer>(((keys & MK_LBUTTON) != 0 ? 1 : 0) | ((keys & MK_RBUTTON) != 0 ? 2 : 0) |
                             ((keys & MK_MBUTTON) != 0 ? 4 : 0));
    const auto shift =
        static_cast<Integer>(((keys & MK_SHIFT) != 0 ? 1 : 0) | ((keys & MK_CONTROL) != 0 ? 2 : 0) |
                             (GetKeyState(VK_MENU) < 0 ? 4 : 0));
    // The notification area's reports come here too: their X, the low word, is the mouse message.
    const auto x = static_cast<Single>(static_cast<short>(LOWORD(position))) * TwipsPerPixelX();
    const auto y = static_cast<Single>(static_cast<short>(HIWORD(position))) * TwipsPerPixelY();
    box.MouseMove.Raise(button, shift, x, y);
}

// The picture, at the size the notification area shows, which takes its handle as its icon. Loaded when
// it is first drawn or asked for, not as it is set: Picture1 is never seen, and its picture is wanted
// only at the first Hide.
HICON pictureOf(Control::Native& box)
{
    if (box.picture == nullptr && !box.pictureResource.empty()) {
        box.picture = win32::LoadPicture(box.pictureResource, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON));
        box.pictureResource.clear(); // once: a picture that cannot be loaded stays none
    }
    return box.picture;
}

LRESULT handle(Control::Native& native, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, win32::BackgroundOf(native.background));
        return 1;
    }
    // The picture at the top left corner; the focus, given by Tab, as a dotted frame inside the border.
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window, &paint);
        if (const HICON picture = pictureOf(native); picture != nullptr)
            DrawIconEx(dc, 0, 0, picture, 0, 0, 0, nullptr, DI_NORMAL);
        if (GetFocus() == window && (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
            RECT client{};
            GetClientRect(window, &client);
            InflateRect(&client, -1, -1);
            DrawFocusRect(dc, &client);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE:
        if (native.control != nullptr)
            raiseMouseMove(static_cast<PictureBox&>(*native.control), wParam, lParam);
        return 0;
    case WM_GETOBJECT:
        if (native.form != nullptr)
            win32::AnnotateAccessibleNames(*native.form);
        break;
    case WM_NCDESTROY:
        win32::ForgetAccessibleName(window);
        native.hwnd = nullptr;
        break;
    default:
        if (native.form != nullptr &&
            win32::HandleControlMessage(*native.form, message, wParam, lParam, result))
            return result;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK pictureBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(
                window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        if (auto* native = reinterpret_cast<Control::Native*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            return handle(*native, window, message, wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
}

} // namespace

namespace win32 {

const wchar_t* PictureBoxClass()
{
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = pictureBoxProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = PictureBoxClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered; // a class that could not be registered makes no window, which CreateControl reports
    return PictureBoxClassName;
}

HICON LoadPicture(StringView resource, int width, int height)
{
    for (const PictureResource& picture : Pictures)
        if (picture.name == resource)
            return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture.id),
                                                 IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    return nullptr;
}

} // namespace win32

// A panel with a sunken edge; a visible one takes the focus by Tab.
PictureBox::PictureBox(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              win32::CreateControl(form, container, win32::PictureBoxClass(),
                                   WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_CLIPCHILDREN,
                                   win32::Uncaptioned(description), WS_EX_CLIENTEDGE))
{
}

void PictureBox::setPicture(StringView resource)
{
    Native& box = native();
    if (box.picture != nullptr)
        DestroyIcon(box.picture);
    box.picture = nullptr;
    box.pictureResource = String(resource);
    InvalidateRect(box.hwnd, nullptr, TRUE);
}

PictureHandle PictureBox::Picture() const
{
    return win32::ToPicture(pictureOf(native()));
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/TextBox.h"

#include "platform/controls/win32/Native.h"
#include "platform/runtime/Application.h"

#include <cstdint>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

constexpr UINT_PTR TextBoxSubclass = 2;

// The character the box would type as its key code, 16 bits read as signed: from U+8000 up negative.
Integer codeOf(WPARAM character)
{
    return static_cast<Integer>(static_cast<std::uint16_t>(character));
}
WPARAM characterOf(Integer code)
{
    return static_cast<std::uint16_t>(code);
}

// Ctrl+Backspace: deletes from the start of the word before the cursor (or of the blanks before it) to the
// cursor, as the edit controls of Windows' own programs do; the system's EDIT would type a box instead.
void deleteWordBackwards(HWND box)
{
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) {
        const int length = GetWindowTextLengthW(box);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(box, text.data(), length + 1);
        while (start > 0 && iswspace(text[start - 1]))
            --start;
        while (start > 0 && !iswspace(text[start - 1]))
            --start;
    }
    SendMessageW(box, EM_SETSEL, start, end);
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

// The editing keys that type no character, as the Ctrl+letter whose work they do; 0 for every other key.
Integer editingKeyCode(WPARAM key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_INSERT && shift && !ctrl)
        return 22; // paste, Ctrl+V
    if (key == VK_INSERT && ctrl && !shift)
        return 3; // copy, Ctrl+C
    if (key == VK_DELETE && shift && !ctrl)
        return 24; // cut, Ctrl+X
    return 0;
}

// Disabled, the system's EDIT draws its text in the grey of disabled text whatever its container says,
// which reads at little over 2:1 on its background under Wine: here the box draws it itself, in that
// grey darkened towards the window text just as far as it takes to read.
void paintDisabled(HWND box)
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(box, &paint);
    RECT client{};
    GetClientRect(box, &client);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(box), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    if (brush == nullptr)
        brush = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &client, brush);
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof fill, &fill);
    RECT text = client;
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    const int length = GetWindowTextLengthW(box);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(box, caption.data(), length + 1);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc,
                 win32::ReadableOn(fill.lbColor, GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_WINDOWTEXT)));
    DrawTextW(dc, caption.c_str(), length, &text, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    SelectObject(dc, old);
    EndPaint(box, &paint);
}

// KeyPress before the box sees a typed character (WM_CHAR, which TranslateMessage makes of the keys:
// Ctrl with a letter the control character, Ctrl+Backspace DEL) or an editing key.
LRESULT CALLBACK textBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR reference)
{
    try {
        auto& box = *reinterpret_cast<TextBox*>(reference);
        switch (message) {
        case WM_CHAR: {
            const Integer original = codeOf(wParam);
            Integer code = original;
            box.KeyPress.Raise(code);
            if (code == 0)
                return 0;
            if (code == TextBox::DeleteCode) {
                deleteWordBackwards(window);
                return 0;
            }
            return DefSubclassProc(window, message, code == original ? wParam : characterOf(code), lParam);
        }
        case WM_KEYDOWN: {
            const Integer original = editingKeyCode(wParam);
            if (original == 0)
                break;
            Integer code = original;
            box.KeyPress.Raise(code);
            if (code == 0)
                return 0;
            if (code != original)
                return DefSubclassProc(window, WM_CHAR, characterOf(code), lParam);
            break;
        }
        // Enter and Escape go to the box as characters, for KeyPress, not to the dialog keys.
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclassProc(window, message, wParam, lParam);
            if (const auto* key = reinterpret_cast<const MSG*>(lParam);
                key != nullptr && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_PAINT:
            if (IsWindowEnabled(window))
                break;
            paintDisabled(window);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, textBoxProcedure, TextBoxSubclass);
            break;
        default:
            break;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    } catch (...) {
        reportCurrentErrorAndEnd();
    }
}

} // namespace

TextBox::TextBox(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              win32::CreateControl(form, container, WC_EDITW,
                                   WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
                                   win32::Uncaptioned(description), WS_EX_CLIENTEDGE))
{
    SetWindowSubclass(native().hwnd, textBoxProcedure, TextBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
    // EN_CHANGE comes for typing, pasting and WM_SETTEXT alike; Change only when the text is really
    // another than the one it was last raised for.
    native().notify = [this](UINT code) {
        if (code != EN_CHANGE)
            return;
        if (String now = Text(); now != native().text) {
            native().text = std::move(now);
            Change.Raise();
        }
    };
}

String TextBox::Text() const
{
    const HWND box = native().hwnd;
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(box, text.data(), length + 1);
    return String(text.begin(), text.begin() + read);
}

// A text longer than the maximum is cut to fit: EM_LIMITTEXT bounds typing and pasting only. The text the
// box holds already is not set again: that raises no Change, and it spares the box a round of its
// messages (most fields are empty at a first start).
void TextBox::setText(const String& text)
{
    const Long limit = native().maxLength;
    const String fitting =
        limit > 0 && text.size() > static_cast<std::size_t>(limit) ? text.substr(0, limit) : text;
    if (fitting == Text())
        return;
    SetWindowTextW(native().hwnd, win32::Wide(fitting));
    native().notify(EN_CHANGE); // where the box sent none, or the text is not what it was
}

void TextBox::setMaxLength(Long length)
{
    native().maxLength = length > 0 ? length : 0;
    SendMessageW(native().hwnd, EM_LIMITTEXT, static_cast<WPARAM>(native().maxLength), 0);
    if (length > 0 && Text().size() > static_cast<std::size_t>(length))
        setText(Text());
}

} // namespace wobblix::platform

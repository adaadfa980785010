// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Label.h"

#include "platform/controls/win32/Native.h"

#include <algorithm>
#include <string>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace win32 {

// Narrows the caption's face just enough for it to fit the label's width: the widest stretch, in steps of
// 2% of the face's average character width, at which it fits. Where the face fits, it stays as it is.
void FitCaption(const Form& form, Control::Native& native)
{
    if (!native.shrinkToFit || native.hwnd == nullptr)
        return;
    const HFONT full = native.ownFont != nullptr ? native.ownFont : form.native().bodyFont;
    const int length = GetWindowTextLengthW(native.hwnd);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(native.hwnd, caption.data(), length + 1);
    const int room = Pixels(native.width, form.native().dpi);

    const HDC dc = GetDC(native.hwnd);
    const auto widthIn = [&](HFONT font) {
        const HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), length, &size);
        SelectObject(dc, old);
        return size.cx;
    };
    HFONT fitted = nullptr;
    if (widthIn(full) > room) {
        constexpr int Narrowest = 50; // percent: as narrow as the face goes
        LOGFONTW face{};
        GetObjectW(full, sizeof face, &face);
        TEXTMETRICW metrics{};
        const HGDIOBJ old = SelectObject(dc, full);
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        for (int stretch = 98; stretch >= Narrowest; stretch -= 2) {
            face.lfWidth = std::max(1, MulDiv(metrics.tmAveCharWidth, stretch, 100));
            fitted = CreateFontIndirectW(&face);
            if (widthIn(fitted) <= room || stretch == Narrowest)
                break;
            DeleteObject(fitted);
            fitted = nullptr;
        }
    }
    ReleaseDC(native.hwnd, dc);
    SendMessageW(native.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fitted != nullptr ? fitted : full),
                 IsWindowVisible(native.hwnd));
    if (native.fittedFont != nullptr)
        DeleteObject(native.fittedFont);
    native.fittedFont = fitted;
}

} // namespace win32

// One line, cut at the label's edge rather than wrapped below it; "&" is a character like any other.
Label::Label(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              win32::CreateControl(form, container, WC_STATICW, WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                   description))
{
    native().label = true;
}

void Label::setShrinkToFit(bool shrink)
{
    native().shrinkToFit = shrink;
    if (shrink) {
        win32::FitCaption(form(), native());
        return;
    }
    win32::ApplyFont(form(), native());
    if (native().fittedFont != nullptr)
        DeleteObject(native().fittedFont);
    native().fittedFont = nullptr;
}

// Screen readers find the label of a text box by its own means: the static text before it.
void Label::setBuddy(Control&) {}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/MenuItem.h"

#include "platform/controls/win32/Native.h"

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

// A menu on the bar is a popup menu; an item of one is a command with an id of its own, or a separator
// for "-". The captions carry no "&", so no item has a shortcut key.
MenuItem::MenuItem(Form& form, MenuItem* parent, String name, String caption)
    : Object(form, std::move(name)), m_caption(std::move(caption)), m_native(std::make_unique<Native>())
{
    Form::Native& window = form.native();
    if (parent == nullptr) {
        m_native->popup = CreatePopupMenu();
        AppendMenuW(window.menuBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(m_native->popup),
                    win32::Wide(m_caption));
    } else if (m_caption == u"-") {
        AppendMenuW(parent->native().popup, MF_SEPARATOR, 0, nullptr);
    } else {
        m_native->id = window.nextMenuId++;
        window.menuItems[m_native->id] = this;
        AppendMenuW(parent->native().popup, MF_STRING, m_native->id, win32::Wide(m_caption));
    }
    // A shown window's bar is drawn again; a window still being made draws its bar once, as it is shown.
    if (window.hwnd != nullptr && IsWindowVisible(window.hwnd))
        DrawMenuBar(window.hwnd);
}

// The menus themselves go with the window.
MenuItem::~MenuItem()
{
    if (m_native->id != 0)
        form().native().menuItems.erase(m_native->id);
}

} // namespace wobblix::platform

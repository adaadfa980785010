// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Hiding the window into the notification area and bringing it back. The window is either Shown (visible,
// no icon) or Hidden (invisible, one icon); Hide leads from the first to the second, a left double-click on
// the icon back, and so does a second start of the clock. Hide is on the window's menu only, so it never runs
// while Hidden and the icon is never added twice; the restore is the only place the icon is removed.

#include "main_window/MainForm.h"

#include "platform/controls/Focus.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/Twips.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/NotifyArea.h"
#include "tray/ShellNotifyIcon.h"

namespace wobblix {

// The window goes first, then the icon comes. Where the desktop has no notification area the icon cannot
// be added: the window comes straight back and says why, for a window hidden without an icon could only be
// ended by killing the program. The timers run on in both states.
void MainForm::menuHide_Click()
{
    setVisible(false);
    if (ShellTrayAdd() != 0)
        return;
    setVisible(true);
    platform::SetFocus(hWnd());
    m_platform.messageBox.MsgBox(
        hWnd(),
        u"The notification area is not available on this desktop, so Wobblix Clock stays in its window.",
        platform::MessageBox::Exclamation, u"Wobblix Clock");
}

// Fills the record and adds the icon. Non-zero when the icon was added.
Long MainForm::ShellTrayAdd()
{
    nid.cbSize = NOTIFYICONDATA_SIZE;
    nid.hWnd = Picture1->hWnd();
    nid.uID = NotifyIconId;
    nid.uFlags =
        platform::NotifyArea::NIF_MESSAGE | platform::NotifyArea::NIF_ICON | platform::NotifyArea::NIF_TIP;
    nid.uCallbackMessage = platform::NotifyArea::WM_MOUSEMOVE;
    nid.hIcon = Picture1->Picture();
    LSet(nid.szTip, String(NotifyIconTip) + u'\0');
    return Shell_NotifyIconA(m_platform.notifyArea, platform::NotifyArea::NIM_ADD, nid) ? 1 : 0;
}

// Removes the icon the record names, as ShellTrayAdd left it. A failure changes nothing for the caller.
void MainForm::ShellTrayDelete()
{
    Shell_NotifyIconA(m_platform.notifyArea, platform::NotifyArea::NIM_DELETE, nid);
}

// Every mouse action on the icon arrives here as a mouse movement whose X is the mouse message number in
// twips. Only the left double-click brings the window back: the icon goes first, then the window comes and
// takes the keyboard focus. Any other action (moving over the icon, a single click, the right or middle
// button, their double-clicks) is ignored.
void MainForm::Picture1_MouseMove(Integer, Integer, Single x, Single)
{
    if (!IsLeftDoubleClick(x, platform::TwipsPerPixelX()))
        return;
    ShellTrayDelete();
    setVisible(true);
    platform::SetFocus(hWnd());
}

// The desktop asks for the clock: someone started it again (from the desktop's menu, the usual way to look
// for a program one cannot see). A window hidden in the notification area comes back as from its icon, the
// icon first; a shown one comes to the front. Either takes the focus as the window of that start.
void MainForm::Application_Activate(const platform::LaunchTokens& launch)
{
    if (!Visible())
        ShellTrayDelete();
    setVisible(true);
    platform::SetFocus(hWnd(), launch);
}

} // namespace wobblix

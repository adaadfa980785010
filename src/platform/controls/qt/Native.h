// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What stands behind the controls on Qt: each control is a widget, the form a main window, a timer a
// QTimer, a menu item an action. The window handle of a control is its widget.

#include "platform/controls/Control.h"
#include "platform/controls/Form.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/Timer.h"
#include "platform/controls/qt/FormWidget.h"

#include <QAction>
#include <QColor>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace wobblix::platform {

struct Control::Native {
    QPointer<QWidget> widget; // a child of the form's window, which deletes it
};

struct Form::Native {
    std::unique_ptr<qt::FormWidget> window; // the top-level window: no parent, owned here
};

struct Timer::Native {
    QPointer<QTimer> timer; // a child of the form's window
};

struct MenuItem::Native {
    QPointer<QMenu> menu;     // a menu on the bar, or one whose items open from an item
    QPointer<QAction> action; // the item, the separator, or the menu's own action
};

namespace qt {

inline QWidget* toWidget(WindowHandle handle)
{
    return reinterpret_cast<QWidget*>(handle);
}
inline WindowHandle toHandle(QWidget* widget)
{
    return reinterpret_cast<WindowHandle>(widget);
}

inline QColor toQColor(Long colour)
{
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

// Where a control of the form goes: inside its picture box, or on the form's client area.
QWidget* containerWidget(const Form& form, PictureBox* container);

// A length in twips as whole logical pixels, rounded to the nearest.
int pixelsX(Long twips);
int pixelsY(Long twips);

} // namespace qt

} // namespace wobblix::platform

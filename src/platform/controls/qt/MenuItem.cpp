// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/MenuItem.h"

#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QMainWindow>
#include <QMenuBar>

namespace wobblix::platform {

// A menu on the bar is a QMenu; an item of one is an action, or a separator for "-".
MenuItem::MenuItem(Form& form, MenuItem* parent, String name, String caption)
    : Object(form, std::move(name)), m_caption(std::move(caption)), m_native(std::make_unique<Native>())
{
    const QString text = qt::toQString(m_caption);
    if (parent == nullptr) {
        m_native->menu = qt::window(form).menuBar()->addMenu(text);
        m_native->menu->setObjectName(qt::toQString(Name()));
        m_native->action = m_native->menu->menuAction();
        return;
    }
    QMenu* menu = parent->native().menu;
    m_native->action = m_caption == u"-" ? menu->addSeparator() : menu->addAction(text);
    m_native->action->setObjectName(qt::toQString(Name()));
    QObject::connect(m_native->action, &QAction::triggered, m_native->action, [this] { Click.Raise(); });
}

MenuItem::~MenuItem() = default;

} // namespace wobblix::platform

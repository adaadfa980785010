// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/Event.h"

namespace wobblix::platform {

// An item of the window's menu: a menu on the menu bar (no parent), or an item of one. The caption "-"
// makes a separator line. Items carry no shortcut keys; a menu with items opens them, an item without
// raises Click.
class MenuItem final : public Object {
public:
    MenuItem(Form& form, MenuItem* parent, String name, String caption);
    ~MenuItem() override;

    const String& Caption() const { return m_caption; }

    Event<> Click;

    struct Native;
    Native& native() const { return *m_native; }

private:
    String m_caption;
    std::unique_ptr<Native> m_native;
};

} // namespace wobblix::platform

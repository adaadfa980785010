// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Qt widgets behind the window and its controls, for what works with Qt itself: the tests, which
// drive and inspect the window as Qt shows it.

#include "platform/controls/Control.h"
#include "platform/controls/Form.h"

#include <QMainWindow>
#include <QWidget>

namespace wobblix::platform::qt {

QMainWindow& window(const Form& form);
// The client area, below the menu bar, that holds the controls.
QWidget& clientArea(const Form& form);
QWidget& widget(const Control& control);

} // namespace wobblix::platform::qt

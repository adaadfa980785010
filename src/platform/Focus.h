#pragma once

class QWidget;

namespace wobblix::platform {

// Gives the keyboard focus to a shown top-level window: raises it above the other windows and makes it the
// active window, whose focused control then gets the keys. Where the desktop refuses, nothing happens.
void SetFocus(QWidget* window);

} // namespace wobblix::platform

#include "platform/Focus.h"

#include <QWidget>

namespace wobblix::platform {

void SetFocus(QWidget* window)
{
    if (window == nullptr)
        return;
    window->raise();
    window->activateWindow();
}

} // namespace wobblix::platform

#include "tray/ShellNotifyIcon.h"

#include "platform/NotifyArea.h"

namespace wobblix {

NOTIFYICONDATA nid;

void LSet(QString& field, const QString& text)
{
    const qsizetype length = field.size();
    field = text.left(length);
    field.resize(length, u' ');
}

bool IsLeftDoubleClick(float xTwips, float twipsPerPixel)
{
    const float message = xTwips / twipsPerPixel;
    return message == static_cast<float>(platform::NotifyArea::WM_LBUTTONDBLCLK);
}

} // namespace wobblix

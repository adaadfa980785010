// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/PictureBox.h"

#include "platform/controls/Twips.h"

#include <QMouseEvent>

namespace wobblix::platform {

PictureBox::PictureBox(const QColor& background, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    setAutoFillBackground(true);
    // Every movement is reported, with or without a button held: Qt drops a move without a button for a
    // widget that does not track the mouse.
    setMouseTracking(true);
}

void PictureBox::place(QWidget* child, int leftTwips, int topTwips, int widthTwips, int heightTwips) const
{
    const int border = frameWidth();
    child->setGeometry(border + pixelsX(leftTwips), border + pixelsY(topTwips), pixelsX(widthTwips),
                       pixelsY(heightTwips));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    qint16 button = 0;
    if (event->buttons().testFlag(Qt::LeftButton))
        button |= 1;
    if (event->buttons().testFlag(Qt::RightButton))
        button |= 2;
    if (event->buttons().testFlag(Qt::MiddleButton))
        button |= 4;
    qint16 shift = 0;
    if (event->modifiers().testFlag(Qt::ShiftModifier))
        shift |= 1;
    if (event->modifiers().testFlag(Qt::ControlModifier))
        shift |= 2;
    if (event->modifiers().testFlag(Qt::AltModifier))
        shift |= 4;
    const QPointF at = event->position();
    Q_EMIT MouseMove(button, shift, static_cast<float>(at.x() * TwipsPerPixelX()),
                     static_cast<float>(at.y() * TwipsPerPixelY()));
    QFrame::mouseMoveEvent(event);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/qt/PictureBoxWidget.h"

#include "platform/controls/PictureBox.h"
#include "platform/controls/Twips.h"
#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QMouseEvent>

namespace wobblix::platform {

namespace qt {

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    // Every movement is reported, with or without a button held: Qt drops a move without a button for a
    // widget that does not track the mouse.
    setMouseTracking(true);
}

void PictureBoxWidget::setVisible(bool visible)
{
    setFocusPolicy(visible ? Qt::TabFocus : Qt::NoFocus);
    QFrame::setVisible(visible);
}

void PictureBoxWidget::mouseMoveEvent(QMouseEvent* event)
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

} // namespace qt

PictureBox::PictureBox(Form& form, PictureBox* container, String name, const Description& description)
    : Control(
          form, container, std::move(name), description,
          std::make_unique<Native>(Native{new qt::PictureBoxWidget(qt::containerWidget(form, container))}))
{
    auto* box = static_cast<qt::PictureBoxWidget*>(native().widget.data());
    QObject::connect(
        box, &qt::PictureBoxWidget::MouseMove, box,
        [this](qint16 button, qint16 shift, float x, float y) { MouseMove.Raise(button, shift, x, y); });
}

void PictureBox::setPicture(StringView resource)
{
    static_cast<qt::PictureBoxWidget&>(qt::widget(*this))
        .setPicture(QIcon(QStringLiteral(":/icons/") + qt::toQString(resource) + QStringLiteral(".ico")));
}

// The picture's handle is the icon the picture box holds.
PictureHandle PictureBox::Picture() const
{
    const QIcon& picture = static_cast<const qt::PictureBoxWidget&>(qt::widget(*this)).Picture();
    return picture.isNull() ? nullptr : reinterpret_cast<PictureHandle>(const_cast<QIcon*>(&picture));
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// What every control does on Qt: a widget placed in twips, with its colours, font and place in the tab
// order.

#include "platform/controls/Control.h"

#include "platform/controls/PictureBox.h"
#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/PictureBoxWidget.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QFrame>

namespace wobblix::platform {

Control::Control(Form& form, PictureBox* container, String name, const Description& description,
                 std::unique_ptr<Native> native)
    : Object(form, std::move(name)), m_container(container), m_tabIndex(description.tabIndex),
      m_native(std::move(native))
{
    m_native->widget->setObjectName(qt::toQString(Name()));
    Move(description.left, description.top, description.width, description.height);
    if (!description.enabled)
        m_native->widget->setEnabled(false);
    if (!description.visible)
        m_native->widget->setVisible(false);
    // The tab index stays readable on the widget, as the window describes it.
    m_native->widget->setProperty("TabIndex", m_tabIndex);
    if (m_tabIndex != NoTabIndex)
        static_cast<qt::FormWidget&>(qt::window(form)).setTabIndex(m_native->widget, m_tabIndex);
}

Control::~Control() = default;

WindowHandle Control::hWnd() const
{
    return qt::toHandle(m_native->widget);
}

// Inside a picture box the position starts from the inside of its border.
void Control::Move(Long left, Long top, Long width, Long height)
{
    const auto* frame = qobject_cast<const QFrame*>(m_native->widget->parentWidget());
    const int border = m_container != nullptr && frame != nullptr ? frame->frameWidth() : 0;
    m_native->widget->setGeometry(border + qt::pixelsX(left), border + qt::pixelsY(top), qt::pixelsX(width),
                                  qt::pixelsY(height));
}

bool Control::Visible() const
{
    return !m_native->widget->isHidden();
}

void Control::setVisible(bool visible)
{
    m_native->widget->setVisible(visible);
}

bool Control::Enabled() const
{
    return m_native->widget->isEnabled();
}

void Control::setEnabled(bool enabled)
{
    m_native->widget->setEnabled(enabled);
}

// The background fills the control; a check box's own background role is the lighter button face.
void Control::setBackColor(Long colour)
{
    QWidget* widget = m_native->widget;
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, qt::toQColor(colour));
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
    widget->setBackgroundRole(QPalette::Window);
}

// The caption's colour; a check box's box and tick keep the theme's field colours.
void Control::setForeColor(Long colour)
{
    QWidget* widget = m_native->widget;
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, qt::toQColor(colour));
    widget->setPalette(colours);
}

// A face that is missing is stood in for by the desktop's sans-serif.
void Control::setFont(const Font& font)
{
    QFont face(qt::toQString(font.name));
    face.setStyleHint(QFont::SansSerif);
    face.setPointSizeF(font.size);
    face.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
    face.setItalic(font.italic);
    m_native->widget->setFont(face);
}

void Control::setAccessibleName(const String& name)
{
    m_native->widget->setAccessibleName(qt::toQString(name));
}

} // namespace wobblix::platform

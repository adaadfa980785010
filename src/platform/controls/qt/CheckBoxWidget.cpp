// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/qt/CheckBoxWidget.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/qt/QtText.h"

namespace wobblix::platform {

namespace qt {

CheckBoxWidget::CheckBoxWidget(QWidget* parent) : QCheckBox(parent)
{
    setTristate(true); // so that the grayed state can be shown; clicks never produce it
}

qint16 CheckBoxWidget::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return CheckBox::Unchecked;
    case Qt::Checked:
        return CheckBox::Checked;
    case Qt::PartiallyChecked:
        return CheckBox::Grayed;
    }
    return CheckBox::Unchecked;
}

void CheckBoxWidget::setValue(int value)
{
    switch (value) {
    case CheckBox::Unchecked:
        setCheckState(Qt::Unchecked);
        break;
    case CheckBox::Checked:
        setCheckState(Qt::Checked);
        break;
    case CheckBox::Grayed:
        setCheckState(Qt::PartiallyChecked);
        break;
    default:
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
    }
}

void CheckBoxWidget::nextCheckState()
{
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

} // namespace qt

CheckBox::CheckBox(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              std::make_unique<Native>(Native{new qt::CheckBoxWidget(qt::containerWidget(form, container))}))
{
    static_cast<QCheckBox&>(qt::widget(*this)).setText(qt::toQString(description.caption));
}

Integer CheckBox::Value() const
{
    return static_cast<const qt::CheckBoxWidget&>(qt::widget(*this)).Value();
}

void CheckBox::setValue(Long value)
{
    static_cast<qt::CheckBoxWidget&>(qt::widget(*this)).setValue(value);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/CheckBox.h"

#include "platform/runtime/RuntimeError.h"

namespace wobblix::platform {

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent)
{
    setTristate(true); // so that the grayed state can be shown; clicks never produce it
}

qint16 CheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return Unchecked;
    case Qt::Checked:
        return Checked;
    case Qt::PartiallyChecked:
        return Grayed;
    }
    return Unchecked;
}

void CheckBox::setValue(int value)
{
    switch (value) {
    case Unchecked:
        setCheckState(Qt::Unchecked);
        break;
    case Checked:
        setCheckState(Qt::Checked);
        break;
    case Grayed:
        setCheckState(Qt::PartiallyChecked);
        break;
    default:
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
    }
}

void CheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

} // namespace wobblix::platform

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCheckBox>

namespace wobblix::platform::qt {

// The check box on Qt, whose Value is the clock's 16-bit check-box state (platform/controls/CheckBox.h).
// Qt numbers the states differently (Qt::PartiallyChecked is 1), so this is the one place that maps them.
class CheckBoxWidget final : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBoxWidget(QWidget* parent);

    qint16 Value() const;
    // Throws RuntimeError "Invalid property value" (380) for anything but 0, 1 or 2.
    void setValue(int value);

protected:
    // A click turns an unchecked box on and a checked or grayed one off; only the program sets grayed.
    void nextCheckState() override;
};

} // namespace wobblix::platform::qt

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/CommandButton.h"

#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QPushButton>

namespace wobblix::platform {

CommandButton::CommandButton(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              std::make_unique<Native>(Native{new QPushButton(qt::containerWidget(form, container))}))
{
    auto* button = static_cast<QPushButton*>(native().widget.data());
    button->setText(qt::toQString(description.caption));
    button->setAutoDefault(false); // Enter presses no button
    QObject::connect(button, &QPushButton::clicked, button, [this] { Click.Raise(); });
}

} // namespace wobblix::platform

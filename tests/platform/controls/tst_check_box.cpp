// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The check box's values as every handler relies on them, and what a click does to them.

#include "platform/controls/CheckBox.h"
#include "platform/controls/qt/CheckBoxWidget.h"
#include "platform/runtime/RuntimeError.h"

#include <QtTest>

using namespace wobblix::platform;

class TestCheckBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // 0, 1, 2 are unchecked, checked, grayed, whatever Qt calls them; anything else is refused.
    void values()
    {
        QWidget owner;
        wobblix::platform::qt::CheckBoxWidget box(&owner);
        QCOMPARE(box.Value(), CheckBox::Unchecked);
        const std::pair<int, Qt::CheckState> states[] = {
            {1, Qt::Checked}, {2, Qt::PartiallyChecked}, {0, Qt::Unchecked}};
        for (const auto& [value, state] : states) {
            box.setValue(value);
            QCOMPARE(box.checkState(), state);
            QCOMPARE(int(box.Value()), value);
        }
        for (int bad : {-1, 3, 256, 32767}) {
            box.setValue(1);
            try {
                box.setValue(bad);
                QFAIL(qPrintable(QStringLiteral("value %1 was accepted").arg(bad)));
            } catch (const RuntimeError& e) {
                QCOMPARE(e.number(), RuntimeError::InvalidPropertyValue);
            }
            QCOMPARE(box.Value(), CheckBox::Checked);
        }
    }

    // A click switches between off and on; grayed is only ever set by the program, and a click on it
    // turns it off.
    void clicks()
    {
        QWidget owner;
        wobblix::platform::qt::CheckBoxWidget box(&owner);
        box.click();
        QCOMPARE(box.Value(), CheckBox::Checked);
        box.click();
        QCOMPARE(box.Value(), CheckBox::Unchecked);
        box.setValue(CheckBox::Grayed);
        box.click();
        QCOMPARE(box.Value(), CheckBox::Unchecked);
    }
};

QTEST_MAIN(TestCheckBox)
#include "tst_check_box.moc"

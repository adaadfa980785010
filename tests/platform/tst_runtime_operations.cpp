// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The conversions and the check-box values every handler relies on.

#include "platform/CheckBox.h"
#include "platform/Conversions.h"
#include "platform/RuntimeError.h"

#include <QtTest>

using namespace wobblix::platform;

class TestRuntimeOperations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numericTest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("digit") << "7" << true;
        QTest::newRow("two digits") << "45" << true;
        QTest::newRow("leading zero") << "07" << true;
        QTest::newRow("letter") << "a" << false;
        QTest::newRow("minus alone") << "-" << false;
        QTest::newRow("plus alone") << "+" << false;
        QTest::newRow("point alone") << "." << false;
        QTest::newRow("negative") << "-3" << true;
        QTest::newRow("blank then digit") << " 5" << true;
        QTest::newRow("digit then blank") << "5 " << true;
        QTest::newRow("decimal") << "1.5" << true;
        QTest::newRow("exponent") << "2e1" << true;
        QTest::newRow("exponent without digits") << "2e" << false;
        QTest::newRow("two signs") << "--1" << false;
        QTest::newRow("digit and letter") << "1a" << false;
        QTest::newRow("non-ASCII digit") << QStringLiteral("\u0663") << false;
    }
    void numericTest()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(IsNumeric(text), numeric);
    }

    // 0 is a valid result; -1 in `error` means no error is expected.
    void textToInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("zero") << "0" << 0 << -1;
        QTest::newRow("two") << "2" << 2 << -1;
        QTest::newRow("blanks around") << " 1 " << 1 << -1;
        QTest::newRow("negative") << "-3" << -3 << -1;
        QTest::newRow("half rounds to even, down") << "2.5" << 2 << -1;
        QTest::newRow("half rounds to even, up") << "1.5" << 2 << -1;
        QTest::newRow("largest") << "32767" << 32767 << -1;
        QTest::newRow("smallest") << "-32768" << -32768 << -1;
        QTest::newRow("one too large") << "32768" << 0 << RuntimeError::Overflow;
        QTest::newRow("one too small") << "-32769" << 0 << RuntimeError::Overflow;
        QTest::newRow("beyond any number") << "1e999" << 0 << RuntimeError::Overflow;
        QTest::newRow("beyond any number, by its digits")
            << "1" + QString(400, u'0') + ".5e-1" << 0 << RuntimeError::Overflow;
        QTest::newRow("below any number rounds to 0") << "1e-400" << 0 << -1;
        QTest::newRow("below any number, negative") << "-0.00001e-99999999999999999999" << 0 << -1;
        QTest::newRow("below any number, by its digits") << "0." + QString(400, u'0') + "1" << 0 << -1;
        QTest::newRow("empty") << "" << 0 << RuntimeError::TypeMismatch;
        QTest::newRow("word") << "yes" << 0 << RuntimeError::TypeMismatch;
        QTest::newRow("boolean word") << "True" << 0 << RuntimeError::TypeMismatch;
    }
    void textToInteger()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(int, error);
        try {
            const qint16 result = CInt(text);
            QCOMPARE(error, -1);
            QCOMPARE(int(result), value);
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), error);
            QCOMPARE(e.description(), RuntimeError::descriptionOf(error));
        }
    }

    void integerToText()
    {
        QCOMPARE(CStr(0), QStringLiteral("0"));
        QCOMPARE(CStr(7), QStringLiteral("7"));
        QCOMPARE(CStr(23), QStringLiteral("23"));
        QCOMPARE(CStr(-3), QStringLiteral("-3"));
    }

    void errorTexts()
    {
        QCOMPARE(RuntimeError(13).description(), QStringLiteral("Type mismatch"));
        QCOMPARE(RuntimeError(6).description(), QStringLiteral("Overflow"));
        QCOMPARE(RuntimeError(380).description(), QStringLiteral("Invalid property value"));
    }

    // 0, 1, 2 are unchecked, checked, grayed, whatever Qt calls them; anything else is refused.
    void checkBoxValues()
    {
        QWidget owner;
        CheckBox box(QStringLiteral("On"), &owner);
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
    void checkBoxClicks()
    {
        QWidget owner;
        CheckBox box(QStringLiteral("On"), &owner);
        box.click();
        QCOMPARE(box.Value(), CheckBox::Checked);
        box.click();
        QCOMPARE(box.Value(), CheckBox::Unchecked);
        box.setValue(CheckBox::Grayed);
        box.click();
        QCOMPARE(box.Value(), CheckBox::Unchecked);
    }
};

QTEST_MAIN(TestRuntimeOperations)
#include "tst_runtime_operations.moc"

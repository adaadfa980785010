// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The conversions and the error texts every handler relies on.

#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include "support/Text.h"

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
        QCOMPARE(IsNumeric(wobblix::test::str(text)), numeric);
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
            const qint16 result = CInt(wobblix::test::str(text));
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

    // The runtime's strings in UTF-8, as standard error, the settings file and the Linux dialog take them:
    // text goes both ways unchanged; bytes that are no well-formed character become one U+FFFD each, and
    // a lone surrogate becomes U+FFFD on the way out.
    void utf8_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<bool>("encode"); // the text gives these bytes
        QTest::addColumn<bool>("decode"); // the bytes give this text
        QTest::newRow("ASCII, NULs kept")
            << QStringLiteral("a") + QChar(0) + u'b' << QByteArray("a\0b", 3) << true << true;
        QTest::newRow("two, three and four bytes")
            << QString::fromUtf8("\xc3\xa9\xce\xae\xf0\x9f\x94\x94")
            << QByteArray("\xc3\xa9\xce\xae\xf0\x9f\x94\x94") << true << true;
        QTest::newRow("a lone surrogate")
            << QString(QChar(0xd800)) << QByteArray("\xef\xbf\xbd") << true << false;
        QTest::newRow("a byte that starts nothing") << QStringLiteral("a\ufffdb")
                                                    << QByteArray("a\xff"
                                                                  "b")
                                                    << false << true;
        QTest::newRow("an overlong slash")
            << QStringLiteral("\ufffd\ufffd") << QByteArray("\xc0\xaf") << false << true;
        QTest::newRow("a sequence cut short")
            << QStringLiteral("\ufffd\ufffdx") << QByteArray("\xe2\x82x") << false << true;
    }
    void utf8()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, utf8);
        QFETCH(bool, encode);
        QFETCH(bool, decode);
        if (encode)
            QCOMPARE(QByteArray::fromStdString(ToUtf8(wobblix::test::str(text))), utf8);
        if (decode)
            QCOMPARE(FromUtf8(utf8.toStdString()), text);
    }
};

QTEST_GUILESS_MAIN(TestRuntimeOperations)
#include "tst_runtime_operations.moc"

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// An error that leaves a handler is shown with its number and text, then the program ends, non-zero.

#include <QtTest>

class TestErrorReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorInAHandlerIsReportedAndEndsTheProgram()
    {
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        probe.setProcessEnvironment(environment);
        probe.start(QStringLiteral(ERROR_REPORT_PROBE), QStringList{});
        QVERIFY(probe.waitForFinished(30000));
        const QString out = QString::fromUtf8(probe.readAllStandardOutput());
        const QString err = QString::fromUtf8(probe.readAllStandardError());
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QVERIFY2(probe.exitCode() != 0, qPrintable(out + err));
        QVERIFY2(out.contains(QStringLiteral("Run-time error '13':\n\nType mismatch")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("[ErrorReport]")), qPrintable(out));
        QVERIFY2(!out.contains(QStringLiteral("went on")), qPrintable(out));
        QVERIFY2(err.contains(QStringLiteral("run-time error 13: Type mismatch")), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "tst_error_report.moc"

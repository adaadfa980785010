// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Hide into the notification area and restore, against a notification area the test stands in for: the
// notification-icon record, the handler's test of the reported number, and the window's two states.

#include "main_window/MainForm.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/qt/CheckBoxWidget.h"
#include "platform/controls/qt/PictureBoxWidget.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "support/FakePlatform.h"
#include "tray/ShellNotifyIcon.h"

#include <QtTest>

using namespace wobblix;
using platform::NotifyArea;

namespace {

// How the notification area reports a mouse action: a mouse movement to Picture1 whose X, in pixels, is the
// mouse message number.
void report(QWidget* picture, quint32 message)
{
    const QPointF at(message, 0);
    QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &move);
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config; // whatever the window loads at start-up comes from here, not the user's settings

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    // Picture1 raises the number in twips, multiplied by the screen's twips per pixel; only the left
    // double-click, undone by the handler's division, is recognised, at 96 and at 120 dots per inch alike.
    void quotientOfTheReportedNumber_data()
    {
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("message");
        for (const double twipsPerPixel : {15.0, 12.0})
            for (int message = 0x200; message <= 0x209; ++message)
                QTest::addRow("%g twips per pixel, 0x%x", twipsPerPixel, message) << twipsPerPixel << message;
    }

    void quotientOfTheReportedNumber()
    {
        QFETCH(double, twipsPerPixel);
        QFETCH(int, message);
        const float xTwips = static_cast<float>(message * twipsPerPixel); // as Picture1 raises it
        QCOMPARE(IsLeftDoubleClick(xTwips, static_cast<float>(twipsPerPixel)), message == 0x203);
    }

    void recordStartsZero()
    {
        const NOTIFYICONDATA record;
        QCOMPARE(record.cbSize, 0u);
        QVERIFY(record.hWnd == nullptr);
        QCOMPARE(record.uID, 0u);
        QCOMPARE(record.uFlags, 0u);
        QCOMPARE(record.uCallbackMessage, 0u);
        QVERIFY(record.hIcon == nullptr);
        QCOMPARE(record.szTip, QString(64, QChar(u'\0')));
    }

    void leftAlignedAssignmentKeepsTheLength()
    {
        platform::String field(8, u'\0');
        LSet(field, u"ab");
        QCOMPARE(field, QStringLiteral("ab      "));
        LSet(field, u"abcdefghij");
        QCOMPARE(field, QStringLiteral("abcdefgh"));
    }

    void hideFillsTheRecord()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        form.startUp();
        const auto* picture1 =
            platform::qt::window(form).findChild<platform::qt::PictureBoxWidget*>(QStringLiteral("Picture1"));
        platform::qt::window(form).findChild<QAction*>(QStringLiteral("menuHide"))->trigger();

        QCOMPARE(nid.cbSize, 88u);
        QVERIFY(nid.hWnd == reinterpret_cast<platform::WindowHandle>(
                                const_cast<platform::qt::PictureBoxWidget*>(picture1)));
        QCOMPARE(nid.uID, 125u);
        QCOMPARE(nid.uFlags, 7u); // NIF_MESSAGE | NIF_ICON | NIF_TIP
        QCOMPARE(nid.uCallbackMessage, 0x200u);
        QVERIFY(nid.hIcon != nullptr);
        QCOMPARE(reinterpret_cast<const QIcon*>(nid.hIcon)->cacheKey(), picture1->Picture().cacheKey());
        // The tip, its NUL at 36, then spaces to the 64th character.
        const QString tip = test::qstr(nid.szTip);
        QCOMPARE(tip.size(), 64);
        QCOMPARE(tip.left(36), test::qstr(NotifyIconTip));
        QCOMPARE(tip.at(36), QChar(u'\0'));
        QCOMPARE(tip.mid(37), QString(27, QLatin1Char(' ')));
        // As the notification area took it: the same 64 characters, one byte each.
        const platform::NOTIFYICONDATAA& passed = world.notifyArea.last;
        QCOMPARE(QByteArray(passed.szTip.data(), 64), tip.toLatin1());
        QVERIFY(passed.hWnd == nid.hWnd);
        QCOMPARE(passed.uFlags, 7u);
    }

    // The whole route: Hide adds the icon; the notification area's reports reach Picture1 and only the left
    // double-click removes the icon and brings the window back, with the focus on the control that had it
    // (on the alarm's switch when none had).
    void hideAndRestore_data()
    {
        QTest::addColumn<QString>("focused"); // the control with the focus at Hide; empty: none
        QTest::addColumn<QString>("restored");
        QTest::newRow("start focus") << QStringLiteral("chkAlarmClock") << QStringLiteral("chkAlarmClock");
        QTest::newRow("hour field") << QStringLiteral("txtHour") << QStringLiteral("txtHour");
        QTest::newRow("none") << QString() << QStringLiteral("chkAlarmClock");
    }
    void hideAndRestore()
    {
        QFETCH(QString, focused);
        QFETCH(QString, restored);
        test::FakePlatform world;
        MainForm form(world.platform());
        form.startUp();
        QVERIFY(form.Visible());
        if (focused.isEmpty())
            platform::qt::window(form).focusWidget()->clearFocus();
        else
            platform::qt::window(form).findChild<QWidget*>(focused)->setFocus();
        auto* picture1 =
            platform::qt::window(form).findChild<platform::qt::PictureBoxWidget*>(QStringLiteral("Picture1"));

        platform::qt::window(form).findChild<QAction*>(QStringLiteral("menuHide"))->trigger();
        QVERIFY(!form.Visible());
        QCOMPARE(world.notifyArea.messages, QList<quint32>{NotifyArea::NIM_ADD});
        // What the desktop sends meanwhile arrives while the window is hidden (its activation, here).
        QCoreApplication::processEvents();

        for (const quint32 ignored :
             {NotifyArea::WM_MOUSEMOVE, NotifyArea::WM_LBUTTONDOWN, NotifyArea::WM_LBUTTONUP,
              NotifyArea::WM_RBUTTONDOWN, NotifyArea::WM_RBUTTONUP, NotifyArea::WM_RBUTTONDBLCLK,
              NotifyArea::WM_MBUTTONDOWN, NotifyArea::WM_MBUTTONUP, NotifyArea::WM_MBUTTONDBLCLK}) {
            report(picture1, ignored);
            QVERIFY2(!form.Visible(), qPrintable(QString::number(ignored, 16)));
        }
        QCOMPARE(world.notifyArea.messages, QList<quint32>{NotifyArea::NIM_ADD});

        QSignalSpy moves(picture1, &platform::qt::PictureBoxWidget::MouseMove);
        report(picture1, NotifyArea::WM_LBUTTONDBLCLK);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(moves.at(0).at(2).toFloat(), 515.0f * 15.0f); // in twips, at 96 dots per inch
        QVERIFY(form.Visible());
        QCOMPARE(world.notifyArea.messages, (QList<quint32>{NotifyArea::NIM_ADD, NotifyArea::NIM_DELETE}));
        QTRY_VERIFY(QApplication::activeWindow() == &platform::qt::window(form));
        QTRY_COMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                     restored);
        QVERIFY(world.messageBox.shown.isEmpty());
    }

    // Where the icon cannot be added, the window stays on screen and says why.
    void withoutNotificationAreaTheWindowStays()
    {
        test::FakePlatform world;
        world.notifyArea.result = false;
        MainForm form(world.platform());
        form.startUp();

        platform::qt::window(form).findChild<QAction*>(QStringLiteral("menuHide"))->trigger();
        QVERIFY(form.Visible());
        QCOMPARE(world.notifyArea.messages, QList<quint32>{NotifyArea::NIM_ADD});
        QCOMPARE(world.messageBox.shown.size(), 1);
        QVERIFY2(world.messageBox.shown.at(0).prompt.contains(
                     QStringLiteral("notification area is not available")),
                 qPrintable(world.messageBox.shown.at(0).prompt));
        QCOMPARE(world.messageBox.shown.at(0).style, platform::MessageBox::Exclamation);
        QCOMPARE(world.messageBox.shown.at(0).title, QStringLiteral("Wobblix Clock"));
        QTRY_VERIFY(QApplication::activeWindow() == &platform::qt::window(form));
    }

    // The clock keeps watching while hidden: the alarm's timer ticks and the sound plays; the window stays
    // hidden.
    void alarmSoundsWhileHidden()
    {
        test::FakePlatform world;
        world.clock.time = QTime(7, 30, 10);
        MainForm form(world.platform());
        form.startUp();
        platform::qt::window(form)
            .findChild<platform::qt::TextBoxWidget*>(QStringLiteral("txtSound"))
            ->setText(QStringLiteral("alarm.wav"));
        platform::qt::window(form)
            .findChild<platform::qt::TextBoxWidget*>(QStringLiteral("txtHour"))
            ->setText(QStringLiteral("7"));
        platform::qt::window(form)
            .findChild<platform::qt::TextBoxWidget*>(QStringLiteral("txtMinute"))
            ->setText(QStringLiteral("30"));
        platform::qt::window(form)
            .findChild<platform::qt::CheckBoxWidget*>(QStringLiteral("chkAlarmClock"))
            ->setValue(platform::CheckBox::Checked);

        platform::qt::window(form).findChild<QAction*>(QStringLiteral("menuHide"))->trigger();
        QVERIFY(!form.Visible());
        QTRY_COMPARE_WITH_TIMEOUT(world.sound.played, QStringList{QStringLiteral("alarm.wav")}, 5000);
        QVERIFY(!form.Visible());
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"

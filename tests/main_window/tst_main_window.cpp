// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a person meets it: its frame, what its description built (every control inside its
// container, captions that fit, twips as pixels), the menu, the focus order and the About message.

#include "main_window/MainForm.h"
#include "platform/controls/qt/Contrast.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "platform/desktop/MessageBox.h"
#include "support/FakePlatform.h"

#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>

using namespace wobblix;

namespace {
const QColor PanelGrey(224, 224, 224);

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frame()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        form.startUp();
        QCOMPARE(platform::qt::window(form).windowTitle(), QStringLiteral("Wobblix Clock"));
        QCOMPARE(platform::qt::clientArea(form).palette().color(QPalette::Window), QColor(0, 0, 64));
        QVERIFY(platform::qt::clientArea(form).autoFillBackground());
        // Fixed size, no Minimize or Maximize button, a close button.
        QCOMPARE(platform::qt::window(form).minimumSize(), platform::qt::window(form).maximumSize());
        QVERIFY(!platform::qt::window(form).windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!platform::qt::window(form).windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(platform::qt::window(form).windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!platform::qt::window(form).windowIcon().isNull());
        // Centred on the screen.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(platform::qt::window(form).geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(platform::qt::window(form).geometry().center().y() - screen.center().y()) <= 1);
        QTRY_COMPARE(focusName(), QStringLiteral("chkAlarmClock"));
    }

    // What the window description built, whatever its rows say: each control lies inside its container
    // (inside a panel's border), and each caption fits its control, in a face narrowed no more than it
    // needs. The labels and check boxes on a panel show its grey.
    void controlsFitTheirContainers()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        const QList<QWidget*> controls = platform::qt::clientArea(form).findChildren<QWidget*>();
        QCOMPARE(controls.size(), 19); // the panels' contents included; the three timers are no widgets
        for (QWidget* control : controls) {
            const QByteArray name = control->objectName().toLatin1();
            const QWidget* container = control->parentWidget();
            QVERIFY2(container->contentsRect().contains(control->geometry()), name.constData());
            QString caption;
            int room = control->contentsRect().width();
            if (auto* label = qobject_cast<QLabel*>(control)) {
                caption = label->text();
            } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
                caption = check->text();
                QStyleOptionButton option;
                option.initFrom(check);
                room = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check).width();
            } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                caption = button->text();
            }
            const auto width = [&](const QFont& font) {
                return QFontMetrics(font).horizontalAdvance(caption);
            };
            QVERIFY2(width(control->font()) <= room, name.constData());
            if (container != &platform::qt::clientArea(form) &&
                (control->inherits("QLabel") || control->inherits("QCheckBox"))) {
                QVERIFY2(control->autoFillBackground(), name.constData());
                QCOMPARE(control->palette().color(control->backgroundRole()), PanelGrey);
            }
            const int stretch = control->font().stretch();
            if (qobject_cast<QLabel*>(control) != nullptr && stretch != QFont::AnyStretch && stretch > 50) {
                QFont wider = control->font();
                wider.setStretch(stretch + 2 < 100 ? stretch + 2 : QFont::AnyStretch);
                QVERIFY2(width(wider) > room, name.constData());
            }
        }
    }

    // Twips become whole pixels at the screen's logical resolution: 15 twips a pixel at 96 dpi, 12 at
    // 120 (the second run of this test, on a screen Qt does not scale). The client area is 5655 x 4200
    // twips, and the upper panel starts 120 twips in.
    void twipsBecomePixels()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchX());
        const QHash<int, std::pair<QSize, QPoint>> expected{{96, {QSize(377, 280), QPoint(8, 8)}},
                                                            {120, {QSize(471, 350), QPoint(10, 10)}}};
        QVERIFY2(expected.contains(dpi), qPrintable(QString::number(dpi)));
        QCOMPARE(platform::qt::clientArea(form).size(), expected[dpi].first);
        QCOMPARE(platform::qt::window(form).findChild<QWidget*>(QStringLiteral("Picture2"))->pos(),
                 expected[dpi].second);
    }

    void controlSettings()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        for (const char* name : {"txtHour", "txtMinute"})
            QCOMPARE(platform::qt::window(form)
                         .findChild<platform::qt::TextBoxWidget*>(QString::fromLatin1(name))
                         ->maxLength(),
                     2);
        QVERIFY(platform::qt::window(form).findChild<QWidget*>(QStringLiteral("Picture1"))->isHidden());
        for (const char* name : {"chkAlarmClock", "chkChimes"})
            QCOMPARE(
                platform::qt::window(form).findChild<QCheckBox*>(QString::fromLatin1(name))->checkState(),
                Qt::Unchecked);
        // The two headings use their own face, larger than the body text.
        const QFont heading =
            platform::qt::window(form).findChild<QLabel*>(QStringLiteral("lblAlarmClock"))->font();
        QCOMPARE(heading.pointSizeF(), 9.75);
        QCOMPARE(platform::qt::window(form).findChild<QLabel*>(QStringLiteral("lblChimes"))->font(), heading);
        // A screen reader can name every control a person can reach.
        for (QWidget* control : platform::qt::window(form).findChildren<QWidget*>()) {
            if (control->focusPolicy() != Qt::NoFocus && !control->inherits("QMenuBar") &&
                !control->inherits("QMenu") && control->parentWidget() != nullptr &&
                !control->objectName().isEmpty())
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

    void menu()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        const QList<QAction*> top = platform::qt::window(form).menuBar()->actions();
        QCOMPARE(top.size(), 2);
        const auto items = [](QAction* menu) {
            QStringList texts;
            for (QAction* item : menu->menu()->actions()) {
                const bool plain = item->isEnabled() && item->isVisible() && !item->isCheckable() &&
                                   item->shortcut().isEmpty();
                texts.append((item->isSeparator() ? QStringLiteral("-") : item->text()) +
                             (plain ? QString() : QStringLiteral(" (not plain)")));
            }
            return texts;
        };
        QCOMPARE(top[0]->text(), QStringLiteral("Options"));
        QCOMPARE(items(top[0]), (QStringList{"Hide", "-", "Save", "-", "Exit"}));
        QCOMPARE(top[1]->text(), QStringLiteral("Help"));
        QCOMPARE(items(top[1]), QStringList{"About.."});
        for (const char* name : {"menuHide", "menudash1", "menuSave", "menudash2", "menuExit", "menuAbout"})
            QVERIFY2(platform::qt::window(form).findChild<QAction*>(QString::fromLatin1(name)) != nullptr,
                     name);
    }

    // The tab indices run from 0 without gaps, and Tab visits the controls that can take the focus in
    // their order, from the first, and comes back round: never a label, a disabled path field or the
    // invisible Picture1.
    void focusOrder()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        form.startUp();
        QVERIFY(QTest::qWaitForWindowActive(&platform::qt::window(form)));
        QMap<int, QWidget*> byTabIndex;
        for (QWidget* control : platform::qt::clientArea(form).findChildren<QWidget*>())
            byTabIndex.insert(control->property("TabIndex").toInt(), control);
        QCOMPARE(byTabIndex.keys().size(), 19);
        QCOMPARE(byTabIndex.firstKey(), 0);
        QCOMPARE(byTabIndex.lastKey(), 18);
        QStringList expected;
        for (QWidget* control : std::as_const(byTabIndex))
            if (control->focusPolicy() & Qt::TabFocus && control->isEnabled() &&
                control->isVisibleTo(&platform::qt::window(form)))
                expected.append(control->objectName());
        QCOMPARE(expected.size(), 10);
        expected.append(expected.first());
        QTRY_COMPARE(focusName(), expected.first());
        QStringList visited{focusName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(focusName());
        }
        QCOMPARE(visited, expected);
    }

    // What the window writes reads, in Qt's own light theme and in GTK's dark one (the second run of this
    // test, in the desktop session): the path fields' text, though disabled (no focus, no typing, a
    // background unlike an enabled field's), and every caption on the grey panels, each at 4.5:1 at least
    // against what is behind it. A check box's box stands out from the panel, and its tick from the box, at
    // the 3:1 a control's parts need, where the theme draws the box dark.
    void textReadable_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("name");
        const QString theme = qEnvironmentVariable("GTK_THEME", QStringLiteral("light"));
        for (const char* name :
             {"txtSound", "txtChimesSoundFile", "lblAlarmClock", "lblSoundFile", "lblHour", "lblMinute",
              "chkAlarmClock", "lblChimes", "lblChimesSoundFile", "chkChimes"})
            QTest::addRow("%s %s", qPrintable(theme), name) << theme << QString::fromLatin1(name);
    }
    void textReadable()
    {
        QFETCH(QString, theme);
        QFETCH(QString, name);
        // The theme is the one this run meets, not Qt's fallback: a dark theme has a dark window.
        const bool dark = theme.endsWith(u":dark");
        QCOMPARE(QApplication::palette().color(QPalette::Window).lightness() < 128, dark);
        test::FakePlatform world;
        MainForm form(world.platform());
        platform::qt::window(form).show();
        QVERIFY(QTest::qWaitForWindowExposed(&platform::qt::window(form)));
        auto* control = platform::qt::window(form).findChild<QWidget*>(name);
        control->clearFocus(); // a focus frame is no text
        const auto best = [](const QImage& drawn, const QRect& area, const auto& behind) {
            double most = 1;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    most = std::max(most, platform::contrast(drawn.pixelColor(x, y), behind(x, y)));
            return most;
        };
        QColor background = PanelGrey;
        QRect text = control->rect();
        if (auto* field = qobject_cast<platform::qt::TextBoxWidget*>(control)) {
            field->setText(QStringLiteral("/home/ann/Sounds/wake.wav"));
            QVERIFY(!field->isEnabled());
            const QImage drawn = field->grab().toImage();
            const QImage enabled =
                platform::qt::window(form).findChild<QWidget*>(QStringLiteral("txtHour"))->grab().toImage();
            // Past the end of the text, inside the frame: the background.
            background = drawn.pixelColor(drawn.width() - 5, drawn.height() / 2);
            QVERIFY(background != enabled.pixelColor(enabled.width() - 5, enabled.height() / 2));
            text = field->rect().adjusted(3, 3, -3, -3);
        } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
            QStyleOptionButton option;
            option.initFrom(check);
            text = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
            const QRect box = check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, check);
            check->setCheckState(Qt::Unchecked);
            const QImage off = check->grab().toImage();
            check->setCheckState(Qt::Checked);
            const QImage on = check->grab().toImage();
            const double edge = best(off, box, [](int, int) { return PanelGrey; });
            const double tick = best(on, box, [&off](int x, int y) { return off.pixelColor(x, y); });
            // The tick stands out from the box in every theme. A dark theme's box is its dark field, which
            // must stand out from the grey panel too (a light theme's is white, edged in grey, as Qt draws
            // it).
            qInfo("%s box on the panel %.2f:1, tick on the box %.2f:1", qPrintable(name), edge, tick);
            QVERIFY2(tick >= 3 && (!dark || edge >= 3),
                     qPrintable(QStringLiteral("box %1, tick %2").arg(edge).arg(tick)));
        }
        const QImage drawn = control->grab().toImage();
        if (background == PanelGrey) // a caption, drawn on the panel's grey
            QCOMPARE(drawn.pixelColor(text.topLeft()), PanelGrey);
        const double most = best(drawn, text, [&background](int, int) { return background; });
        qInfo("%s text %.2f:1", qPrintable(name), most);
        QVERIFY2(most >= platform::ReadableContrast, qPrintable(QString::number(most)));
    }

    void about()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        platform::qt::window(form).findChild<QAction*>(QStringLiteral("menuAbout"))->trigger();
        QCOMPARE(world.messageBox.shown.size(), 1);
        const test::FakeMessageBox::Shown& shown = world.messageBox.shown.first();
        QCOMPARE(shown.title, QStringLiteral("About Wobblix Clock"));
        QCOMPARE(shown.style, 64);
        const QStringList lines = shown.prompt.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Wobblix Clock Version 1.00"));
        QVERIFY(!lines[1].trimmed().isEmpty());
    }

    // Style 64 is an information message with an OK button and nothing else.
    void informationBoxHasOnlyOk()
    {
        platform::SystemMessageBox boxes;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            buttons = box->standardButtons();
            icon = box->icon();
            box->accept();
        });
        QCOMPARE(boxes.MsgBox(nullptr, u"a\r\nb", 64, u"t"), platform::MessageBox::Ok);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(icon, QMessageBox::Information);
    }

    // The timers go on while the About box waits for the user: the alarm still rings.
    void timersTickWhileAboutIsOpen()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        auto* timer = platform::qt::window(form).findChild<QTimer*>(QStringLiteral("Timer1"));
        timer->setInterval(10);
        QSignalSpy ticks(timer, &QTimer::timeout);
        platform::SystemMessageBox boxes;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(ticks.size() >= 2);
            QApplication::activeModalWidget()->close();
        });
        boxes.MsgBox(form.hWnd(), u"About", 64, u"About Wobblix Clock");
        QVERIFY(ticks.size() >= 2);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"

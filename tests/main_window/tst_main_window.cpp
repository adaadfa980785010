// The window as a person meets it: its frame, what its description built (every control inside its
// container, captions that fit, twips as pixels), the menu, the focus order and the About message.

#include "main_window/MainForm.h"
#include "platform/MessageBox.h"
#include "platform/TextBox.h"
#include "support/FakePlatform.h"

#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>

#include <cmath>

using namespace wobblix;

namespace {
const QColor PanelGrey(224, 224, 224);

// The contrast of two colours as the web's accessibility guidelines define it, from 1 to 21.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
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
        QCOMPARE(form.windowTitle(), QStringLiteral("Wobblix Clock"));
        QCOMPARE(form.clientArea()->palette().color(QPalette::Window), QColor(0, 0, 64));
        QVERIFY(form.clientArea()->autoFillBackground());
        // Fixed size, no Minimize or Maximize button, a close button.
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!form.windowIcon().isNull());
        // Centred on the screen.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(form.geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(form.geometry().center().y() - screen.center().y()) <= 1);
        QTRY_COMPARE(focusName(), QStringLiteral("chkAlarmClock"));
    }

    // What the window description built, whatever its rows say: each control lies inside its container
    // (inside a panel's border), and each caption fits its control, in a face narrowed no more than it
    // needs. The labels and check boxes on a panel show its grey.
    void controlsFitTheirContainers()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        const QList<QWidget*> controls = form.clientArea()->findChildren<QWidget*>();
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
            if (container != form.clientArea() &&
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
        QCOMPARE(form.clientArea()->size(), expected[dpi].first);
        QCOMPARE(form.findChild<QWidget*>(QStringLiteral("Picture2"))->pos(), expected[dpi].second);
    }

    void controlSettings()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        for (const char* name : {"txtHour", "txtMinute"})
            QCOMPARE(form.findChild<platform::TextBox*>(QString::fromLatin1(name))->maxLength(), 2);
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("Picture1"))->isHidden());
        for (const char* name : {"chkAlarmClock", "chkChimes"})
            QCOMPARE(form.findChild<QCheckBox*>(QString::fromLatin1(name))->checkState(), Qt::Unchecked);
        // The two headings use their own face, larger than the body text.
        const QFont heading = form.findChild<QLabel*>(QStringLiteral("lblAlarmClock"))->font();
        QCOMPARE(heading.pointSizeF(), 9.75);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("lblChimes"))->font(), heading);
        // A screen reader can name every control a person can reach.
        for (QWidget* control : form.findChildren<QWidget*>()) {
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
        const QList<QAction*> top = form.menuBar()->actions();
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
            QVERIFY2(form.findChild<QAction*>(QString::fromLatin1(name)) != nullptr, name);
    }

    // The tab indices run from 0 without gaps, and Tab visits the controls that can take the focus in
    // their order, from the first, and comes back round: never a label, a disabled path field or the
    // invisible Picture1.
    void focusOrder()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        form.startUp();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QMap<int, QWidget*> byTabIndex;
        for (QWidget* control : form.clientArea()->findChildren<QWidget*>())
            byTabIndex.insert(control->property("TabIndex").toInt(), control);
        QCOMPARE(byTabIndex.keys().size(), 19);
        QCOMPARE(byTabIndex.firstKey(), 0);
        QCOMPARE(byTabIndex.lastKey(), 18);
        QStringList expected;
        for (QWidget* control : std::as_const(byTabIndex))
            if (control->focusPolicy() & Qt::TabFocus && control->isEnabled() && control->isVisibleTo(&form))
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

    // The path fields stay disabled (no focus, no typing, a background unlike an enabled field's), yet
    // their text reads: at least 4.5:1 against that background, as drawn.
    void pathFieldsReadable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("alarm") << QStringLiteral("txtSound");
        QTest::newRow("chimes") << QStringLiteral("txtChimesSoundFile");
    }
    void pathFieldsReadable()
    {
        QFETCH(QString, name);
        test::FakePlatform world;
        MainForm form(world.platform());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* field = form.findChild<platform::TextBox*>(name);
        field->setText(QStringLiteral("/home/ann/Sounds/wake.wav"));
        QVERIFY(!field->isEnabled());
        const QImage drawn = field->grab().toImage();
        const QImage enabled = form.findChild<QWidget*>(QStringLiteral("txtHour"))->grab().toImage();
        // Past the end of the text, inside the frame: the background.
        const QPoint blank(drawn.width() - 5, drawn.height() / 2);
        const QColor background = drawn.pixelColor(blank);
        QVERIFY(background != enabled.pixelColor(enabled.width() - 5, enabled.height() / 2));
        double best = 1;
        for (int y = 3; y < drawn.height() - 3; ++y)
            for (int x = 3; x < drawn.width() - 3; ++x)
                best = std::max(best, contrast(drawn.pixelColor(x, y), background));
        QVERIFY2(best >= 4.5, qPrintable(QString::number(best)));
    }

    void about()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        form.findChild<QAction*>(QStringLiteral("menuAbout"))->trigger();
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
        platform::QtMessageBox boxes;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            buttons = box->standardButtons();
            icon = box->icon();
            box->accept();
        });
        QCOMPARE(boxes.MsgBox(nullptr, QStringLiteral("a\r\nb"), 64, QStringLiteral("t")),
                 platform::MessageBox::Ok);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(icon, QMessageBox::Information);
    }

    // The timers go on while the About box waits for the user: the alarm still rings.
    void timersTickWhileAboutIsOpen()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        auto* timer = form.findChild<QTimer*>(QStringLiteral("Timer1"));
        timer->setInterval(10);
        QSignalSpy ticks(timer, &QTimer::timeout);
        platform::QtMessageBox boxes;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(ticks.size() >= 2);
            QApplication::activeModalWidget()->close();
        });
        boxes.MsgBox(&form, QStringLiteral("About"), 64, QStringLiteral("About Wobblix Clock"));
        QVERIFY(ticks.size() >= 2);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"

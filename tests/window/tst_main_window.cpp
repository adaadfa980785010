// The window as a person meets it: its frame, every control where the layout puts it, the menu, the
// focus order and the About message.

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

using namespace wobblix;

namespace {
constexpr int TwipsPerPixel = 15; // Qt's logical DPI is 96 on the offscreen platform
int px(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
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
        QCOMPARE(form.windowTitle(), QStringLiteral("Wobblix Clock"));
        QCOMPARE(form.clientArea()->size(), QSize(377, 280));
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

    // Every control: class, container, caption, and position and size in twips inside its container.
    void controls_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        const auto row = [](const char* name, const char* container, const char* className,
                            const char* caption, int left, int top, int width, int height) {
            QTest::newRow(name) << QString::fromLatin1(container) << QString::fromLatin1(className)
                                << QString::fromLatin1(caption) << QRect(left, top, width, height);
        };
        row("Picture3", "clientArea", "QFrame", "", 120, 2400, 5415, 1695);
        row("cmdChimesPlay", "Picture3", "QPushButton", "Play", 4080, 960, 855, 375);
        row("cmdChimesBrowse", "Picture3", "QPushButton", "Browse...", 3120, 960, 855, 375);
        row("txtChimesSoundFile", "Picture3", "QLineEdit", "", 120, 960, 2895, 285);
        row("chkChimes", "Picture3", "QCheckBox", "On", 1440, 120, 735, 255);
        row("lblChimesSoundFile", "Picture3", "QLabel", "Sound File", 120, 720, 1215, 255);
        row("lblChimes", "Picture3", "QLabel", "Chimes", 120, 120, 1575, 255);
        row("Picture2", "clientArea", "QFrame", "", 120, 120, 5415, 2175);
        row("Picture1", "Picture2", "QFrame", "", 4440, 120, 255, 255);
        row("chkAlarmClock", "Picture2", "QCheckBox", "On", 1440, 120, 735, 255);
        row("txtSound", "Picture2", "QLineEdit", "", 120, 960, 2895, 285);
        row("cmdBrowse", "Picture2", "QPushButton", "Browse...", 3120, 960, 855, 375);
        row("cmdPlay", "Picture2", "QPushButton", "Play", 4080, 960, 855, 375);
        row("txtHour", "Picture2", "QLineEdit", "", 120, 1680, 975, 285);
        row("txtMinute", "Picture2", "QLineEdit", "", 1440, 1680, 855, 285);
        row("lblAlarmClock", "Picture2", "QLabel", "Alarm Clock", 120, 120, 1575, 255);
        row("lblSoundFile", "Picture2", "QLabel", "Sound File", 120, 720, 1215, 255);
        row("lblHour", "Picture2", "QLabel", "Hour (0 - 23)", 120, 1440, 975, 255);
        row("lblMinute", "Picture2", "QLabel", "Minute (0 - 59)", 1440, 1440, 1095, 255);
    }
    void controls()
    {
        QFETCH(QString, container);
        QFETCH(QString, className);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        test::FakePlatform world;
        MainForm form(world.platform());
        auto* control = form.findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control != nullptr);
        QVERIFY(control->inherits(className.toLatin1().constData()));
        QCOMPARE(control->parentWidget()->objectName(), container);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            QCOMPARE(button->text(), caption);
        else if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), caption);
            // The caption fits the label, in a face narrowed no more than it needs.
            const auto width = [&](const QFont& font) {
                return QFontMetrics(font).horizontalAdvance(caption);
            };
            QVERIFY(width(label->font()) <= label->contentsRect().width());
            const int stretch = label->font().stretch();
            if (stretch != QFont::AnyStretch && stretch > 50) {
                QFont wider = label->font();
                wider.setStretch(stretch + 2 < 100 ? stretch + 2 : QFont::AnyStretch);
                QVERIFY2(width(wider) > label->contentsRect().width(), qPrintable(QString::number(stretch)));
            }
        } else if (auto* box = qobject_cast<QLineEdit*>(control))
            QCOMPARE(box->text(), caption);
        // Inside a panel, positions count from the inner edge of its border.
        const auto* frame = qobject_cast<QFrame*>(control->parentWidget());
        const int border =
            frame != nullptr && container != QStringLiteral("clientArea") ? frame->frameWidth() : 0;
        const QRect expected(border + px(twips.x()), border + px(twips.y()), px(twips.width()),
                             px(twips.height()));
        QCOMPARE(control->geometry(), expected);
        if (container != QStringLiteral("clientArea") && !control->inherits("QPushButton") &&
            !control->inherits("QLineEdit"))
            QCOMPARE(control->palette().color(QPalette::Window), PanelGrey);
    }

    void controlSettings()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        for (const char* name : {"txtSound", "txtChimesSoundFile"}) {
            auto* box = form.findChild<platform::TextBox*>(QString::fromLatin1(name));
            QVERIFY(!box->isEnabled());
        }
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

    // Tab visits exactly these controls, in this order, and comes back round; never the path fields.
    void focusOrder()
    {
        test::FakePlatform world;
        MainForm form(world.platform());
        form.startUp();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QStringList expected{"chkAlarmClock", "cmdBrowse", "cmdPlay",         "txtHour",
                                   "txtMinute",     "chkChimes", "cmdChimesBrowse", "cmdChimesPlay",
                                   "Picture2",      "Picture3",  "chkAlarmClock"};
        QTRY_COMPARE(focusName(), expected.first());
        QStringList visited{focusName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(focusName());
        }
        QCOMPARE(visited, expected);
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

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program's window under Wine, as the system's own window classes build it: frame, controls,
// focus and Tab order, the time fields as typed at the keyboard, and the About box; the controls again in
// each look the prefix can be given (visual style or none, High Contrast), where their captions read and
// their check boxes click. One run of the program serves every test here, in order, until a test asks for
// another look: that ends it and starts one in the new look.

#include "WineLook.h"
#include "WineProgram.h"

#include "platform/controls/qt/Contrast.h"

#include <QColor>
#include <QtTest>

#include <algorithm>

using namespace wobblix::test;
using wine::Look;

Q_DECLARE_METATYPE(ControlDescription)

namespace {

QColor colourFrom(const QString& rgb)
{
    const QStringList channels = rgb.split(u' ');
    return QColor(channels.value(0).toInt(), channels.value(1).toInt(), channels.value(2).toInt());
}

// What a caption shows, as the driver reads it from the screen: its background and its text's colour,
// that of the strokes' cores, the colour furthest from the background that more than a speck of pixels
// show. Invalid colours when the driver could not read it.
struct CaptionColours {
    QColor background;
    QColor text;
    double contrast() const { return wobblix::platform::contrast(text, background); }
};

CaptionColours captionColours(const QString& handle)
{
    constexpr int FewestStrokePixels = 3;
    CaptionColours shown;
    for (const QString& line : wine::driver({QStringLiteral("colours"), handle}).output.split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.value(0) == QLatin1String("background")) {
            shown.background = colourFrom(fields.value(1));
            shown.text = shown.background;
        } else if (fields.value(0) == QLatin1String("ink") && fields.value(2).toInt() >= FewestStrokePixels &&
                   wobblix::platform::contrast(colourFrom(fields.value(1)), shown.background) >
                       shown.contrast()) {
            shown.text = colourFrom(fields.value(1));
        }
    }
    return shown;
}

// The rows "LOOK: NAME" of a table whose columns are the look and a control's name, in that order.
void addRowsIn(std::initializer_list<Look> looks, const char* column,
               std::initializer_list<const char*> names)
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<QString>(column);
    for (const Look look : looks)
        for (const char* name : names)
            QTest::addRow("%s: %s", qPrintable(wine::nameOf(look)), name)
                << look << QString::fromLatin1(name);
}

} // namespace

class TestWineWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(wine::storeSettings({}));
        QVERIFY(programIn(Look::Light));
    }

    // The prefix as the other tests expect it, whatever a test left it in.
    void cleanupTestCase()
    {
        if (m_program != nullptr)
            QVERIFY2(m_program->exit(), m_program->state());
        QVERIFY(wine::setLook(Look::Light));
    }

    void focusAtStart()
    {
        QTRY_COMPARE_WITH_TIMEOUT(m_program->focus(), QStringLiteral("chkAlarmClock"), 10000);
    }

    void frame_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::newRow("caption") << "title"
                                 << "Wobblix Clock";
        QTest::newRow("no minimize box") << "minimizebox"
                                         << "0";
        QTest::newRow("no maximize box") << "maximizebox"
                                         << "0";
        QTest::newRow("no sizing frame") << "thickframe"
                                         << "0";
    }
    void frame()
    {
        QFETCH(QString, property);
        QFETCH(QString, value);
        QCOMPARE(m_program->windowRecord().value(property), value);
    }

    // 377 x 280 pixels of client area at 96 dots per inch, the frame centred on the screen.
    void placeAndSize()
    {
        QCOMPARE(wine::driver({QStringLiteral("dpi")}).output, QStringLiteral("dpi\t96\t96"));
        const QMap<QString, QString> window = m_program->windowRecord();
        QCOMPARE(window.value(QStringLiteral("client")).section(u' ', 2), QStringLiteral("377 280"));
        const QStringList frame = window.value(QStringLiteral("frame")).split(u' ');
        const QRect onScreen(frame.value(0).toInt(), frame.value(1).toInt(), frame.value(2).toInt(),
                             frame.value(3).toInt());
        // The session's screen, 1280 x 800 (tests/session/desktop-session.sh).
        QVERIFY2(qAbs(onScreen.center().x() - 640) <= 1 && qAbs(onScreen.center().y() - 400) <= 1,
                 qPrintable(window.value(QStringLiteral("frame"))));
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("stops");
        const QStringList forward{"cmdBrowse", "cmdPlay",         "txtHour",       "txtMinute",
                                  "chkChimes", "cmdChimesBrowse", "cmdChimesPlay", "Picture2",
                                  "Picture3",  "chkAlarmClock"};
        QStringList backward(forward.rbegin() + 1, forward.rend());
        backward << QStringLiteral("chkAlarmClock");
        QTest::newRow("Tab") << "Tab" << forward;
        QTest::newRow("Shift+Tab") << "shift+Tab" << backward;
    }
    void tabOrder()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, stops);
        QTRY_COMPARE_WITH_TIMEOUT(m_program->focus(), QStringLiteral("chkAlarmClock"), 5000);
        for (const QString& stop : stops) {
            m_program->keys({key});
            QTRY_COMPARE_WITH_TIMEOUT(m_program->focus(), stop, 5000);
        }
    }

    // Keys typed into a time field: only digits pass, values above the field's maximum become the
    // maximum, and two characters are all it holds. Refused keys come first, so that the text shown
    // is reached only once every key has been handled.
    void timeFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("then");
        QTest::addColumn<QString>("shows");
        QTest::newRow("digits") << "txtHour"
                                << "7" << QStringList() << "7";
        QTest::newRow("letter, space, minus, point refused") << "txtHour"
                                                             << "a -.4" << QStringList() << "4";
        QTest::newRow("25 becomes 23") << "txtHour"
                                       << "25" << QStringList() << "23";
        QTest::newRow("75 becomes 59") << "txtMinute"
                                       << "75" << QStringList() << "59";
        // Had the third been taken, BackSpace would leave two.
        QTest::newRow("third character refused") << "txtMinute"
                                                 << "123" << QStringList{"BackSpace"} << "1";
    }
    void timeFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, then);
        QFETCH(QString, shows);
        QVERIFY(m_program->setText(field, QString()));
        m_program->click(field);
        QTRY_COMPARE_WITH_TIMEOUT(m_program->focus(), field, 5000);
        m_program->type(typed);
        if (!then.isEmpty())
            m_program->keys(then);
        QTRY_COMPARE_WITH_TIMEOUT(m_program->text(field), shows, 5000);
    }

    // A start loads only what its window needs: the libraries of the open-file dialog, of sounds and of the
    // notification area come when they are first used. The accessible names are given when a screen reader
    // first asks one of the windows for its accessible object (WM_GETOBJECT), and the accessibility
    // library with them. (COM's own library is not among those checked: under Wine the input methods' library
    // loads it for every window.)
    void librariesOnDemand_data()
    {
        QTest::addColumn<bool>("screenReaderAsks");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QStringList>("notLoaded");
        const QStringList dialogSoundTray{"comdlg32.dll", "winmm.dll", "shell32.dll"};
        QTest::newRow("started") << false << QStringList() << dialogSoundTray + QStringList{"oleacc.dll"};
        QTest::newRow("a screen reader asks") << true << QStringList{"oleacc.dll"} << dialogSoundTray;
    }
    void librariesOnDemand()
    {
        QFETCH(bool, screenReaderAsks);
        QFETCH(QStringList, loaded);
        QFETCH(QStringList, notLoaded);
        if (screenReaderAsks)
            WINE_VERIFY_RAN(wine::driver(
                {QStringLiteral("getobject"), m_program->control(QStringLiteral("chkAlarmClock")).handle}));
        const Ran modules =
            wine::driver({QStringLiteral("modules"), QString::number(m_program->windowsPid())});
        WINE_VERIFY_RAN(modules);
        const QStringList names = modules.output.toLower().remove(QStringLiteral("module\t")).split(u'\n');
        for (const QString& name : loaded)
            QVERIFY2(names.contains(name),
                     qPrintable(name + QStringLiteral(" is not loaded: ") + names.join(u' ')));
        for (const QString& name : notLoaded)
            QVERIFY2(!names.contains(name), qPrintable(name + QStringLiteral(" is loaded")));
    }

    // Help > About..: a message box with the version as its first of two lines, and OK only.
    void about()
    {
        m_program->menu({QStringLiteral("Right"), QStringLiteral("Return"), QStringLiteral("Return")});
        const WineDialog box = findDialog(QStringLiteral("About Wobblix Clock"));
        QVERIFY2(!box.handle.isEmpty(), "no About box");
        QCOMPARE(box.texts.size(), 1);
        const QStringList lines = box.texts[0].split(QRegularExpression(QStringLiteral("\r?\n")));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Wobblix Clock Version 1.00"));
        QCOMPARE(box.buttons.size(), 1);
        QCOMPARE(box.buttons[0].second, QStringLiteral("OK"));
        QCOMPARE(wine::driver({QStringLiteral("press"), box.handle, QStringLiteral("OK")}).status, 0);
        QCOMPARE(wine::driver({QStringLiteral("gone"), box.handle, QStringLiteral("5000")}).status, 0);
    }

    // In the prefix's own look first, where the tests before ran, then without a visual style.
    void controls_data()
    {
        QTest::addColumn<Look>("look");
        QTest::addColumn<ControlDescription>("expected");
        for (const Look look : {Look::Light, Look::Classic})
            for (const ControlDescription& control : windowDescription())
                QTest::addRow("%s: %s", qPrintable(wine::nameOf(look)), qPrintable(control.name))
                    << look << control;
    }
    void controls()
    {
        QFETCH(Look, look);
        QFETCH(ControlDescription, expected);
        QVERIFY(programIn(look));
        const WineControl found = m_program->control(expected.name);
        QVERIFY2(!found.handle.isEmpty(), qPrintable(QStringLiteral("nothing at %1,%2 in %3")
                                                         .arg(expected.pixels().x())
                                                         .arg(expected.pixels().y())
                                                         .arg(expected.container)));
        if (expected.className == QLatin1String("picture")) {
            // The picture boxes are a class of the program's own, the same for all three.
            const QStringList systemClasses{"Button", "Edit", "Static"};
            QVERIFY2(!systemClasses.contains(found.className, Qt::CaseInsensitive),
                     qPrintable(found.className));
            QCOMPARE(found.className, m_program->control(QStringLiteral("Picture2")).className);
        } else {
            QVERIFY2(found.className.compare(expected.className, Qt::CaseInsensitive) == 0,
                     qPrintable(found.className));
        }
        QCOMPARE(found.text, expected.caption);
        QCOMPARE(found.place, expected.pixels());
        QCOMPARE(found.enabled, expected.enabled);
        QCOMPARE(found.visible, expected.visible);
    }

    // In each container the controls lie in the tab order, the labels beneath the rest: the order screen
    // readers read them in.
    void readingOrder()
    {
        QVERIFY(programIn(Look::Light));
        QMap<QString, QList<int>> keys; // by container, top first: the tab index, a label's after the rest
        for (const WineControl& control : controlsOf(m_program->window()))
            keys[control.parent] << control.id + (control.className.compare(QLatin1String("Static"),
                                                                            Qt::CaseInsensitive) == 0
                                                      ? 1000
                                                      : 0);
        QCOMPARE(keys.size(), 3);
        for (const QList<int>& order : std::as_const(keys)) {
            QList<int> sorted = order;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(order, sorted);
        }
    }

    // A click of the mouse on a check box checks it, and a second one unchecks it, drawn with the visual
    // style or without.
    void checkBoxesClick_data()
    {
        addRowsIn({Look::Classic, Look::Light}, "box", {"chkAlarmClock", "chkChimes"});
    }
    void checkBoxesClick()
    {
        QFETCH(Look, look);
        QFETCH(QString, box);
        QVERIFY(programIn(look));
        QCOMPARE(m_program->check(box), 0);
        m_program->click(box);
        QTRY_COMPARE_WITH_TIMEOUT(m_program->check(box), 1, 5000);
        m_program->click(box);
        QTRY_COMPARE_WITH_TIMEOUT(m_program->check(box), 0, 5000);
    }

    // Every caption on the panels, and the paths in their fields, read at 4.5:1 or more on what the
    // screen shows behind them, in each look: with a High Contrast theme's light captions too, which a
    // visual style draws whatever colours the program gives.
    void captionsRead_data()
    {
        addRowsIn({Look::Light, Look::HighContrast, Look::Classic}, "caption",
                  {"lblAlarmClock", "chkAlarmClock", "lblSoundFile", "txtSound", "lblHour", "lblMinute",
                   "lblChimes", "chkChimes", "lblChimesSoundFile", "txtChimesSoundFile"});
    }
    void captionsRead()
    {
        QFETCH(Look, look);
        QFETCH(QString, caption);
        QVERIFY(programIn(look));
        for (const char* field : {"txtSound", "txtChimesSoundFile"})
            if (m_program->text(QString::fromLatin1(field)).isEmpty())
                QVERIFY(m_program->setText(QString::fromLatin1(field),
                                           QStringLiteral(R"(C:\sounds\wake up.wav)")));
        // A focused check box's dotted frame is no caption: the focus goes to a field that is not read.
        if (m_program->focus() != QLatin1String("txtHour")) {
            m_program->click(QStringLiteral("txtHour"));
            QTRY_COMPARE_WITH_TIMEOUT(m_program->focus(), QStringLiteral("txtHour"), 5000);
        }
        const CaptionColours shown = captionColours(m_program->control(caption).handle);
        QVERIFY2(shown.background.isValid() && shown.contrast() >= wobblix::platform::ReadableContrast,
                 qPrintable(QStringLiteral("%1 on %2: %3:1")
                                .arg(shown.text.name(), shown.background.name())
                                .arg(shown.contrast(), 0, 'f', 2)));
    }

private:
    // The program running in `look`: the one running, or a new one in the prefix put in that look.
    bool programIn(Look look)
    {
        if (m_program != nullptr && look == m_look)
            return true;
        if (m_program != nullptr && !m_program->exit())
            qWarning("%s", m_program->state().constData());
        m_program.reset();
        if (!wine::setLook(look))
            return false;
        m_look = look;
        m_program = std::make_unique<WineProgram>();
        if (m_program->start())
            return true;
        qWarning("%s", m_program->state().constData());
        return false;
    }

    std::unique_ptr<WineProgram> m_program;
    Look m_look = Look::Light;
};

QTEST_GUILESS_MAIN(TestWineWindow)
#include "tst_wine_window.moc"

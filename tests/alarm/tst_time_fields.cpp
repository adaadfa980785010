// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The hour and minute fields of the real window, driven with key events, the context menu and the program's
// own assignments: only digits and Backspace change them, the keys that move and select work, at most 2
// characters fit, and a number above 23 (hour) or 59 (minute) becomes that maximum at once.

#include "main_window/MainForm.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "support/FakePlatform.h"

#include <QAction>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QtTest>

#include <memory>

using namespace wobblix;

namespace {

// One key as the keyboard delivers it: the key, its modifiers and the text it produces.
struct Key {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

Key typed(char16_t character)
{
    // Qt's key code of an ASCII character is the character, upper case for a letter.
    const QChar c(character);
    return {c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown, Qt::NoModifier,
            QString(c)};
}

Key ctrl(Qt::Key letter)
{
    return {letter, Qt::ControlModifier, QString(QChar(char16_t(letter - Qt::Key_A + 1)))};
}

// Sends the key as a press and a release, the shortcut-override step included, as a real keyboard does.
void press(QWidget* widget, const Key& k)
{
    QTest::sendKeyEvent(QTest::Click, widget, k.key, k.text, k.modifiers);
}

void type(QWidget* widget, const QString& characters)
{
    for (const QChar c : characters)
        press(widget, typed(c.unicode()));
}

} // namespace

Q_DECLARE_METATYPE(Key)

class TestTimeFields : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keyCodes_data();
    void keyCodes();

    void typingDigits_data();
    void typingDigits();
    void refusedKeys_data();
    void refusedKeys();
    void editingKeys_data();
    void editingKeys();
    void inputMethodText_data();
    void inputMethodText();
    void contextMenuPaste_data();
    void contextMenuPaste();
    void programSetsText_data();
    void programSetsText();

private:
    platform::qt::TextBoxWidget* field(const QString& name) const;

    std::unique_ptr<test::FakePlatform> m_world;
    std::unique_ptr<MainForm> m_form;
};

void TestTimeFields::init()
{
    m_world = std::make_unique<test::FakePlatform>();
    m_form = std::make_unique<MainForm>(m_world->platform());
    platform::qt::window(*m_form).show();
    QVERIFY(QTest::qWaitForWindowExposed(&platform::qt::window(*m_form)));
    QGuiApplication::clipboard()->clear();
}

void TestTimeFields::cleanup()
{
    m_form.reset();
    m_world.reset();
}

platform::qt::TextBoxWidget* TestTimeFields::field(const QString& name) const
{
    auto* box = platform::qt::window(*m_form).findChild<platform::qt::TextBoxWidget*>(name);
    Q_ASSERT(box != nullptr);
    return box;
}

// The key code a text box hands to its KeyPress handler, before any rule changes it; no code means the key
// raises no KeyPress and the box handles it as usual.
void TestTimeFields::keyCodes_data()
{
    QTest::addColumn<Key>("key");
    QTest::addColumn<QList<int>>("codes");
    QTest::newRow("digit") << typed(u'5') << QList<int>{'5'};
    QTest::newRow("letter") << typed(u'a') << QList<int>{'a'};
    QTest::newRow("minus") << typed(u'-') << QList<int>{'-'};
    QTest::newRow("Backspace") << Key{Qt::Key_Backspace, {}, QStringLiteral("\b")} << QList<int>{8};
    QTest::newRow("Enter") << Key{Qt::Key_Return, {}, QStringLiteral("\r")} << QList<int>{13};
    QTest::newRow("keypad Enter") << Key{Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r")}
                                  << QList<int>{13};
    QTest::newRow("Escape") << Key{Qt::Key_Escape, {}, QStringLiteral("\x1b")} << QList<int>{27};
    QTest::newRow("Ctrl+A") << ctrl(Qt::Key_A) << QList<int>{1};
    QTest::newRow("Ctrl+C") << ctrl(Qt::Key_C) << QList<int>{3};
    QTest::newRow("Ctrl+V") << ctrl(Qt::Key_V) << QList<int>{22};
    QTest::newRow("Ctrl+X") << ctrl(Qt::Key_X) << QList<int>{24};
    QTest::newRow("Ctrl+Z") << ctrl(Qt::Key_Z) << QList<int>{26};
    QTest::newRow("Shift+Insert is paste") << Key{Qt::Key_Insert, Qt::ShiftModifier, {}} << QList<int>{22};
    QTest::newRow("Ctrl+Insert is copy") << Key{Qt::Key_Insert, Qt::ControlModifier, {}} << QList<int>{3};
    QTest::newRow("Shift+Delete is cut") << Key{Qt::Key_Delete, Qt::ShiftModifier, {}} << QList<int>{24};
    QTest::newRow("U+AC00 is negative")
        << Key{Qt::Key_unknown, {}, QStringLiteral("\uac00")} << QList<int>{0xac00 - 0x10000};
    QTest::newRow("Delete types nothing") << Key{Qt::Key_Delete, {}, QStringLiteral("\x7f")} << QList<int>{};
    QTest::newRow("Ctrl+Delete types nothing")
        << Key{Qt::Key_Delete, Qt::ControlModifier, {}} << QList<int>{};
    QTest::newRow("Ctrl+Backspace is DEL")
        << Key{Qt::Key_Backspace, Qt::ControlModifier, QStringLiteral("\b")} << QList<int>{127};
    QTest::newRow("Left") << Key{Qt::Key_Left, {}, {}} << QList<int>{};
    QTest::newRow("Shift+Right") << Key{Qt::Key_Right, Qt::ShiftModifier, {}} << QList<int>{};
    QTest::newRow("Home") << Key{Qt::Key_Home, {}, {}} << QList<int>{};
    QTest::newRow("End") << Key{Qt::Key_End, {}, {}} << QList<int>{};
    QTest::newRow("Tab") << Key{Qt::Key_Tab, {}, QStringLiteral("\t")} << QList<int>{};
}

void TestTimeFields::keyCodes()
{
    QFETCH(Key, key);
    QFETCH(QList<int>, codes);
    QWidget owner;
    platform::qt::TextBoxWidget box(&owner);
    QList<int> seen;
    connect(&box, &platform::qt::TextBoxWidget::KeyPress, this, [&seen](qint16& code) { seen.append(code); });
    press(&box, key);
    QCOMPARE(seen, codes);
}

// Each character is typed into the empty field; `after` is the field's text after each one.
void TestTimeFields::typingDigits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("after");
    const auto row = [](const char* tag, const char* name, const char* keys, const QStringList& after) {
        QTest::newRow(tag) << QString::fromLatin1(name) << QString::fromLatin1(keys) << after;
    };
    row("hour 2, 5 clamps", "txtHour", "25", {"2", "23"});
    row("minute 7, 5 clamps", "txtMinute", "75", {"7", "59"});
    row("hour 2, 3 is the maximum", "txtHour", "23", {"2", "23"});
    row("hour 2, 4 clamps", "txtHour", "24", {"2", "23"});
    row("hour 9, 9 clamps", "txtHour", "99", {"9", "23"});
    row("minute 5, 9 is the maximum", "txtMinute", "59", {"5", "59"});
    row("minute 6, 0 clamps", "txtMinute", "60", {"6", "59"});
    row("leading zero stays", "txtHour", "07", {"0", "07"});
    row("double zero stays", "txtMinute", "00", {"0", "00"});
    row("hour third digit refused", "txtHour", "123", {"1", "12", "12"});
    row("minute third digit refused", "txtMinute", "305", {"3", "30", "30"});
    row("no third digit after a clamp", "txtHour", "250", {"2", "23", "23"});
}

void TestTimeFields::typingDigits()
{
    QFETCH(QString, name);
    QFETCH(QString, keys);
    QFETCH(QStringList, after);
    platform::qt::TextBoxWidget* box = field(name);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        press(box, typed(keys.at(i).unicode()));
        QCOMPARE(box->Text(), after.at(i));
    }
}

// Keys other than digits and plain Backspace change nothing at all: not the text, not the
// selection, not the clipboard. Each starts from "1" typed (so there is something to undo), the whole text
// selected (so that a cut, a copy, a paste or a typed character would show) and "5" on the clipboard.
// Select-all starts with no selection instead, so that it would show.
void TestTimeFields::refusedKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Key>("key");
    QTest::addColumn<bool>("selected");
    const struct {
        const char* row;
        Key key;
        bool selected;
    } keys[] = {
        {"letter a", typed(u'a'), true},
        {"letter Z", {Qt::Key_Z, Qt::ShiftModifier, QStringLiteral("Z")}, true},
        {"space", typed(u' '), true},
        {"minus", typed(u'-'), true},
        {"point", typed(u'.'), true},
        {"plus", {Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+")}, true},
        {"comma", typed(u','), true},
        {"e with acute", {Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9")}, true},
        {"Arabic-Indic digit three", {Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0663")}, true},
        {"Hangul syllable", {Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\uac00")}, true},
        {"full-width digit one", {Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\uff11")}, true},
        {"keypad minus", {Qt::Key_Minus, Qt::KeypadModifier, QStringLiteral("-")}, true},
        {"Enter", {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")}, true},
        {"keypad Enter", {Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r")}, true},
        {"Escape", {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")}, true},
        {"Ctrl+C", ctrl(Qt::Key_C), true},
        {"Ctrl+X", ctrl(Qt::Key_X), true},
        {"Ctrl+V", ctrl(Qt::Key_V), true},
        {"Ctrl+Z", ctrl(Qt::Key_Z), true},
        {"Ctrl+Shift+Z", {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("\x1a")}, true},
        {"Ctrl+Y", ctrl(Qt::Key_Y), true},
        {"Ctrl+A", ctrl(Qt::Key_A), false},
        {"Ctrl+K", ctrl(Qt::Key_K), false},
        // The same editing commands on the other keys the desktop binds them to.
        {"Shift+Insert (paste)", {Qt::Key_Insert, Qt::ShiftModifier, {}}, true},
        {"Ctrl+Insert (copy)", {Qt::Key_Insert, Qt::ControlModifier, {}}, true},
        {"Shift+Delete (cut)", {Qt::Key_Delete, Qt::ShiftModifier, {}}, true},
        // Deletions backwards by word, which type DEL.
        {"Ctrl+Backspace", {Qt::Key_Backspace, Qt::ControlModifier, QStringLiteral("\b")}, true},
        {"Ctrl+Shift+Backspace", {Qt::Key_Backspace, Qt::ControlModifier | Qt::ShiftModifier, {}}, true},
        {"Ctrl+U", ctrl(Qt::Key_U), false},
    };
    for (const char* name : {"txtHour", "txtMinute"})
        for (const auto& k : keys)
            QTest::addRow("%s %s", name, k.row) << QString::fromLatin1(name) << k.key << k.selected;
}

void TestTimeFields::refusedKeys()
{
    QFETCH(QString, name);
    QFETCH(Key, key);
    QFETCH(bool, selected);
    platform::qt::TextBoxWidget* box = field(name);
    box->setFocus();
    type(box, QStringLiteral("1"));
    QCOMPARE(box->Text(), QStringLiteral("1"));
    QVERIFY(box->isUndoAvailable());
    if (selected)
        box->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("5"));
    QSignalSpy changes(box, &platform::qt::TextBoxWidget::Change);
    QSignalSpy returns(box, &QLineEdit::returnPressed);
    QList<qint16> seen; // the key codes after the field's KeyPress rule has run
    connect(box, &platform::qt::TextBoxWidget::KeyPress, this, [&seen](qint16& code) { seen.append(code); });

    press(box, key);

    QCOMPARE(seen, QList<qint16>{0});
    QCOMPARE(box->Text(), QStringLiteral("1"));
    QCOMPARE(box->selectedText(), selected ? QStringLiteral("1") : QString());
    QCOMPARE(box->cursorPosition(), 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("5"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(returns.count(), 0);
}

// Keys that type no character (they move, select or delete forwards) keep their usual meaning; Backspace is
// let through. Each row starts from `start` typed into the field, with the cursor at its end.
void TestTimeFields::editingKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("result");
    const auto row = [](const char* tag, const char* name, const char* start, const QKeySequence& keys,
                        const char* result) {
        QTest::newRow(tag) << QString::fromLatin1(name) << QString::fromLatin1(start) << keys
                           << QString::fromLatin1(result);
    };
    using K = QKeyCombination;
    row("Backspace", "txtHour", "12", QKeySequence(Qt::Key_Backspace), "1");
    row("Backspace twice empties", "txtMinute", "45", QKeySequence(Qt::Key_Backspace, Qt::Key_Backspace), "");
    row("Backspace on empty stays empty", "txtHour", "", QKeySequence(Qt::Key_Backspace), "");
    row("Left, Backspace", "txtHour", "12", QKeySequence(Qt::Key_Left, Qt::Key_Backspace), "2");
    row("Home, End, Backspace", "txtHour", "12", QKeySequence(Qt::Key_Home, Qt::Key_End, Qt::Key_Backspace),
        "1");
    row("Left, digit in front", "txtHour", "2", QKeySequence(Qt::Key_Left, Qt::Key_1), "12");
    row("Left, digit in front, clamps", "txtMinute", "5", QKeySequence(Qt::Key_Left, Qt::Key_7), "59");
    row("Shift+Left selects, digit replaces", "txtHour", "12",
        QKeySequence(Qt::SHIFT | Qt::Key_Left, K(Qt::Key_9)), "19");
    row("Shift+Home selects, Backspace", "txtHour", "12",
        QKeySequence(Qt::SHIFT | Qt::Key_Home, K(Qt::Key_Backspace)), "");
    row("Home, Delete", "txtHour", "12", QKeySequence(Qt::Key_Home, Qt::Key_Delete), "2");
    row("Home, Ctrl+Delete", "txtMinute", "45", QKeySequence(K(Qt::Key_Home), Qt::CTRL | Qt::Key_Delete), "");
}

void TestTimeFields::editingKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, result);
    platform::qt::TextBoxWidget* box = field(name);
    box->setFocus();
    type(box, start);
    QCOMPARE(box->Text(), start);
    QTest::keySequence(box, keys);
    QCOMPARE(box->Text(), result);
}

// Text committed by an input method, as a dead key, a compose sequence or an input method editor delivers
// it, into the empty field: only its digits are typed.
void TestTimeFields::inputMethodText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("result");
    const auto row = [](const char* tag, const char* name, const QString& committed, const char* result) {
        QTest::newRow(tag) << QString::fromLatin1(name) << committed << QString::fromLatin1(result);
    };
    row("digit", "txtHour", QStringLiteral("5"), "5");
    row("two digits, clamped", "txtHour", QStringLiteral("25"), "23");
    row("minute two digits, clamped", "txtMinute", QStringLiteral("75"), "59");
    row("composed letter", "txtHour", QStringLiteral("\u00e9"), "");
    row("dead circumflex alone", "txtMinute", QStringLiteral("^"), "");
    row("letter and digit", "txtHour", QStringLiteral("a1"), "1");
    row("full-width digits", "txtMinute", QStringLiteral("\uff11\uff12"), "");
}

void TestTimeFields::inputMethodText()
{
    QFETCH(QString, name);
    QFETCH(QString, committed);
    QFETCH(QString, result);
    platform::qt::TextBoxWidget* box = field(name);
    box->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QApplication::sendEvent(box, &commit);
    QCOMPARE(box->Text(), result);
}

// Pasting through the field's own context menu: the text is cut to 2 characters, then the maximum applies.
// `changes` are the texts the field changed to. The test hears of a change only after the field's own rule
// has run, and that rule sets the maximum from inside the change it clamps, so the clamp comes first.
void TestTimeFields::contextMenuPaste_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("changes");
    for (const char* name : {"txtHour", "txtMinute"}) {
        const char* maximum = qstrcmp(name, "txtHour") == 0 ? "23" : "59";
        const auto row = [name](const char* tag, const char* start, const char* clipboard, const char* result,
                                const QStringList& changes) {
            QTest::addRow("%s %s", name, tag)
                << QString::fromLatin1(name) << QString::fromLatin1(start) << QString::fromLatin1(clipboard)
                << QString::fromLatin1(result) << changes;
        };
        row("123 leaves 12", "", "123", "12", {"12"});
        row("-3 stays", "", "-3", "-3", {"-3"});
        row("99 gives the maximum", "", "99", maximum, {maximum, "99"});
        row("999 gives the maximum", "", "999", maximum, {maximum, "99"});
        row("07 stays", "", "07", "07", {"07"});
        row("blank and digit stays", "", " 5", " 5", {" 5"});
        row("letters stay", "", "abc", "ab", {"ab"});
        row("after a digit, cut to what fits", "1", "234", "12", {"12"});
        row("after a digit, clamped", "7", "7", maximum, {maximum, "77"});
    }
}

void TestTimeFields::contextMenuPaste()
{
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QString, clipboard);
    QFETCH(QString, result);
    QFETCH(QStringList, changes);
    platform::qt::TextBoxWidget* box = field(name);
    box->setFocus();
    type(box, start);
    QGuiApplication::clipboard()->setText(clipboard);
    QStringList seen;
    connect(box, &QLineEdit::textChanged, this, [&seen](const QString& text) { seen.append(text); });

    // Open the field's context menu, as a right click does, and click its Paste item.
    const QPoint inside = box->rect().center();
    QContextMenuEvent open(QContextMenuEvent::Mouse, inside, box->mapToGlobal(inside));
    QSpontaneKeyEvent::setSpontaneous(&open);
    QApplication::sendEvent(box, &open);
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
    QAction* paste = nullptr;
    for (QAction* item : menu->actions())
        if (item->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste"))
            paste = item;
    QVERIFY(paste != nullptr);
    QVERIFY(paste->isEnabled());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);

    QCOMPARE(box->Text(), result);
    QCOMPARE(seen, changes);
}

// The program assigning a text (as loading the settings does): a longer text is cut to its first 2
// characters, then the maximum applies. `changes` as for the paste: the clamp is heard of first.
void TestTimeFields::programSetsText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("changes");
    const auto row = [](const char* tag, const char* name, const char* before, const char* text,
                        const char* result, const QStringList& changes) {
        QTest::newRow(tag) << QString::fromLatin1(name) << QString::fromLatin1(before)
                           << QString::fromLatin1(text) << QString::fromLatin1(result) << changes;
    };
    row("hour 45", "txtHour", "", "45", "23", {"23", "45"});
    row("hour 456 keeps 45, then clamps", "txtHour", "", "456", "23", {"23", "45"});
    row("hour 123 keeps 12", "txtHour", "", "123", "12", {"12"});
    row("hour 23 stays", "txtHour", "", "23", "23", {"23"});
    row("hour 07 stays", "txtHour", "", "07", "07", {"07"});
    row("hour -3 stays", "txtHour", "", "-3", "-3", {"-3"});
    row("hour 2.5 keeps 2.", "txtHour", "", "2.5", "2.", {"2."});
    row("hour letters stay", "txtHour", "", "ab", "ab", {"ab"});
    row("hour emptied stays empty", "txtHour", "5", "", "", {""});
    row("hour 233 over 23: no change", "txtHour", "23", "233", "23", {});
    row("minute 60", "txtMinute", "", "60", "59", {"59", "60"});
    row("minute 999 keeps 99, then clamps", "txtMinute", "", "999", "59", {"59", "99"});
    row("minute 059 keeps 05", "txtMinute", "", "059", "05", {"05"});
    row("minute 45 stays", "txtMinute", "", "45", "45", {"45"});
    row("minute over a clamp", "txtMinute", "59", "75", "59", {"59", "75"});
}

void TestTimeFields::programSetsText()
{
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(QString, result);
    QFETCH(QStringList, changes);
    platform::qt::TextBoxWidget* box = field(name);
    box->setText(before);
    QCOMPARE(box->Text(), before);
    QStringList seen;
    connect(box, &QLineEdit::textChanged, this, [&seen](const QString& text) { seen.append(text); });

    box->setText(text);

    QCOMPARE(box->Text(), result);
    QCOMPARE(seen, changes);
}

QTEST_MAIN(TestTimeFields)
#include "tst_time_fields.moc"

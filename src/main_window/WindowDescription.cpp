// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as the user sees it: frame, colours, every control with its caption, position and size in
// twips, the focus order, and the menu. The controls are one table, read as the window is described, and
// one loop builds them.

#include "main_window/MainForm.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"

#include <QApplication>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>

#include <type_traits>

namespace wobblix {

namespace {

const QColor DarkBlue(0, 0, 64);       // the window's background, seen around and between the panels
const QColor PanelGrey(224, 224, 224); // panels, labels and check boxes
// What is written on the panels: the dark text of a light theme. The panels keep their grey in every
// theme, and a dark theme's light text would read at under 2:1 on it.
const QColor PanelText(Qt::black);

constexpr int WatchIntervalMs = 3000; // how often the alarm and the chimes compare the clock
constexpr int RestIntervalMs = 60000; // how long the clock rests after a sound: past the minute that sounded

// The heading face of the two panel titles; where it is missing, the system's sans-serif stands in.
QFont headingFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    return font;
}

// The body text: the desktop's own face at the small size the layout was drawn for.
QFont bodyFont()
{
    QFont font = QApplication::font();
    font.setPointSizeF(8);
    return font;
}

// Narrows the labels' face just enough for each caption to fit the fixed width the layout gives it; desktop
// faces are wider than the one the layout was drawn for. The chosen stretch is the widest, in steps of 2%,
// at which the caption fits. Every stretch loads a face of its own, which is what start-up waits on, so
// the search starts where the caption's full width says it will end (faces narrow about in proportion)
// and looks at the next stretch up and down from there, not at every stretch from 100% down; the labels
// share one face, and each stretch is measured once for all of them.
void fitCaptions(const QList<QLabel*>& labels)
{
    constexpr int Narrowest = 50; // as narrow as the face goes
    const QFont full = labels.first()->font();
    QMap<int, QFont> faces{{100, full}}; // by stretch
    const auto widthAt = [&](int stretch, const QString& text) {
        if (!faces.contains(stretch)) {
            QFont font = full;
            font.setStretch(stretch);
            faces.insert(stretch, font);
        }
        return QFontMetrics(faces.value(stretch)).horizontalAdvance(text);
    };
    for (QLabel* label : labels) {
        const QString text = label->text();
        const int room = label->contentsRect().width();
        const int wanted = widthAt(100, text);
        int stretch = wanted <= room ? 100 : qBound(Narrowest, room * 100 / wanted / 2 * 2, 98);
        while (stretch > Narrowest && widthAt(stretch, text) > room)
            stretch -= 2;
        while (stretch < 100 && widthAt(stretch + 2, text) <= room)
            stretch += 2;
        label->setFont(faces.value(stretch));
    }
}

// The classes of the window's controls.
enum class Class { PictureBox, Timer, CommandButton, TextBox, CheckBox, Label };

// What a control sets beyond its class's defaults; whatever is not set keeps the default.
struct Further {
    QColor background = {};   // the panels' grey, for a panel and for the labels and check boxes on it,
                              // whose captions are then drawn in PanelText
    bool heading = false;     // the heading face, for the two panel titles
    bool disabled = false;    // the path fields: shown greyed, they cannot be focused or typed into
    int maxLength = 0;        // the time fields hold at most this many characters (0: no limit)
    bool invisible = false;   // Picture1, which only carries the notification icon's picture
    QStringView picture = {}; // the icon a picture box holds, a resource path
    int intervalMs = 0;       // a timer's interval
    bool enabled = false;     // a timer ticking from creation
    QStringView buddy = {};   // the field a label names, for screen readers
    QStringView accessibleName = {}; // what a screen reader calls a control whose caption does not say it
};

// One control of the window. Positions and sizes are in twips inside the container, whose border they
// start from; a timer has no size and its position has no effect. Tab indices run from 0 without gaps;
// a timer has none.
struct Control {
    QStringView name;
    Class kind;
    QStringView container; // "MainForm": the window's client area, below the menu bar
    QStringView caption;
    int left, top, width, height;
    int tabIndex;
    Further further;
};

constexpr int NoTabIndex = -1;

using enum Class;

// The window's controls, in the order the window creates them, each container before what it holds.
// The timers come last, the alarm's first: ticks that fall due together arrive in the order their timers
// started, so at the top of the hour the alarm is checked before the chime, and whichever sounds puts the
// other to rest.
// clang-format off
const Control Controls[] = {
    // Name                  Class          Container    Caption              Left   Top  Width Height Tab
    {u"Picture3",            PictureBox,    u"MainForm", u"",                  120, 2400, 5415, 1695, 15,
     {.background = PanelGrey, .accessibleName = u"Chimes"}},
    {u"cmdChimesPlay",       CommandButton, u"Picture3", u"Play",             4080,  960,  855,  375,  9,
     {.accessibleName = u"Play the chime sound"}},
    {u"cmdChimesBrowse",     CommandButton, u"Picture3", u"Browse...",        3120,  960,  855,  375,  8,
     {.accessibleName = u"Browse for the chime sound file"}},
    {u"txtChimesSoundFile",  TextBox,       u"Picture3", u"",                  120,  960, 2895,  285,  7,
     {.disabled = true, .accessibleName = u"Chimes Sound File"}},
    {u"chkChimes",           CheckBox,      u"Picture3", u"On",               1440,  120,  735,  255,  6,
     {.background = PanelGrey, .accessibleName = u"Chimes On"}},
    {u"lblChimesSoundFile",  Label,         u"Picture3", u"Sound File",        120,  720, 1215,  255, 17,
     {.background = PanelGrey}},
    {u"lblChimes",           Label,         u"Picture3", u"Chimes",            120,  120, 1575,  255, 16,
     {.background = PanelGrey, .heading = true}},
    {u"Picture2",            PictureBox,    u"MainForm", u"",                  120,  120, 5415, 2175, 11,
     {.background = PanelGrey, .accessibleName = u"Alarm Clock"}},
    {u"Picture1",            PictureBox,    u"Picture2", u"",                 4440,  120,  255,  255, 18,
     {.invisible = true, .picture = u":/icons/notification.ico"}},
    {u"chkAlarmClock",       CheckBox,      u"Picture2", u"On",               1440,  120,  735,  255,  0,
     {.background = PanelGrey, .accessibleName = u"Alarm Clock On"}},
    {u"txtSound",            TextBox,       u"Picture2", u"",                  120,  960, 2895,  285,  1,
     {.disabled = true, .accessibleName = u"Alarm Clock Sound File"}},
    {u"cmdBrowse",           CommandButton, u"Picture2", u"Browse...",        3120,  960,  855,  375,  2,
     {.accessibleName = u"Browse for the alarm sound file"}},
    {u"cmdPlay",             CommandButton, u"Picture2", u"Play",             4080,  960,  855,  375,  3,
     {.accessibleName = u"Play the alarm sound"}},
    {u"txtHour",             TextBox,       u"Picture2", u"",                  120, 1680,  975,  285,  4,
     {.maxLength = 2, .accessibleName = u"Hour (0 - 23)"}},
    {u"txtMinute",           TextBox,       u"Picture2", u"",                 1440, 1680,  855,  285,  5,
     {.maxLength = 2, .accessibleName = u"Minute (0 - 59)"}},
    {u"lblAlarmClock",       Label,         u"Picture2", u"Alarm Clock",       120,  120, 1575,  255, 10,
     {.background = PanelGrey, .heading = true}},
    {u"lblSoundFile",        Label,         u"Picture2", u"Sound File",        120,  720, 1215,  255, 14,
     {.background = PanelGrey}},
    {u"lblHour",             Label,         u"Picture2", u"Hour (0 - 23)",     120, 1440,  975,  255, 13,
     {.background = PanelGrey, .buddy = u"txtHour"}},
    {u"lblMinute",           Label,         u"Picture2", u"Minute (0 - 59)",  1440, 1440, 1095,  255, 12,
     {.background = PanelGrey, .buddy = u"txtMinute"}},
    {u"Timer1",              Timer,         u"Picture2", u"",                 4800,  120,    0,    0, NoTabIndex,
     {.intervalMs = WatchIntervalMs, .enabled = true}},
    {u"Timer2",              Timer,         u"Picture3", u"",                 4440,  120,    0,    0, NoTabIndex,
     {.intervalMs = WatchIntervalMs, .enabled = true}},
    {u"Timer3",              Timer,         u"Picture2", u"",                 4680, 1680,    0,    0, NoTabIndex,
     {.intervalMs = RestIntervalMs}},
};
// clang-format on

// Creates one control of the table inside its container, a widget or, for a timer, a plain object.
QObject* createControl(const Control& row, QWidget* container)
{
    const QString caption = row.caption.toString();
    const Further& further = row.further;
    QWidget* control = nullptr;
    switch (row.kind) {
    case Timer:
        return new platform::Timer(further.intervalMs, further.enabled, container);
    case PictureBox: {
        // A picture box without a colour of its own shows its container's.
        auto* box = new platform::PictureBox(
            further.background.isValid() ? further.background : container->palette().color(QPalette::Window),
            container);
        if (!further.picture.isEmpty())
            box->setPicture(QIcon(further.picture.toString()));
        // A panel takes the focus, through Tab only; an invisible one never does.
        box->setFocusPolicy(further.invisible ? Qt::NoFocus : Qt::TabFocus);
        control = box;
        break;
    }
    case CommandButton: {
        auto* button = new QPushButton(caption, container);
        button->setAutoDefault(false);
        control = button;
        break;
    }
    case TextBox: {
        auto* box = new platform::TextBox(container);
        if (further.maxLength > 0)
            box->setMaxLength(further.maxLength);
        control = box;
        break;
    }
    case CheckBox:
        control = new platform::CheckBox(caption, container);
        break;
    case Label: {
        auto* label = new QLabel(caption, container);
        // Labels lie beneath every other control, as they always have: a label that reaches into the
        // control below it must not cover that control's border or check box.
        label->lower();
        if (!further.buddy.isEmpty())
            label->setBuddy(container->findChild<QWidget*>(further.buddy.toString()));
        control = label;
        break;
    }
    }
    if (further.background.isValid() && row.kind != PictureBox) {
        QPalette colours = control->palette();
        colours.setColor(QPalette::Window, further.background);
        // The caption only: a check box's box and tick keep the theme's field colours, which read on
        // the grey in both kinds of theme.
        colours.setColor(QPalette::WindowText, PanelText);
        control->setPalette(colours);
        control->setAutoFillBackground(true);
        control->setBackgroundRole(QPalette::Window); // a check box's own is the lighter button face
    }
    if (further.heading)
        control->setFont(headingFont());
    if (!further.accessibleName.isEmpty())
        control->setAccessibleName(further.accessibleName.toString());
    if (further.disabled)
        control->setEnabled(false);
    return control;
}

} // namespace

void MainForm::createControls()
{
    setWindowTitle(QStringLiteral("Wobblix Clock"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/wobblix-clock.ico")));
    setClientSize(5655, 4200);
    setBackColor(DarkBlue);
    QWidget* client = clientArea();
    client->setFont(bodyFont());

    QList<QLabel*> captions; // the labels in the body face, fitted to their widths below
    QMap<int, QWidget*> byTabIndex;
    for (const Control& row : Controls) {
        auto* panel = client->findChild<platform::PictureBox*>(row.container.toString());
        Q_ASSERT_X(panel != nullptr || row.container == u"MainForm", "MainForm", "a container comes first");
        QObject* created = createControl(row, panel != nullptr ? panel : client);
        created->setObjectName(row.name.toString());
        auto* control = qobject_cast<QWidget*>(created);
        if (control == nullptr)
            continue; // a timer
        if (panel != nullptr)
            panel->place(control, row.left, row.top, row.width, row.height);
        else
            place(control, row.left, row.top, row.width, row.height);
        if (row.further.invisible)
            control->setVisible(false);
        if (auto* label = qobject_cast<QLabel*>(control); label != nullptr && !row.further.heading)
            captions.append(label);
        // The tab index stays readable on the control, as the window describes it.
        control->setProperty("TabIndex", row.tabIndex);
        byTabIndex.insert(row.tabIndex, control);
    }
    fitCaptions(captions);

    // Focus order: Tab visits the controls that take the focus by their tab indices, and comes back to the
    // first. Labels, the disabled path fields, the timers and the invisible Picture1 take none.
    QWidget* previous = nullptr;
    for (QWidget* control : std::as_const(byTabIndex)) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous == nullptr)
            setStartFocus(control);
        else
            setTabOrder(previous, control);
        previous = control;
    }

    // The controls the handlers use, by name.
    const auto bind = [this](auto*& member, QStringView name) {
        member = findChild<std::remove_reference_t<decltype(*member)>*>(name.toString());
        Q_ASSERT_X(member != nullptr, "MainForm", "a control the handlers use is missing from the table");
    };
    bind(Picture2, u"Picture2");
    bind(Picture1, u"Picture1");
    bind(Timer1, u"Timer1");
    bind(Timer3, u"Timer3");
    bind(chkAlarmClock, u"chkAlarmClock");
    bind(txtSound, u"txtSound");
    bind(cmdBrowse, u"cmdBrowse");
    bind(cmdPlay, u"cmdPlay");
    bind(txtHour, u"txtHour");
    bind(txtMinute, u"txtMinute");
    bind(Picture3, u"Picture3");
    bind(Timer2, u"Timer2");
    bind(chkChimes, u"chkChimes");
    bind(txtChimesSoundFile, u"txtChimesSoundFile");
    bind(cmdChimesBrowse, u"cmdChimesBrowse");
    bind(cmdChimesPlay, u"cmdChimesPlay");
}
void MainForm::createMenu()
{
    QMenuBar* bar = menuBar();
    // No shortcut keys: the captions carry no mnemonic.
    QMenu* menuOptions = bar->addMenu(QStringLiteral("Options"));
    menuOptions->setObjectName(QStringLiteral("menuOptions"));
    menuHide = menuOptions->addAction(QStringLiteral("Hide"));
    menuHide->setObjectName(QStringLiteral("menuHide"));
    menuOptions->addSeparator()->setObjectName(QStringLiteral("menudash1"));
    menuSave = menuOptions->addAction(QStringLiteral("Save"));
    menuSave->setObjectName(QStringLiteral("menuSave"));
    menuOptions->addSeparator()->setObjectName(QStringLiteral("menudash2"));
    menuExit = menuOptions->addAction(QStringLiteral("Exit"));
    menuExit->setObjectName(QStringLiteral("menuExit"));

    QMenu* menuHelp = bar->addMenu(QStringLiteral("Help"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    menuAbout = menuHelp->addAction(QStringLiteral("About.."));
    menuAbout->setObjectName(QStringLiteral("menuAbout"));
}

} // namespace wobblix

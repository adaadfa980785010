// The window as the user sees it: frame, colours, every control with its caption, position and size in
// twips, the focus order, and the menu.

#include "main_window/MainForm.h"

#include "platform/CheckBox.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace wobblix {

namespace {

const QColor DarkBlue(0, 0, 64);       // the window's background, seen around and between the panels
const QColor PanelGrey(224, 224, 224); // panels, labels and check boxes

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

// Labels lie beneath every other control, as they always have: a label that reaches into the control
// below it must not cover that control's border or check box.
QLabel* label(const QString& name, const QString& caption, QWidget* container)
{
    auto* control = new QLabel(caption, container);
    control->setObjectName(name);
    control->setAutoFillBackground(true);
    control->lower();
    return control;
}

// Narrows the labels' face just enough for each caption to fit the fixed width the layout gives it; desktop
// faces are wider than the one the layout was drawn for. Faces do not narrow exactly in proportion, so
// each caption steps down until it really fits. The labels share one face, and each step of it is
// measured once for all of them: every step loads a face of its own, which is what start-up waits on.
void fitCaptions(QList<QLabel*> labels)
{
    QFont font = labels.first()->font();
    for (int stretch = 100; !labels.isEmpty(); stretch -= 2) {
        if (stretch < 100)
            font.setStretch(stretch);
        const QFontMetrics metrics(font);
        labels.removeIf([&](QLabel* label) {
            if (stretch > 50 && metrics.horizontalAdvance(label->text()) > label->contentsRect().width())
                return false;
            label->setFont(font); // fits, or as narrow as the face goes
            return true;
        });
    }
}

platform::CheckBox* checkBox(const QString& name, const QString& accessibleName, QWidget* container)
{
    auto* control = new platform::CheckBox(QStringLiteral("On"), container);
    control->setObjectName(name);
    control->setAccessibleName(accessibleName);
    control->setAutoFillBackground(true);
    control->setBackgroundRole(QPalette::Window); // the panel's grey, not the lighter button face
    return control;
}

QPushButton* button(const QString& name, const QString& caption, const QString& accessibleName,
                    QWidget* container)
{
    auto* control = new QPushButton(caption, container);
    control->setObjectName(name);
    control->setAccessibleName(accessibleName);
    control->setAutoDefault(false);
    return control;
}

platform::TextBox* textBox(const QString& name, const QString& accessibleName, QWidget* container)
{
    auto* control = new platform::TextBox(container);
    control->setObjectName(name);
    control->setAccessibleName(accessibleName);
    return control;
}

// The path fields show a path but cannot be focused, selected or typed into: only Browse and the stored
// settings fill them.
platform::TextBox* pathBox(const QString& name, const QString& accessibleName, QWidget* container)
{
    platform::TextBox* control = textBox(name, accessibleName, container);
    control->setEnabled(false);
    return control;
}

platform::TextBox* timeBox(const QString& name, const QString& accessibleName, QWidget* container)
{
    platform::TextBox* control = textBox(name, accessibleName, container);
    control->setMaxLength(2);
    return control;
}

platform::Timer* timer(const QString& name, int intervalMs, bool enabled, QObject* container)
{
    auto* control = new platform::Timer(intervalMs, enabled, container);
    control->setObjectName(name);
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

    // Lower panel: the hourly chimes.
    Picture3 = new platform::PictureBox(PanelGrey, client);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setAccessibleName(QStringLiteral("Chimes"));
    place(Picture3, 120, 2400, 5415, 1695);
    Timer2 = timer(QStringLiteral("Timer2"), WatchIntervalMs, true, Picture3);
    cmdChimesPlay = button(QStringLiteral("cmdChimesPlay"), QStringLiteral("Play"),
                           QStringLiteral("Play the chime sound"), Picture3);
    Picture3->place(cmdChimesPlay, 4080, 960, 855, 375);
    cmdChimesBrowse = button(QStringLiteral("cmdChimesBrowse"), QStringLiteral("Browse..."),
                             QStringLiteral("Browse for the chime sound file"), Picture3);
    Picture3->place(cmdChimesBrowse, 3120, 960, 855, 375);
    txtChimesSoundFile =
        pathBox(QStringLiteral("txtChimesSoundFile"), QStringLiteral("Chimes Sound File"), Picture3);
    Picture3->place(txtChimesSoundFile, 120, 960, 2895, 285);
    chkChimes = checkBox(QStringLiteral("chkChimes"), QStringLiteral("Chimes On"), Picture3);
    Picture3->place(chkChimes, 1440, 120, 735, 255);
    QLabel* lblChimesSoundFile =
        label(QStringLiteral("lblChimesSoundFile"), QStringLiteral("Sound File"), Picture3);
    Picture3->place(lblChimesSoundFile, 120, 720, 1215, 255);
    QLabel* lblChimes = label(QStringLiteral("lblChimes"), QStringLiteral("Chimes"), Picture3);
    lblChimes->setFont(headingFont());
    Picture3->place(lblChimes, 120, 120, 1575, 255);

    // Upper panel: the alarm.
    Picture2 = new platform::PictureBox(PanelGrey, client);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAccessibleName(QStringLiteral("Alarm Clock"));
    place(Picture2, 120, 120, 5415, 2175);
    Timer3 = timer(QStringLiteral("Timer3"), RestIntervalMs, false, Picture2);
    Timer1 = timer(QStringLiteral("Timer1"), WatchIntervalMs, true, Picture2);
    Picture1 = new platform::PictureBox(PanelGrey, Picture2);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPicture(QIcon(QStringLiteral(":/icons/notification.ico")));
    Picture2->place(Picture1, 4440, 120, 255, 255);
    Picture1->setVisible(false);
    chkAlarmClock = checkBox(QStringLiteral("chkAlarmClock"), QStringLiteral("Alarm Clock On"), Picture2);
    Picture2->place(chkAlarmClock, 1440, 120, 735, 255);
    txtSound = pathBox(QStringLiteral("txtSound"), QStringLiteral("Alarm Clock Sound File"), Picture2);
    Picture2->place(txtSound, 120, 960, 2895, 285);
    cmdBrowse = button(QStringLiteral("cmdBrowse"), QStringLiteral("Browse..."),
                       QStringLiteral("Browse for the alarm sound file"), Picture2);
    Picture2->place(cmdBrowse, 3120, 960, 855, 375);
    cmdPlay = button(QStringLiteral("cmdPlay"), QStringLiteral("Play"),
                     QStringLiteral("Play the alarm sound"), Picture2);
    Picture2->place(cmdPlay, 4080, 960, 855, 375);
    txtHour = timeBox(QStringLiteral("txtHour"), QStringLiteral("Hour (0 - 23)"), Picture2);
    Picture2->place(txtHour, 120, 1680, 975, 285);
    txtMinute = timeBox(QStringLiteral("txtMinute"), QStringLiteral("Minute (0 - 59)"), Picture2);
    Picture2->place(txtMinute, 1440, 1680, 855, 285);
    QLabel* lblAlarmClock = label(QStringLiteral("lblAlarmClock"), QStringLiteral("Alarm Clock"), Picture2);
    lblAlarmClock->setFont(headingFont());
    Picture2->place(lblAlarmClock, 120, 120, 1575, 255);
    QLabel* lblSoundFile = label(QStringLiteral("lblSoundFile"), QStringLiteral("Sound File"), Picture2);
    Picture2->place(lblSoundFile, 120, 720, 1215, 255);
    QLabel* lblHour = label(QStringLiteral("lblHour"), QStringLiteral("Hour (0 - 23)"), Picture2);
    Picture2->place(lblHour, 120, 1440, 975, 255);
    QLabel* lblMinute = label(QStringLiteral("lblMinute"), QStringLiteral("Minute (0 - 59)"), Picture2);
    Picture2->place(lblMinute, 1440, 1440, 1095, 255);
    lblHour->setBuddy(txtHour);
    lblMinute->setBuddy(txtMinute);
    fitCaptions({lblSoundFile, lblHour, lblMinute, lblChimesSoundFile});

    // Focus order. Labels, the disabled path fields, the timers and the invisible Picture1 take no focus;
    // the two panels do, last, and Tab then comes back to the alarm's switch.
    Picture2->setFocusPolicy(Qt::TabFocus);
    Picture3->setFocusPolicy(Qt::TabFocus);
    Picture1->setFocusPolicy(Qt::NoFocus);
    QWidget* const focusOrder[] = {chkAlarmClock, cmdBrowse,       cmdPlay,       txtHour,  txtMinute,
                                   chkChimes,     cmdChimesBrowse, cmdChimesPlay, Picture2, Picture3};
    for (std::size_t i = 1; i < std::size(focusOrder); ++i)
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    setStartFocus(chkAlarmClock);
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

// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The Browse buttons as a person uses them: the real window opens Qt's own file dialog, and the test
// types into its name box, presses Enter or Escape and answers its questions, as a person would.

#include "main_window/MainForm.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/qt/CheckBoxWidget.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "platform/controls/qt/TimerWidget.h"
#include "platform/desktop/FileDialog.h"
#include "platform/desktop/qt/QtFileDialog.h"
#include "sound/FileOpen.h"
#include "support/FakePlatform.h"

#include <QtTest>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

using namespace wobblix;

namespace {

// Acts on the modal windows that the window under test opens, from inside their event loops: the click
// that opens one returns only once it is closed. After a failed step, or when a window stays open too
// long, it closes whatever is still open, so that a failing test ends instead of hanging.
class Person final : public QObject {
public:
    Person()
    {
        connect(&m_watchdog, &QTimer::timeout, this, &Person::closeLeftovers);
        m_watchdog.start(50);
        m_sinceStart.start();
    }

    // Runs act on the first visible modal window of type T. Call it before the step that opens it.
    template <typename T> void whenOpen(std::function<void(T*)> act)
    {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll, act] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (window == nullptr || !window->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            // The window manager's part: the new window becomes the active one. Qt then puts the focus
            // where the window keeps it.
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            act(window);
        });
        poll->start(10);
    }

private:
    void closeLeftovers()
    {
        QWidget* open = QApplication::activeModalWidget();
        if (open == nullptr)
            return;
        if (!QTest::currentTestFailed() && m_sinceStart.elapsed() < 30000)
            return;
        if (!QTest::currentTestFailed())
            QTest::qFail("a modal window stayed open for 30 s", __FILE__, __LINE__);
        open->close();
    }

    QTimer m_watchdog;
    QElapsedTimer m_sinceStart;
};

// Types text as a keyboard and input method would deliver it: QTest::keyClicks knows only ASCII keys.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QLineEdit* nameBox(QFileDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Types text into the dialog's name box and presses Enter. Returns once the dialog has dealt with it,
// questions included.
void typeAndEnter(QFileDialog* dialog, const QString& text)
{
    QLineEdit* box = nameBox(dialog);
    QVERIFY(box != nullptr);
    QTRY_VERIFY(box->hasFocus());
    typeText(box, text);
    QCOMPARE(box->text(), text);
    QTest::keyClick(box, Qt::Key_Return);
}

// The item of the list's folder shown with that name, or none.
QModelIndex listed(const QListView* list, const QString& name)
{
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
        const QModelIndex item = model->index(row, 0, list->rootIndex());
        if (item.data().toString() == name)
            return item;
    }
    return {};
}

void writeFile(const QString& path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("RIFF");
}

// A file path of exactly `length` characters under folder: folders of 200 characters, then one of what
// is left (at most 255, the longest name a folder can have), then the file "x.wav".
QString pathOfLength(const QString& folder, qsizetype length)
{
    const QString fileName = QStringLiteral("x.wav");
    QString path = folder;
    const auto lastFolderLength = [&] { return length - path.size() - 1 - 1 - fileName.size(); };
    while (lastFolderLength() > 255)
        path += u'/' + QString(200, u'd');
    path += u'/' + QString(lastFolderLength(), u'e');
    return path + u'/' + fileName;
}

} // namespace

class TestSoundChooser : public QObject {
    Q_OBJECT

private:
    enum GivingUp { CancelButton, Escape, Close };

    // The window with the real dialog; the rest of the world is fake.
    struct Window {
        test::FakePlatform world;
        platform::QtFileDialog fileDialog;
        MainForm form{platform::Platform{world.clock, world.messageBox, world.sound, fileDialog,
                                         world.notifyArea, world.settings, world.application}};

        Window()
        {
            platform::qt::window(form).show();
            QVERIFY(QTest::qWaitForWindowExposed(&platform::qt::window(form)));
        }
        QPushButton* button(const char* name) const
        {
            return platform::qt::window(form).findChild<QPushButton*>(QString::fromLatin1(name));
        }
        platform::qt::TextBoxWidget* field(const char* name) const
        {
            return platform::qt::window(form).findChild<platform::qt::TextBoxWidget*>(
                QString::fromLatin1(name));
        }
        // Clicks the button and returns once the dialog it opened has closed.
        void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    };

    QString file(const QString& name) const { return m_files.filePath(name); }

    QTemporaryDir m_config; // the dialog's own remembered state goes here, not into the user's settings
    QTemporaryDir m_files;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        QVERIFY(m_files.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        writeFile(file(QStringLiteral("bell.wav")));
        writeFile(file(QStringLiteral("Größe Glocke 2.wav")));
        writeFile(file(QStringLiteral("target.wav")));
        QVERIFY(QFile::link(file(QStringLiteral("target.wav")), file(QStringLiteral("link.wav"))));
        QVERIFY(QFile::link(file(QStringLiteral("gone.wav")), file(QStringLiteral("dangling.wav"))));
        QVERIFY(QDir(m_files.path()).mkdir(QStringLiteral("sub")));
    }

    // What each button hands to the dialog, before any dialog of either button and after one: every
    // field the dialog reads is refilled, and only the button's own field takes the answer, up to its NUL.
    void recordHandedToTheDialog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("untouched");
        QTest::newRow("alarm") << "cmdBrowse"
                               << "txtSound"
                               << "txtChimesSoundFile";
        QTest::newRow("chime") << "cmdChimesBrowse"
                               << "txtChimesSoundFile"
                               << "txtSound";
    }
    void recordHandedToTheDialog()
    {
        QFETCH(QString, button);
        QFETCH(QString, written);
        QFETCH(QString, untouched);
        test::FakePlatform world;
        MainForm form(world.platform());
        const QChar nul(u'\0');
        QList<platform::OPENFILENAMEA> handed;
        world.fileDialog.answer = [&](platform::OPENFILENAMEA& record) {
            handed.append(record);
            // The dialog's answer: the path and its NUL over the start of the buffer.
            record.lpstrFile->replace(0, 12, std::string("/a/bell.wav") + '\0');
            return true;
        };
        const auto field = [&](const QString& name) {
            return platform::qt::window(form).findChild<platform::qt::TextBoxWidget*>(name);
        };
        const auto click = [&] { platform::qt::window(form).findChild<QPushButton*>(button)->click(); };
        click();
        QCOMPARE(field(written)->Text(), QStringLiteral("/a/bell.wav"));
        QCOMPARE(field(untouched)->Text(), QString());
        world.fileDialog.answer = [&](platform::OPENFILENAMEA& record) {
            handed.append(record);
            return false; // Cancel
        };
        click();
        QCOMPARE(field(written)->Text(), QStringLiteral("/a/bell.wav"));

        QCOMPARE(handed.size(), 2);
        // The record as the dialog takes it: every text in its 8-bit form, NULs included.
        const auto ansi = [](const QString& text) { return text.toUtf8(); };
        const auto bytes = [](const std::optional<std::string>& text) {
            return text ? QByteArray::fromStdString(*text) : QByteArray();
        };
        for (const platform::OPENFILENAMEA& record : handed) {
            QCOMPARE(record.lStructSize, 76u);
            QCOMPARE(record.hwndOwner, form.hWnd());
            QCOMPARE(bytes(record.lpstrFilter),
                     ansi(QStringLiteral("Wave Sound Files") + nul + "*.wav" + nul + nul));
            QCOMPARE(record.nFilterIndex, 1u);
            QCOMPARE(bytes(record.lpstrFile), ansi(QString(1024, u' ') + nul + nul));
            QCOMPARE(record.nMaxFile, 1026u);
            QCOMPARE(bytes(record.lpstrFileTitle), ansi(nul + QString(512, u' ') + nul + nul));
            QCOMPARE(record.nMaxFileTitle, 515u);
            QCOMPARE(bytes(record.lpstrInitialDir), ansi(QStringLiteral("c:\\") + nul + nul));
            QCOMPARE(bytes(record.lpstrTitle), QByteArray("Sound to Play"));
            QCOMPARE(record.Flags, 0x382004u);
            QCOMPARE(bytes(record.lpstrDefExt), ansi(QStringLiteral("wav") + nul + nul));
            // Never set.
            QVERIFY(!record.lpstrCustomFilter.has_value());
            QVERIFY(!record.lpTemplateName.has_value());
            QCOMPARE(record.hInstance, 0u);
            QCOMPARE(record.lpfnHook, 0u);
        }
    }

    // An existing file, typed as a full path, comes back exactly, without a question; a symbolic link as
    // the link's own path, even when its target is gone.
    void confirmExisting_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("wave file") << QStringLiteral("bell.wav");
        QTest::newRow("blanks and non-ASCII") << QStringLiteral("Größe Glocke 2.wav");
        QTest::newRow("symbolic link") << QStringLiteral("link.wav");
        QTest::newRow("link without target") << QStringLiteral("dangling.wav");
    }
    void confirmExisting()
    {
        QFETCH(QString, name);
        Window window;
        Person person;
        bool questioned = false;
        person.whenOpen<QMessageBox>([&](QMessageBox* box) {
            questioned = true;
            box->reject();
        });
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) { typeAndEnter(dialog, file(name)); });
        window.click("cmdBrowse");
        QCOMPARE(window.field("txtSound")->Text(), file(name));
        QVERIFY(!questioned);
        // The record answers as the dialog would: the path with its NUL at the start of the buffer, the
        // name alone in the title buffer. The buffer keeps its 1026 bytes, where the offsets count.
        QVERIFY(test::qstr(*OFName.lpstrFile).startsWith(file(name) + QChar(u'\0')));
        QVERIFY(test::qstr(*OFName.lpstrFileTitle).startsWith(name + QChar(u'\0')));
        const QByteArray buffer = test::qstr(*OFName.lpstrFile).toUtf8();
        QCOMPARE(buffer.size(), 1026);
        QCOMPARE(OFName.nFileOffset, file(name).toUtf8().size() - name.toUtf8().size());
        QCOMPARE(buffer.mid(OFName.nFileExtension, 3), QByteArray("wav"));
    }

    // A person who opens the folder and double-clicks the file in the list: a link is still the link.
    void chooseFromList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("wave file") << QStringLiteral("bell.wav");
        QTest::newRow("symbolic link") << QStringLiteral("link.wav");
    }
    void chooseFromList()
    {
        QFETCH(QString, name);
        Window window;
        Person person;
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) {
            typeAndEnter(dialog, m_files.path()); // Enter on a folder opens it
            QTRY_COMPARE(dialog->directory().absolutePath(), m_files.path());
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QVERIFY(list != nullptr);
            QModelIndex item;
            QTRY_VERIFY((item = listed(list, name)).isValid()); // the folder is read in the background
            list->scrollTo(item);
            const QPoint centre = list->visualRect(item).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        });
        window.click("cmdBrowse");
        QCOMPARE(window.field("txtSound")->Text(), file(name));
    }

    // A name that does not exist is accepted only after the dialog's question, and never created. A name
    // typed without an extension gets "wav" first.
    void createQuestion_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("field");
        QTest::newRow("missing wave file, yes") << "missing.wav"
                                                << "missing.wav" << true << "missing.wav";
        QTest::newRow("missing wave file, no") << "missing.wav"
                                               << "missing.wav" << false << "";
        QTest::newRow("no extension, yes") << "wake"
                                           << "wake.wav" << true << "wake.wav";
        QTest::newRow("no extension, no") << "wake"
                                          << "wake.wav" << false << "";
    }
    void createQuestion()
    {
        QFETCH(QString, typed);
        QFETCH(QString, asked);
        QFETCH(bool, yes);
        QFETCH(QString, field);
        Window window;
        window.field("txtSound")->setText(file(QStringLiteral("bell.wav")));
        Person person;
        QString question;
        bool stillOpenAfterNo = false;
        person.whenOpen<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            QTest::mouseClick(box->button(yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
        });
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) {
            typeAndEnter(dialog, file(typed));
            if (yes)
                return;
            // Back in the dialog with the name still there; the person gives up.
            stillOpenAfterNo = dialog->isVisible() && nameBox(dialog)->text() == file(typed);
            QTest::keyClick(nameBox(dialog), Qt::Key_Escape);
        });
        window.click("cmdBrowse");
        QVERIFY2(question.contains(asked), qPrintable(question));
        QVERIFY(question.contains(QStringLiteral("create")));
        QCOMPARE(window.field("txtSound")->Text(),
                 field.isEmpty() ? file(QStringLiteral("bell.wav")) : file(field));
        QCOMPARE(stillOpenAfterNo, !yes);
        QVERIFY(!QFile::exists(file(asked)));
    }

    // Cancel, Escape or closing the dialog: the field keeps its text, an earlier path or empty, and there
    // is no message.
    void cancel_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("earlier");
        for (const QString& earlier : {QString(), QStringLiteral("/earlier/alarm.wav")}) {
            const QByteArray tag = earlier.isEmpty() ? " (empty field)" : " (earlier path)";
            QTest::newRow("Cancel" + tag) << int(CancelButton) << earlier;
            QTest::newRow("Escape" + tag) << int(Escape) << earlier;
            QTest::newRow("close" + tag) << int(Close) << earlier;
        }
    }
    void cancel()
    {
        QFETCH(int, how);
        QFETCH(QString, earlier);
        Window window;
        window.field("txtSound")->setText(earlier);
        Person person;
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) {
            typeText(nameBox(dialog), file(QStringLiteral("bell.wav"))); // typed, then given up
            switch (how) {
            case CancelButton:
                QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                                  Qt::LeftButton);
                break;
            case Escape:
                QTest::keyClick(nameBox(dialog), Qt::Key_Escape);
                break;
            case Close:
                dialog->close();
                break;
            }
        });
        window.click("cmdBrowse");
        QCOMPARE(window.field("txtSound")->Text(), earlier);
        QVERIFY(window.world.messageBox.shown.isEmpty());
    }

    // The record's file buffer holds 1026 characters: a path of 1025 and its NUL fit, a longer one is not
    // returned and the field keeps its text.
    void pathLengthLimit_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("returned");
        QTest::newRow("1025 characters") << 1025 << true;
        QTest::newRow("1026 characters") << 1026 << false;
    }
    void pathLengthLimit()
    {
        QFETCH(int, length);
        QFETCH(bool, returned);
        const QString path = pathOfLength(file(QStringLiteral("sub")), length);
        QCOMPARE(path.size(), length);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        writeFile(path);
        Window window;
        window.field("txtSound")->setText(file(QStringLiteral("bell.wav")));
        Person person;
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) { typeAndEnter(dialog, path); });
        window.click("cmdBrowse");
        QCOMPARE(window.field("txtSound")->Text(), returned ? path : file(QStringLiteral("bell.wav")));
    }

    // Both buttons open the same dialog, and nothing of the first carries into the second; each writes its
    // own field only.
    void alarmThenChime()
    {
        Window window;
        Person person;
        struct Seen {
            QString title;
            QStringList filters;
            QString folder;
            QString name;
            QString suffix;
            bool modalToWindow = false;
        };
        const auto look = [&](QFileDialog* dialog) {
            return Seen{dialog->windowTitle(),
                        dialog->nameFilters(),
                        dialog->directory().absolutePath(),
                        nameBox(dialog)->text(),
                        dialog->defaultSuffix(),
                        dialog->isModal() && dialog->parentWidget() == &platform::qt::window(window.form)};
        };
        Seen first;
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) {
            first = look(dialog);
            typeAndEnter(dialog, file(QStringLiteral("bell.wav")));
        });
        window.click("cmdBrowse");
        Seen second;
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) {
            second = look(dialog);
            typeAndEnter(dialog, file(QStringLiteral("target.wav")));
        });
        window.click("cmdChimesBrowse");

        for (const Seen& seen : {first, second}) {
            QCOMPARE(seen.title, QStringLiteral("Sound to Play"));
            QCOMPARE(seen.filters, QStringList{QStringLiteral("Wave Sound Files (*.wav)")});
            QCOMPARE(seen.folder, QStringLiteral("/"));
            QCOMPARE(seen.name, QString());
            QCOMPARE(seen.suffix, QStringLiteral("wav"));
            QVERIFY(seen.modalToWindow);
        }
        QCOMPARE(window.field("txtSound")->Text(), file(QStringLiteral("bell.wav")));
        QCOMPARE(window.field("txtChimesSoundFile")->Text(), file(QStringLiteral("target.wav")));
    }

    // The alarm rings while the user browses: the window's timers keep ticking with the dialog open.
    void alarmRingsWhileBrowsing()
    {
        Window window;
        window.field("txtSound")->setText(file(QStringLiteral("bell.wav")));
        window.field("txtHour")->setText(QStringLiteral("7"));
        window.field("txtMinute")->setText(QStringLiteral("30"));
        platform::qt::window(window.form)
            .findChild<platform::qt::CheckBoxWidget*>(QStringLiteral("chkAlarmClock"))
            ->setValue(1);
        // A shorter watch interval than the window's 3000 ms, so the test need not wait for it.
        platform::qt::window(window.form)
            .findChild<platform::qt::TimerWidget*>(QStringLiteral("Timer1"))
            ->setInterval(50);
        window.world.clock.time = QTime(7, 29);
        Person person;
        bool rangWhileOpen = false;
        person.whenOpen<QFileDialog>([&](QFileDialog* dialog) {
            window.world.clock.time = QTime(7, 30); // the alarm's minute comes while the dialog is open
            QTRY_COMPARE(window.world.sound.played, QStringList{file(QStringLiteral("bell.wav"))});
            rangWhileOpen = dialog->isVisible();
            QTest::keyClick(nameBox(dialog), Qt::Key_Escape);
        });
        window.click("cmdBrowse");
        QVERIFY(rangWhileOpen);
    }
};

QTEST_MAIN(TestSoundChooser)
#include "tst_sound_chooser.moc"

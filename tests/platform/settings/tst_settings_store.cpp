// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings store on real files: where the user's store lives, texts kept exactly, a Save that keeps
// every line it does not write, and writes that fail leaving nothing changed.

#include "support/SettingsFiles.h"

#include "platform/settings/SettingsStore.h"

#include <QtTest>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace wobblix;

namespace {

const QString App = QStringLiteral("Wobblix");
const QString Main = QStringLiteral("Main");
const QString FileName = QStringLiteral("Wobblix.conf");

// The user's configuration folder of this test run: XDG_CONFIG_HOME, set before the application starts
// (QSettings reads it once).
QString g_userConfig;

QString get(const platform::SettingsStore& store, const QString& key)
{
    return test::qstr(store.Read(test::str(App), test::str(Main)).GetSetting(test::str(key), u"<absent>"));
}

std::optional<QString> saveError(platform::SettingsStore& store, const QString& key, const QString& value)
{
    try {
        store.SaveSettings(test::str(App), test::str(Main), {{test::str(key), test::str(value)}});
    } catch (const platform::SettingsWriteError& error) {
        return test::qstr(error.reason());
    }
    return std::nullopt;
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The program's store is $XDG_CONFIG_HOME/Wobblix.conf, section [Main], keys as given.
    void userStoreIsWobblixConfInTheConfigurationFolder()
    {
        const QString file = g_userConfig + u'/' + FileName;
        QFile::remove(file);
        platform::SettingsStore store;
        QCOMPARE(get(store, QStringLiteral("Hour")), QStringLiteral("<absent>"));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(saveError(store, QStringLiteral("Hour"), QStringLiteral("7")), std::nullopt);
        QCOMPARE(test::readBytes(file), QByteArray("[Main]\nHour=7\n"));
        QCOMPARE(get(store, QStringLiteral("Hour")), QStringLiteral("7"));
        QCOMPARE(test::entriesOf(g_userConfig), QStringList{FileName});
    }

    // Reading a store creates nothing and changes nothing: no folder, no file, no lock file, same bytes.
    void readingWritesNothing()
    {
        QTemporaryDir base;
        const QString missing = base.filePath(QStringLiteral("config/deeper"));
        const platform::SettingsStore nowhere(test::str(missing));
        QCOMPARE(get(nowhere, QStringLiteral("File")), QStringLiteral("<absent>"));
        QCOMPARE(test::entriesOf(base.path()), QStringList{});

        const platform::SettingsStore store(test::str(base.path()));
        const QString file = base.filePath(FileName);
        const QByteArray bytes("[Main]\nFile=/s/a.wav\n[broken\n\x01\x02\n");
        QVERIFY(test::writeBytes(file, bytes));
        const QDateTime written = QFileInfo(file).lastModified();
        QCOMPARE(get(store, QStringLiteral("File")), QStringLiteral("/s/a.wav"));
        QCOMPARE(get(store, QStringLiteral("Hour")), QStringLiteral("<absent>"));
        QCOMPARE(test::readBytes(file), bytes);
        QCOMPARE(QFileInfo(file).lastModified(), written);
        QCOMPARE(test::entriesOf(base.path()), QStringList{FileName});
    }

    // Every character of the Basic Multilingual Plane, alone, at the start, in the middle and at the end
    // of a text, read back from the bytes on disk. Left out: the lone halves of surrogate pairs, which are
    // no text.
    void everyCharacterComesBackExactly()
    {
        QTemporaryDir folder;
        platform::SettingsStore store(test::str(folder.path()));
        QStringList texts;
        for (char32_t code = 1; code <= 0xffff; ++code) {
            if (code >= 0xd800 && code <= 0xdfff)
                continue;
            const QString c(QChar{static_cast<char16_t>(code)});
            texts << c << c + QStringLiteral("x") + c << QStringLiteral("x") + c + QStringLiteral("y");
        }
        texts << QString::fromUtf8("\xf0\x9f\x98\x80") << QString::fromUtf8("x\xf0\x9f\x98\x80");
        platform::SettingsStore::Values values;
        for (qsizetype i = 0; i < texts.size(); ++i)
            values.emplace_back(test::str(QString::number(i)), test::str(texts[i]));
        store.SaveSettings(test::str(App), u"Sweep", values); // throws if one would not read back
        // And QSettings, which other programs and earlier versions of the clock read it with, reads the
        // same texts (on a copy, which this process has never read).
        QTemporaryDir copyFolder;
        QVERIFY(QFile::copy(folder.filePath(FileName), copyFolder.filePath(FileName)));
        QSettings fresh(copyFolder.filePath(FileName), QSettings::IniFormat);
        fresh.beginGroup(QStringLiteral("Sweep"));
        qsizetype wrong = 0;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QVariant back = fresh.value(QString::number(i));
            if ((back.typeId() != QMetaType::QString || back.toString() != texts[i]) && ++wrong <= 10)
                qWarning() << "changed:" << texts[i] << "came back as" << back;
        }
        QCOMPARE(wrong, 0);
    }

    // A save puts a new file in place of the old one; it never rewrites the old file where it stands (a
    // second name of the old file, a hard link, keeps the old bytes). Nothing is left beside it.
    void saveReplacesTheFileWhole()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(FileName);
        const QString oldName = folder.filePath(QStringLiteral("old"));
        QVERIFY(test::writeBytes(file, "[Main]\nHour=6\n"));
        QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(oldName).constData()), 0);
        platform::SettingsStore store(test::str(folder.path()));
        QCOMPARE(saveError(store, QStringLiteral("Hour"), QStringLiteral("7")), std::nullopt);
        QCOMPARE(test::readBytes(file), QByteArray("[Main]\nHour=7\n"));
        QCOMPARE(test::readBytes(oldName), QByteArray("[Main]\nHour=6\n"));
        QCOMPARE(test::entriesOf(folder.path()), (QStringList{FileName, QStringLiteral("old")}));
    }

    // Save replaces the lines of the keys it writes and adds the missing ones at the end of the section;
    // every other line stays byte for byte, lines QSettings cannot read back included, and none of them
    // keeps the save from succeeding.
    void saveKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after"); // Hour=7 and Minute=30 saved
        QTest::newRow("other keys and sections")
            << QByteArray("[General]\nx=1\n[Main]\nHour=6\nExtra=kept, too\n\n[Other]\ny=\"a;b\"\n")
            << QByteArray(
                   "[General]\nx=1\n[Main]\nHour=7\nExtra=kept, too\nMinute=30\n\n[Other]\ny=\"a;b\"\n");
        QTest::newRow("a list with an element starting with @")
            << QByteArray("[Main]\nNote=a, @b\n") << QByteArray("[Main]\nNote=a, @b\nHour=7\nMinute=30\n");
        static const char nan[] = "[Main]\nN=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\nHour=6\n";
        QTest::newRow("a variant holding a NaN")
            << QByteArray(nan) << QByteArray(nan).replace("Hour=6", "Hour=7\nMinute=30");
        QTest::newRow("an unpaired surrogate escape")
            << QByteArray("[Other]\nS=\\xd800\n")
            << QByteArray("[Other]\nS=\\xd800\n\n[Main]\nHour=7\nMinute=30\n");
        QTest::newRow("a key with an empty path part")
            << QByteArray("/=x\n[Main]\n/=y\n") << QByteArray("/=x\n[Main]\n/=y\nHour=7\nMinute=30\n");
        QTest::newRow("comments, line breaks CR LF, a key twice")
            << QByteArray("; mine\r\n[Main]\r\nHour=5\r\nHour=6\r\nMinute=0\r\n# note")
            << QByteArray("; mine\r\n[Main]\r\nHour=5\r\nHour=7\r\nMinute=30\r\n# note\n");
        QTest::newRow("a header without its bracket")
            << QByteArray("[Main]\nHour=6\n[Main\nMinute=5\n")
            << QByteArray("[Main]\nHour=7\nMinute=30\n[Main\nMinute=5\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray("[Main]\nHour=7\nMinute=30\n");
    }
    void saveKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir folder;
        const QString file = folder.filePath(FileName);
        QVERIFY(test::writeBytes(file, before));
        platform::SettingsStore store(test::str(folder.path()));
        store.SaveSettings(test::str(App), test::str(Main), {{u"Hour", u"7"}, {u"Minute", u"30"}});
        QCOMPARE(test::readBytes(file), after);
    }

    // A write that fails changes nothing: the same bytes, nothing beside them, and in this process too the
    // old values: a later successful write must not carry the failed values to the disk.
    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<bool>("damaged");        // the file has a line Qt reads with a FormatError
        QTest::addColumn<bool>("readOnlyFolder"); // else: a file size limit cuts the write off
        QTest::addColumn<QString>("why");
        QTest::newRow("read-only folder") << false << true << QStringLiteral("Permission denied");
        QTest::newRow("damaged file, read-only folder")
            << true << true << QStringLiteral("Permission denied");
        QTest::newRow("write cut off") << false << false << QStringLiteral("failed");
        QTest::newRow("damaged file, write cut off") << true << false << QStringLiteral("failed");
    }
    void failedWriteChangesNothing()
    {
        QFETCH(bool, damaged);
        QFETCH(bool, readOnlyFolder);
        QFETCH(QString, why);
        test::UsersConfigFolder config;
        QVERIFY(config.create());
        const QString folder = config.folder();
        const QString file = folder + u'/' + FileName;
        QByteArray before = "[Main]\nHour=6\nMinute=15\n";
        if (damaged)
            before += "[broken\n";
        QVERIFY(test::writeBytes(file, before));
        QVERIFY(test::OrdinaryUser::handOver(file));
        // The store's first contact with the file is the write: it reads the file then, and with a damaged
        // file QSettings' status would show the FormatError of that reading, not the failed write.
        platform::SettingsStore store(test::str(folder));
        const QString longText = QString(4000, u'h');
        {
            test::OrdinaryUser user;
            QVERIFY(test::OrdinaryUser::inEffect());
            std::optional<test::FileSizeLimit> limit;
            if (readOnlyFolder)
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                          QFile::ExeOther));
            else
                limit.emplace(1024);

            std::optional<QString> error;
            try {
                store.SaveSettings(test::str(App), test::str(Main),
                                   {{u"Hour", test::str(longText)}, {u"AlarmON", u"1"}});
            } catch (const platform::SettingsWriteError& failure) {
                error = test::qstr(failure.reason());
                QVERIFY2(error->contains(file), qPrintable(*error));
            }
            QVERIFY2(error.has_value(), "the failed write was not reported");
            QVERIFY2(error->contains(why), qPrintable(*error));
            QCOMPARE(test::readBytes(file), before);
            QCOMPARE(test::entriesOf(folder), QStringList{FileName});
            QCOMPARE(get(store, QStringLiteral("Hour")), QStringLiteral("6"));
            QCOMPARE(get(store, QStringLiteral("AlarmON")), QStringLiteral("<absent>"));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        }
        QCOMPARE(saveError(store, QStringLiteral("Minute"), QStringLiteral("30")), std::nullopt);
        const test::FreshReading stored(file);
        QCOMPARE(stored.get(QStringLiteral("Hour")), QStringLiteral("6"));
        QCOMPARE(stored.get(QStringLiteral("Minute")), QStringLiteral("30"));
        QCOMPARE(stored.get(QStringLiteral("AlarmON")), QStringLiteral("<absent>"));
    }

    // Each cause that keeps the file from being written is named in the reason.
    void reasonNamesTheCause_data()
    {
        QTest::addColumn<QString>("inTheWay"); // what stands where the settings file or its folder belongs
        QTest::addColumn<QString>("reason");   // %1 the folder of the store
        QTest::newRow("a file in place of the folder") << "file"
                                                       << "\"%1\" is a file, where a folder is needed.";
        QTest::newRow("a folder in place of the file")
            << "folder"
            << "\"%1/Wobblix.conf\" is a folder, where the settings file is needed.";
        QTest::newRow("a FIFO in place of the file") << "fifo"
                                                     << "\"%1/Wobblix.conf\" is not a regular file.";
    }
    void reasonNamesTheCause()
    {
        QFETCH(QString, inTheWay);
        QFETCH(QString, reason);
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("config"));
        const QString file = folder + u'/' + FileName;
        if (inTheWay == u"file")
            QVERIFY(test::writeBytes(folder, "x"));
        else if (inTheWay == u"folder")
            QVERIFY(QDir().mkpath(file));
        else
            QVERIFY(QDir().mkpath(folder) && ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        platform::SettingsStore store(
            test::str(inTheWay == u"file" ? folder + QStringLiteral("/deeper") : folder));
        QCOMPARE(saveError(store, QStringLiteral("Hour"), QStringLiteral("7")), reason.arg(folder));
    }
};

int main(int argc, char** argv)
{
    // QSettings finds the user's configuration folder once, at its first use: set it before anything.
    QTemporaryDir userConfig;
    g_userConfig = userConfig.path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_userConfig));
    QCoreApplication app(argc, argv);
    TestSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings_store.moc"

// The settings store on real files: where the user's store lives, texts kept exactly, a Save batch written
// once and whole, and writes that fail leaving nothing changed, on disk or in memory.

#include "SettingsFiles.h"

#include "platform/SettingsStore.h"

#include <QtTest>

#include <optional>

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
    return store.GetSetting(App, Main, key, QStringLiteral("<absent>"));
}

std::optional<QString> saveError(platform::SettingsStore& store, const QString& key, const QString& value)
{
    try {
        store.SaveSetting(App, Main, key, value);
    } catch (const platform::SettingsWriteError& error) {
        return error.reason();
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
        QCOMPARE(store.GetSetting(App, Main, QStringLiteral("Hour"), QStringLiteral("none")),
                 QStringLiteral("none"));
        QVERIFY(!QFile::exists(file));
        store.SaveSetting(App, Main, QStringLiteral("Hour"), QStringLiteral("7"));
        QCOMPARE(test::readBytes(file), QByteArray("[Main]\nHour=7\n"));
        QCOMPARE(get(store, QStringLiteral("Hour")), QStringLiteral("7"));
        QCOMPARE(test::entriesOf(g_userConfig), QStringList{FileName});
    }

    // Reading a store creates nothing and changes nothing: no folder, no file, no lock file, same bytes.
    void readingWritesNothing()
    {
        QTemporaryDir base;
        const QString missing = base.filePath(QStringLiteral("config/deeper"));
        const platform::SettingsStore nowhere(missing);
        QCOMPARE(get(nowhere, QStringLiteral("File")), QStringLiteral("<absent>"));
        QCOMPARE(test::entriesOf(base.path()), QStringList{});

        const platform::SettingsStore store(base.path());
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
        platform::SettingsStore store(folder.path());
        QStringList texts;
        for (char32_t code = 1; code <= 0xffff; ++code) {
            if (code >= 0xd800 && code <= 0xdfff)
                continue;
            const QString c(QChar{static_cast<char16_t>(code)});
            texts << c << c + QStringLiteral("x") + c << QStringLiteral("x") + c + QStringLiteral("y");
        }
        texts << QString::fromUtf8("\xf0\x9f\x98\x80") << QString::fromUtf8("x\xf0\x9f\x98\x80");
        {
            platform::SettingsStore::Batch batch(store);
            for (qsizetype i = 0; i < texts.size(); ++i)
                store.SaveSetting(App, QStringLiteral("Sweep"), QString::number(i), texts[i]);
            batch.commit();
        }
        // Read back with one QSettings on a copy: GetSetting opens the file for each key, and QSettings
        // keeps a file this large out of its memory, so that would parse it once per key.
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

    // Inside a batch nothing is written until commit(); then everything at once, in one new file.
    void batchWritesOnceAtCommit()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(FileName);
        QVERIFY(test::writeBytes(file, "[Main]\nHour=6\n"));
        platform::SettingsStore store(folder.path());
        platform::SettingsStore::Batch batch(store);
        store.SaveSetting(App, Main, QStringLiteral("Hour"), QStringLiteral("7"));
        store.SaveSetting(App, Main, QStringLiteral("Minute"), QStringLiteral("30"));
        store.SaveSetting(App, Main, QStringLiteral("AlarmON"), QStringLiteral("1"));
        QCOMPARE(test::readBytes(file), QByteArray("[Main]\nHour=6\n"));
        batch.commit();
        QCOMPARE(test::readBytes(file), QByteArray("[Main]\nAlarmON=1\nHour=7\nMinute=30\n"));
        QCOMPARE(test::entriesOf(folder.path()), QStringList{FileName});
        // After commit the batch is closed: a further SaveSetting is written at once.
        store.SaveSetting(App, Main, QStringLiteral("ChimesON"), QStringLiteral("0"));
        QCOMPARE(test::FreshReading(file).get(QStringLiteral("ChimesON")), QStringLiteral("0"));
    }

    void batchNotCommittedWritesNothing()
    {
        QTemporaryDir folder;
        platform::SettingsStore store(folder.path());
        {
            platform::SettingsStore::Batch batch(store);
            store.SaveSetting(App, Main, QStringLiteral("Hour"), QStringLiteral("7"));
        }
        QCOMPARE(test::entriesOf(folder.path()), QStringList{});
        QCOMPARE(get(store, QStringLiteral("Hour")), QStringLiteral("<absent>"));
        store.SaveSetting(App, Main, QStringLiteral("Minute"), QStringLiteral("5"));
        QCOMPARE(test::readBytes(folder.filePath(FileName)), QByteArray("[Main]\nMinute=5\n"));
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
        platform::SettingsStore store(folder.path());
        store.SaveSetting(App, Main, QStringLiteral("Hour"), QStringLiteral("7"));
        QCOMPARE(test::readBytes(file), QByteArray("[Main]\nHour=7\n"));
        QCOMPARE(test::readBytes(oldName), QByteArray("[Main]\nHour=6\n"));
        QCOMPARE(test::entriesOf(folder.path()), (QStringList{FileName, QStringLiteral("old")}));
    }

    // What Save does not write stays: other keys, other sections, their order of reading.
    void otherKeysAndSectionsStay()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(FileName);
        QVERIFY(
            test::writeBytes(file, "[General]\nx=1\n[Main]\nHour=6\nExtra=kept, too\n[Other]\ny=\"a;b\"\n"));
        platform::SettingsStore store(folder.path());
        store.SaveSetting(App, Main, QStringLiteral("Hour"), QStringLiteral("7"));
        QSettings back(file, QSettings::IniFormat);
        QCOMPARE(back.value(QStringLiteral("x")).toString(), QStringLiteral("1"));
        QCOMPARE(back.value(QStringLiteral("Main/Hour")).toString(), QStringLiteral("7"));
        QCOMPARE(back.value(QStringLiteral("Main/Extra")).toStringList(), (QStringList{"kept", "too"}));
        QCOMPARE(back.value(QStringLiteral("Other/y")).toString(), QStringLiteral("a;b"));
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
        platform::SettingsStore store(folder);
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
                platform::SettingsStore::Batch batch(store);
                store.SaveSetting(App, Main, QStringLiteral("Hour"), longText);
                store.SaveSetting(App, Main, QStringLiteral("AlarmON"), QStringLiteral("1"));
                batch.commit();
            } catch (const platform::SettingsWriteError& failure) {
                QCOMPARE(failure.location(), file);
                error = failure.reason();
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
    void reasonNamesTheCause()
    {
        QTemporaryDir base;
        const QString aFile = base.filePath(QStringLiteral("file"));
        QVERIFY(test::writeBytes(aFile, "x"));
        platform::SettingsStore underAFile(aFile + QStringLiteral("/config"));
        std::optional<QString> why = saveError(underAFile, QStringLiteral("Hour"), QStringLiteral("7"));
        QVERIFY(why.has_value());
        QCOMPARE(*why, QStringLiteral("\"%1\" is a file, where a folder is needed.").arg(aFile));

        const QString folder = base.filePath(QStringLiteral("config"));
        QVERIFY(QDir().mkpath(folder + u'/' + FileName));
        platform::SettingsStore fileIsAFolder(folder);
        why = saveError(fileIsAFolder, QStringLiteral("Hour"), QStringLiteral("7"));
        QVERIFY(why.has_value());
        QCOMPARE(*why, QStringLiteral("\"%1/%2\" is a folder, where the settings file is needed.")
                           .arg(folder, FileName));
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

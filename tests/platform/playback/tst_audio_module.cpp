// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The audio module as the program meets it: nothing of it, nor of the audio libraries, is loaded until the
// first request; a module that is missing or damaged gives silence and a warning, and the next request
// tries again. Offscreen: this executable links what the program links, and there is no sound server, so
// requests here play nothing either way.

#include "platform/playback/qt/AudioModule.h"
#include "sound/AudioLibraries.h"

#include <QtTest>

using namespace wobblix;

namespace {

const wobblix::platform::String NoSound = u"/nonexistent/wobblix-test.wav";

void expectWarning()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Wobblix Clock plays no sound: ")));
}

} // namespace

class TestAudioModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Runs first, while nothing has been loaded in this process.
    void loadsTheInstalledModuleAtTheFirstRequest()
    {
        QVERIFY2(!test::audioLibrariesLoaded(), "the audio libraries are loaded at start");
        platform::AudioModule module(nullptr);
        QVERIFY(!test::mapped(platform::AudioModule::installedPath()));
        QVERIFY(!test::audioLibrariesLoaded());
        QVERIFY(!module.PlaySound(NoSound, 0));
        QVERIFY(test::mapped(platform::AudioModule::installedPath()));
        QVERIFY(test::audioLibrariesLoaded());
    }

    void aMissingOrDamagedModuleGivesSilenceUntilItIsThere()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("libwobblix-audio.so"));
        platform::AudioModule module(path, nullptr);

        expectWarning();
        QVERIFY(!module.PlaySound(NoSound, 0));
        QVERIFY(!test::mapped(path));

        // Cut short, as by a disk that filled up during an upgrade.
        QVERIFY(QFile::copy(platform::AudioModule::installedPath(), path));
        QFile cut(path);
        QVERIFY(cut.resize(4096));
        expectWarning();
        QVERIFY(!module.PlaySound(NoSound, 0));
        QVERIFY(!test::mapped(path));

        // Whole again: the next request loads it.
        QFile::remove(path);
        QVERIFY(QFile::copy(platform::AudioModule::installedPath(), path));
        QVERIFY(!module.PlaySound(NoSound, 0));
        QVERIFY(test::mapped(path));
    }
};

QTEST_GUILESS_MAIN(TestAudioModule)
#include "tst_audio_module.moc"

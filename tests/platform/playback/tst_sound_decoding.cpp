// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound playback layer away from the sound server: what SoundFileSource decodes from each kind of
// file, and where a theme sound's name leads.

#include "platform/playback/qt/audio/SoundFileSource.h"
#include "platform/playback/qt/audio/SoundTheme.h"
#include "sound/SoundFiles.h"
#include "sound/ToneAnalysis.h"

#include <QtTest>

#include <sys/resource.h>

using namespace wobblix;
using platform::SoundFileSource;

namespace {

// The whole sound a source decodes, interleaved, read as the playback thread reads it, in pieces of
// `pieceFrames`.
std::vector<float> readSound(SoundFileSource& source, qint64 pieceFrames = 480)
{
    std::vector<float> sound;
    std::vector<float> piece(static_cast<size_t>(pieceFrames * source.channelCount()));
    for (;;) {
        const qint64 read = source.read(piece.data(), pieceFrames);
        sound.insert(sound.end(), piece.begin(), piece.begin() + read * source.channelCount());
        if (read < pieceFrames)
            return sound;
    }
}

// One channel of interleaved frames.
std::vector<float> channel(const std::vector<float>& frames, int channels, int which)
{
    std::vector<float> samples;
    for (size_t i = static_cast<size_t>(which); i < frames.size(); i += static_cast<size_t>(channels))
        samples.push_back(frames[i]);
    return samples;
}

long maxResidentKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestSoundDecoding : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QVERIFY2(test::writeDamageTone(m_folder.path()), "sox could not write the test tone");
    }

    // Each encoding decodes to its own tone on each channel, at its own rate, full length and level.
    void decodesEachFormat_data()
    {
        QTest::addColumn<test::ToneFormat>("format");
        for (const test::ToneFormat& format : test::toneFormats())
            QTest::newRow(qPrintable(format.name)) << format;
    }
    void decodesEachFormat()
    {
        QFETCH(test::ToneFormat, format);
        const QString path = m_folder.filePath(QStringLiteral("format.wav"));
        QVERIFY2(test::writeToneFile(path, format, 0.3), "sox cannot write this encoding");

        const auto source = SoundFileSource::open(path);
        QVERIFY(source);
        QCOMPARE(source->sampleRate(), format.rate);
        QCOMPARE(source->channelCount(), format.tones.size());
        const std::vector<float> sound = readSound(*source);
        QCOMPARE(source->read(nullptr, 480), 0); // ended, and stays so

        // Block codecs (ADPCM, GSM) round the length up to whole blocks.
        const qint64 frames = qint64(sound.size()) / format.tones.size();
        QVERIFY2(frames >= format.rate * 3 / 10 && frames <= format.rate * 36 / 100,
                 qPrintable(QString::number(frames)));
        for (int c = 0; c < format.tones.size(); ++c) {
            const std::vector<float> samples = channel(sound, format.tones.size(), c);
            const auto heard = test::heardRuns(test::toneRuns(samples, format.rate, {format.tones[c]}));
            QVERIFY2(heard.size() == 1 && heard[0].frequency == format.tones[c] && heard[0].lengthMs >= 260,
                     qPrintable(QStringLiteral("channel %1: %2 (about %3 Hz)")
                                    .arg(c)
                                    .arg(test::describe(heard))
                                    .arg(test::roughFrequency(samples, format.rate))));
            const double amplitude = test::toneAmplitude(samples, format.rate, heard[0]);
            QVERIFY2(amplitude > 0.4 && amplitude < 0.6, qPrintable(QString::number(amplitude)));
        }
    }

    // Any path Qt can open: spaces, quotes and non-ASCII characters, no extension, 3000 characters.
    void opensAnyPath_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("spaces and non-ASCII") << QStringLiteral("Réveil du matin – 目覚まし ⏰.wav");
        QTest::newRow("quotes and signs") << QStringLiteral("it's \"loud\" #1 & 100% (final) [v2].wav");
        QTest::newRow("no extension") << QStringLiteral("alarm");
        QTest::newRow("upper-case extension") << QStringLiteral("ALARM.WAV");
        QString deep;
        for (int i = 0; i < 14; ++i)
            deep += QString(200, QLatin1Char('a' + i)) + QLatin1Char('/');
        QTest::newRow("3000 characters") << deep + QStringLiteral("tone.wav");
    }
    void opensAnyPath()
    {
        QFETCH(QString, relativePath);
        const QString path = m_folder.filePath(relativePath);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::copy(m_folder.filePath(QStringLiteral("tone.wav")), path));

        const auto source = SoundFileSource::open(path);
        QVERIFY(source);
        const auto heard = test::heardRuns(test::toneRuns(readSound(*source), 8000, {test::DamageToneHz}));
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard[0].frequency, test::DamageToneHz);
        QFile::remove(path);
    }

    // Nothing that names no sound opens, and none of them takes long.
    void rejectsWhatIsNoSound_data()
    {
        QTest::addColumn<QString>("name");
        for (const test::SilentInput& input : test::silentInputs())
            QTest::newRow(qPrintable(input.name)) << input.make(m_folder.path());
    }
    void rejectsWhatIsNoSound()
    {
        QFETCH(QString, name);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!SoundFileSource::open(name));
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    }

    void rejectsUnreadableFile()
    {
        const QString path = test::writeUnreadableTone(m_folder.path());
        QVERIFY(QFileInfo(path).isFile());
        test::FileAccessAsNobody nobody;
        QVERIFY(!SoundFileSource::open(path));
    }

    // A header that claims more than the file holds: the samples there are, no more.
    void decodesWhatDamagedFilesHold_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("heardMs");
        for (const test::DamagedInput& input : test::damagedInputs())
            QTest::newRow(qPrintable(input.name)) << input.make(m_folder.path()) << input.heardMs;
    }
    void decodesWhatDamagedFilesHold()
    {
        QFETCH(QString, path);
        QFETCH(int, heardMs);
        const auto source = SoundFileSource::open(path);
        QVERIFY(source);
        QCOMPARE(readSound(*source).size(), size_t(heardMs) * 8);
    }

    // Opening and reading each of the above never takes more memory than a few pieces of sound.
    void boundedMemoryOnDamagedFiles()
    {
        const long before = maxResidentKb();
        for (const test::SilentInput& input : test::silentInputs())
            SoundFileSource::open(input.make(m_folder.path()));
        for (const test::DamagedInput& input : test::damagedInputs()) {
            const auto source = SoundFileSource::open(input.make(m_folder.path()));
            QVERIFY(source);
            readSound(*source);
        }
        QVERIFY2(maxResidentKb() - before < 8 * 1024, qPrintable(QString::number(maxResidentKb() - before)));
    }

    // A ten-minute file opens and gives its first piece as fast as a short one: nothing is decoded ahead.
    void longFileStartsAtOnce()
    {
        const QString path = m_folder.filePath(QStringLiteral("ten-minutes.wav"));
        QVERIFY(test::writeToneFile(
            path, {QStringLiteral("16-bit"), {QStringLiteral("-b"), QStringLiteral("16")}, 48000, {440, 660}},
            600));
        const long before = maxResidentKb();
        QElapsedTimer clock;
        clock.start();
        const auto source = SoundFileSource::open(path);
        QVERIFY(source);
        QCOMPARE(source->frameCount(), qint64(600) * 48000);
        float piece[960 * 2];
        QCOMPARE(source->read(piece, 960), 960);
        QVERIFY2(clock.elapsed() < 50, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(maxResidentKb() - before < 2048, qPrintable(QString::number(maxResidentKb() - before)));
    }

    // Theme names: the user's data folder first, then each system folder in order; in a folder .oga
    // first, then .ogg, then .wav.
    void findsThemeSounds_data()
    {
        QTest::addColumn<QStringList>("files"); // relative to the temporary folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // relative to the temporary folder, or empty
        const auto in = [](const char* dataFolder, const char* file) {
            return QLatin1String(dataFolder) + QStringLiteral("/sounds/freedesktop/stereo/") +
                   QLatin1String(file);
        };
        const QString bell = QStringLiteral("bell");
        QTest::newRow("system folder")
            << QStringList{in("system1", "bell.oga")} << bell << in("system1", "bell.oga");
        QTest::newRow("second system folder")
            << QStringList{in("system2", "bell.ogg")} << bell << in("system2", "bell.ogg");
        QTest::newRow("first system folder first")
            << QStringList{in("system1", "bell.wav"), in("system2", "bell.oga")} << bell
            << in("system1", "bell.wav");
        QTest::newRow("user's folder first") << QStringList{in("home", "bell.wav"), in("system1", "bell.oga")}
                                             << bell << in("home", "bell.wav");
        QTest::newRow(".oga, then .ogg, then .wav")
            << QStringList{in("system1", "bell.wav"), in("system1", "bell.ogg")} << bell
            << in("system1", "bell.ogg");
        QTest::newRow("no such sound")
            << QStringList{in("system1", "bell.oga")} << QStringLiteral("gong") << QString();
        QTest::newRow("another theme's folder")
            << QStringList{QStringLiteral("system1/sounds/other/stereo/bell.oga")} << bell << QString();
        QTest::newRow("folder, not file") << QStringList{in("system1", "bell.oga/x")} << bell << QString();
        QTest::newRow("name with a folder")
            << QStringList{in("system1", "x/bell.oga")} << QStringLiteral("x/bell") << QString();
        QTest::newRow("empty name") << QStringList{in("system1", ".oga")} << QString() << QString();
    }
    void findsThemeSounds()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QTemporaryDir data;
        for (const QString& file : files) {
            QVERIFY(QDir().mkpath(QFileInfo(data.filePath(file)).path()));
            QFile(data.filePath(file)).open(QIODevice::WriteOnly);
        }
        qputenv("XDG_DATA_HOME", data.filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_DIRS", (data.filePath(QStringLiteral("system1")) + QLatin1Char(':') +
                                  data.filePath(QStringLiteral("system2")))
                                     .toUtf8());
        const QString found = platform::findThemeSound(name);
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_DATA_DIRS");
        QCOMPARE(found, expected.isEmpty() ? QString() : data.filePath(expected));
    }

    // With no XDG_DATA_DIRS, the standard system folders: Debian's sound-theme-freedesktop in /usr/share.
    void findsThemeSoundsInSystemFolders()
    {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        qunsetenv("XDG_DATA_DIRS");
        QCOMPARE(platform::findThemeSound(QStringLiteral("bell")),
                 QStringLiteral("/usr/share/sounds/freedesktop/stereo/bell.oga"));
        QCOMPARE(platform::findThemeSound(QStringLiteral("alarm-clock-elapsed")),
                 QStringLiteral("/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga"));
        qunsetenv("XDG_DATA_HOME");
    }
};

QTEST_GUILESS_MAIN(TestSoundDecoding)
#include "tst_sound_decoding.moc"

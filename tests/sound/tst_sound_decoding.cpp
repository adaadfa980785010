// The sound playback layer away from the sound server: what SoundFileSource decodes from each kind of
// file, how FrameConverter changes it for a device, which format is chosen for a device, and where a
// theme sound's name leads.

#include "platform/audio/FrameConverter.h"
#include "platform/audio/SinkFormat.h"
#include "platform/audio/SoundFileSource.h"
#include "platform/audio/SoundTheme.h"
#include "sound/SoundFiles.h"
#include "sound/ToneAnalysis.h"

#include <QtTest>

#include <sys/resource.h>

using namespace wobblix;
using platform::SoundFileSource;

namespace {

// The whole sound a source delivers, read as an audio sink would, in pieces of `pieceBytes`, without the
// silence that follows it.
QByteArray readSound(SoundFileSource& source, qint64 pieceBytes = 3840)
{
    QByteArray sound;
    QByteArray piece(pieceBytes, '\0');
    while (!source.isSoundDelivered()) {
        const qint64 before = source.soundBytesDelivered();
        if (source.read(piece.data(), pieceBytes) != pieceBytes)
            return "a short read";
        sound.append(piece.constData(), source.soundBytesDelivered() - before);
    }
    return sound;
}

// One channel of float frames.
std::vector<float> channel(const QByteArray& floats, int channels, int which)
{
    std::vector<float> samples;
    const auto* all = reinterpret_cast<const float*>(floats.constData());
    const qsizetype count = floats.size() / qsizetype(sizeof(float));
    for (qsizetype i = which; i < count; i += channels)
        samples.push_back(all[i]);
    return samples;
}

QAudioFormat audioFormat(int rate, int channels, QAudioFormat::SampleFormat sampleFormat)
{
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(channels);
    format.setSampleFormat(sampleFormat);
    return format;
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
        QCOMPARE(source->fileSampleRate(), format.rate);
        QCOMPARE(source->fileChannelCount(), format.tones.size());
        QCOMPARE(source->outputFormat(), audioFormat(format.rate, format.tones.size(), QAudioFormat::Float));
        QSignalSpy delivered(source.get(), &SoundFileSource::soundDelivered);
        const QByteArray sound = readSound(*source);
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(source->bytesAvailable(), 0);
        QCOMPARE(source->soundBytesDelivered(), sound.size());

        // Block codecs (ADPCM, GSM) round the length up to whole blocks.
        const qint64 frames = sound.size() / source->outputFormat().bytesPerFrame();
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
        const QByteArray sound = readSound(*source);
        const auto heard = test::heardRuns(test::toneRuns(channel(sound, 1, 0), 8000, {test::DamageToneHz}));
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
        QCOMPARE(readSound(*source).size(), qint64(heardMs) * 8 * sizeof(float));
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
        QCOMPARE(source->bytesAvailable(), qint64(600) * 48000 * 2 * sizeof(float));
        char piece[7680];
        QCOMPARE(source->read(piece, sizeof piece), qint64(sizeof piece));
        QVERIFY2(clock.elapsed() < 50, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(maxResidentKb() - before < 2048, qPrintable(QString::number(maxResidentKb() - before)));
    }

    // Delivered in another format, the sound keeps its tone, length and level.
    void deliversInTheFormatAsked_data()
    {
        QTest::addColumn<test::ToneFormat>("file");
        QTest::addColumn<QAudioFormat>("output");
        const test::ToneFormat mono8k{
            QStringLiteral("mono 8 kHz"), {QStringLiteral("-b"), QStringLiteral("16")}, 8000, {700}};
        const test::ToneFormat stereo44k{QStringLiteral("stereo 44.1 kHz"),
                                         {QStringLiteral("-b"), QStringLiteral("16")},
                                         44100,
                                         {700, 700}};
        QTest::newRow("mono 8 kHz as stereo 48 kHz 16-bit")
            << mono8k << audioFormat(48000, 2, QAudioFormat::Int16);
        QTest::newRow("mono 8 kHz as mono 44.1 kHz 8-bit")
            << mono8k << audioFormat(44100, 1, QAudioFormat::UInt8);
        QTest::newRow("stereo 44.1 kHz as mono 8 kHz 32-bit")
            << stereo44k << audioFormat(8000, 1, QAudioFormat::Int32);
        QTest::newRow("stereo 44.1 kHz as stereo 48 kHz float")
            << stereo44k << audioFormat(48000, 2, QAudioFormat::Float);
    }
    void deliversInTheFormatAsked()
    {
        QFETCH(test::ToneFormat, file);
        QFETCH(QAudioFormat, output);
        const QString path = m_folder.filePath(QStringLiteral("convert.wav"));
        QVERIFY(test::writeToneFile(path, file, 0.5));
        const auto source = SoundFileSource::open(path);
        QVERIFY(source);
        source->setOutputFormat(output);
        QCOMPARE(source->bytesAvailable(), qint64(output.sampleRate() / 2) * output.bytesPerFrame());
        // Odd read sizes: only whole frames come out.
        QByteArray sound;
        char piece[1001];
        while (!source->isSoundDelivered()) {
            const qint64 before = source->soundBytesDelivered();
            const qint64 read = source->read(piece, sizeof piece);
            QCOMPARE(read, sizeof piece - sizeof piece % output.bytesPerFrame());
            sound.append(piece, source->soundBytesDelivered() - before);
        }
        const qint64 frames = sound.size() / output.bytesPerFrame();
        QCOMPARE(frames, output.sampleRate() / 2);
        for (int c = 0; c < output.channelCount(); ++c) {
            std::vector<float> samples;
            for (qint64 f = 0; f < frames; ++f)
                samples.push_back(output.normalizedSampleValue(
                    sound.constData() + (f * output.channelCount() + c) * output.bytesPerSample()));
            const auto heard = test::heardRuns(test::toneRuns(samples, output.sampleRate(), {700}));
            QVERIFY2(heard.size() == 1 && heard[0].frequency == 700 && heard[0].lengthMs >= 460,
                     qPrintable(test::describe(heard)));
            const double amplitude = test::toneAmplitude(samples, output.sampleRate(), heard[0]);
            QVERIFY2(amplitude > 0.45 && amplitude < 0.55, qPrintable(QString::number(amplitude)));
        }
    }

    // After the sound, silence for as long as the sink reads: it never runs dry before it is stopped.
    void silenceFollowsTheSound_data()
    {
        QTest::addColumn<QAudioFormat::SampleFormat>("sampleFormat");
        QTest::addColumn<char>("silentByte");
        QTest::newRow("float") << QAudioFormat::Float << '\0';
        QTest::newRow("16-bit") << QAudioFormat::Int16 << '\0';
        QTest::newRow("8-bit unsigned") << QAudioFormat::UInt8 << '\x80';
    }
    void silenceFollowsTheSound()
    {
        QFETCH(QAudioFormat::SampleFormat, sampleFormat);
        QFETCH(char, silentByte);
        const auto source = SoundFileSource::open(m_folder.filePath(QStringLiteral("tone.wav")));
        QVERIFY(source);
        source->setOutputFormat(audioFormat(8000, 1, sampleFormat));
        QSignalSpy delivered(source.get(), &SoundFileSource::soundDelivered);
        const qint64 soundBytes = readSound(*source).size();
        QCOMPARE(soundBytes,
                 qint64(test::DamageToneMs) * 8 * audioFormat(8000, 1, sampleFormat).bytesPerSample());
        for (int i = 0; i < 3; ++i) {
            QByteArray piece(4000, '\x55');
            QCOMPARE(source->read(piece.data(), piece.size()), piece.size());
            QCOMPARE(piece, QByteArray(4000, silentByte));
        }
        QCOMPARE(source->soundBytesDelivered(), soundBytes);
        QVERIFY(!source->atEnd());
        QCOMPARE(delivered.size(), 1);
    }

    void convertsSampleTypes_data()
    {
        QTest::addColumn<QAudioFormat::SampleFormat>("sampleFormat");
        QTest::addColumn<QList<qint64>>("expected");
        // Input: -1, -0.5, 0, 0.5, 1, and 2 (out of range: clipped).
        QTest::newRow("8-bit unsigned") << QAudioFormat::UInt8 << QList<qint64>{0, 64, 128, 191, 255, 255};
        QTest::newRow("16-bit") << QAudioFormat::Int16
                                << QList<qint64>{-32767, -16384, 0, 16384, 32767, 32767};
        QTest::newRow("32-bit") << QAudioFormat::Int32 << QList<qint64>{-2147483647, -1073741824, 0,
                                                                        1073741824,  2147483647,  2147483647};
    }
    void convertsSampleTypes()
    {
        QFETCH(QAudioFormat::SampleFormat, sampleFormat);
        QFETCH(QList<qint64>, expected);
        const float input[] = {-1, -0.5f, 0, 0.5f, 1, 2};
        const QAudioFormat output = audioFormat(8000, 1, sampleFormat);
        platform::FrameConverter converter(8000, 1, output);
        QByteArray bytes;
        converter.convert(input, 6, bytes);
        QCOMPARE(bytes.size(), 6 * output.bytesPerSample());
        QList<qint64> values;
        for (int i = 0; i < 6; ++i) {
            const char* at = bytes.constData() + i * output.bytesPerSample();
            switch (sampleFormat) {
            case QAudioFormat::UInt8:
                values.append(quint8(*at));
                break;
            case QAudioFormat::Int16:
                values.append(qFromUnaligned<qint16>(at));
                break;
            default:
                values.append(qFromUnaligned<qint32>(at));
                break;
            }
        }
        QCOMPARE(values, expected);
    }

    void mapsChannels_data()
    {
        QTest::addColumn<int>("inputChannels");
        QTest::addColumn<int>("outputChannels");
        QTest::addColumn<QList<float>>("input");
        QTest::addColumn<QList<float>>("expected");
        QTest::newRow("stereo to mono: the mean")
            << 2 << 1 << QList<float>{0.5f, 0.25f, -1, 1} << QList<float>{0.375f, 0};
        QTest::newRow("mono to stereo: both")
            << 1 << 2 << QList<float>{0.5f, -0.25f} << QList<float>{0.5f, 0.5f, -0.25f, -0.25f};
        QTest::newRow("4 to stereo: front pair")
            << 4 << 2 << QList<float>{0.1f, 0.2f, 0.3f, 0.4f} << QList<float>{0.1f, 0.2f};
        QTest::newRow("stereo to 3: third silent")
            << 2 << 3 << QList<float>{0.1f, 0.2f} << QList<float>{0.1f, 0.2f, 0};
        QTest::newRow("5 to mono: the mean")
            << 5 << 1 << QList<float>{0.1f, 0.2f, 0.3f, 0.4f, 0.5f} << QList<float>{0.3f};
    }
    void mapsChannels()
    {
        QFETCH(int, inputChannels);
        QFETCH(int, outputChannels);
        QFETCH(QList<float>, input);
        QFETCH(QList<float>, expected);
        platform::FrameConverter converter(8000, inputChannels,
                                           audioFormat(8000, outputChannels, QAudioFormat::Float));
        QByteArray bytes;
        converter.convert(input.constData(), input.size() / inputChannels, bytes);
        QCOMPARE(bytes.size(), expected.size() * qsizetype(sizeof(float)));
        const auto* output = reinterpret_cast<const float*>(bytes.constData());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(qAbs(output[i] - expected[i]) < 1e-6f,
                     qPrintable(QStringLiteral("%1: %2").arg(i).arg(output[i])));
    }

    // Resampled piece by piece, a sound comes out exactly as resampled whole, and as long as promised.
    void resamplesPieceByPieceAsWhole_data()
    {
        QTest::addColumn<int>("inputRate");
        QTest::addColumn<int>("outputRate");
        QTest::newRow("8 kHz up to 48 kHz") << 8000 << 48000;
        QTest::newRow("44.1 kHz up to 48 kHz") << 44100 << 48000;
        QTest::newRow("96 kHz down to 44.1 kHz") << 96000 << 44100;
    }
    void resamplesPieceByPieceAsWhole()
    {
        QFETCH(int, inputRate);
        QFETCH(int, outputRate);
        std::vector<float> input(2 * 4000);
        for (size_t i = 0; i < input.size(); ++i)
            input[i] = std::sin(float(i) * 0.37f) * (i % 2 ? 0.5f : 1.0f);
        const QAudioFormat output = audioFormat(outputRate, 2, QAudioFormat::Float);
        platform::FrameConverter whole(inputRate, 2, output);
        QByteArray wholeBytes;
        whole.convert(input.data(), 4000, wholeBytes);
        whole.finish(wholeBytes);
        platform::FrameConverter pieces(inputRate, 2, output);
        QByteArray pieceBytes;
        for (qint64 frame = 0; frame < 4000; frame += 7)
            pieces.convert(input.data() + frame * 2, std::min<qint64>(7, 4000 - frame), pieceBytes);
        pieces.finish(pieceBytes);
        QCOMPARE(pieceBytes, wholeBytes);
        QCOMPARE(wholeBytes.size() / output.bytesPerFrame(), whole.outputFrames(4000));
        // The first output frame is the first input frame.
        QCOMPARE(reinterpret_cast<const float*>(wholeBytes.constData())[0], input[0]);
    }

    void choosesSinkFormat_data()
    {
        using Takes = std::function<bool(const QAudioFormat&)>;
        QTest::addColumn<Takes>("takes");
        QTest::addColumn<QAudioFormat>("expected");
        const QAudioFormat preferred = audioFormat(48000, 2, QAudioFormat::Int16);
        QTest::newRow("takes all: the sound's own, float")
            << Takes([](const QAudioFormat&) { return true; }) << audioFormat(11025, 1, QAudioFormat::Float);
        QTest::newRow("no float: 32-bit")
            << Takes([](const QAudioFormat& f) { return f.sampleFormat() != QAudioFormat::Float; })
            << audioFormat(11025, 1, QAudioFormat::Int32);
        QTest::newRow("16-bit only") << Takes([](const QAudioFormat& f) {
            return f.sampleFormat() == QAudioFormat::Int16;
        }) << audioFormat(11025, 1, QAudioFormat::Int16);
        QTest::newRow("stereo only") << Takes([](const QAudioFormat& f) { return f.channelCount() == 2; })
                                     << audioFormat(11025, 2, QAudioFormat::Float);
        QTest::newRow("its preferred rate only")
            << Takes([](const QAudioFormat& f) { return f.sampleRate() == 48000; })
            << audioFormat(48000, 1, QAudioFormat::Float);
        QTest::newRow("its preferred format only")
            << Takes([preferred](const QAudioFormat& f) { return f == preferred; }) << preferred;
        QTest::newRow("nothing") << Takes([](const QAudioFormat&) { return false; }) << QAudioFormat();
    }
    void choosesSinkFormat()
    {
        QFETCH(std::function<bool(const QAudioFormat&)>, takes);
        QFETCH(QAudioFormat, expected);
        QCOMPARE(platform::chooseSinkFormat(11025, 1, takes, audioFormat(48000, 2, QAudioFormat::Int16)),
                 expected);
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

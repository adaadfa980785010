// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/SoundFiles.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wobblix::test {

namespace {

// Runs sox, processing events meanwhile: a recorder reading a sink must keep up, or its timeline breaks.
bool runSox(const QStringList& arguments)
{
    // Without sox there is no test sound: stop here, naming its package (as tests/session/programs does).
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
        qFatal("sox is not installed: Debian package sox (scripts/install-deps installs it)");
    QProcess sox;
    QEventLoop loop;
    QObject::connect(&sox, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&sox, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    sox.start(QStringLiteral("sox"), arguments);
    if (sox.state() != QProcess::NotRunning)
        loop.exec();
    return sox.state() == QProcess::NotRunning && sox.exitStatus() == QProcess::NormalExit &&
           sox.exitCode() == 0;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` to folder/name and returns the path.
QString write(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// tone.wav, laid out as sox writes 16-bit PCM: RIFF header (12 bytes), "fmt " chunk of 16 bytes at 12
// (format tag at 20, channels at 22), "data" chunk at 36, samples from 44.
QByteArray tone(const QString& folder)
{
    return readAll(folder + QStringLiteral("/tone.wav"));
}

QString toneWithBytes(const QString& folder, const QString& name, int at, const QByteArray& bytes)
{
    return write(folder, name, tone(folder).replace(at, bytes.size(), bytes));
}

QString adpcmWithBlockAlign(const QString& folder, const QString& encoding, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!runSox({QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("8000"), QStringLiteral("-e"),
                 encoding, path, QStringLiteral("synth"), QStringLiteral("0.3"), QStringLiteral("sine"),
                 QStringLiteral("700")}))
        return path;
    QByteArray bytes = readAll(path);
    return write(folder, name, bytes.replace(32, 2, le16(0))); // nBlockAlign: no block can be decoded
}

} // namespace

QList<ToneFormat> toneFormats()
{
    const QStringList u8{QStringLiteral("-e"), QStringLiteral("unsigned"), QStringLiteral("-b"),
                         QStringLiteral("8")};
    const QStringList s16{QStringLiteral("-e"), QStringLiteral("signed"), QStringLiteral("-b"),
                          QStringLiteral("16")};
    const QStringList s24{QStringLiteral("-e"), QStringLiteral("signed"), QStringLiteral("-b"),
                          QStringLiteral("24")};
    const QStringList s32{QStringLiteral("-e"), QStringLiteral("signed"), QStringLiteral("-b"),
                          QStringLiteral("32")};
    const QStringList f32{QStringLiteral("-e"), QStringLiteral("floating-point"), QStringLiteral("-b"),
                          QStringLiteral("32")};
    const QStringList alaw{QStringLiteral("-e"), QStringLiteral("a-law")};
    const QStringList ulaw{QStringLiteral("-e"), QStringLiteral("mu-law")};
    const QStringList ima{QStringLiteral("-e"), QStringLiteral("ima-adpcm")};
    const QStringList ms{QStringLiteral("-e"), QStringLiteral("ms-adpcm")};
    const QStringList gsm{QStringLiteral("-e"), QStringLiteral("gsm-full-rate")};
    // Stereo files carry a fifth above on the right. sox writes 24-bit PCM as WAVE_FORMAT_EXTENSIBLE.
    return {
        {QStringLiteral("PCM 8-bit unsigned, mono 8 kHz"), u8, 8000, {400}},
        {QStringLiteral("PCM 8-bit unsigned, stereo 22.05 kHz"), u8, 22050, {440, 660}},
        {QStringLiteral("PCM 16-bit, mono 11.025 kHz"), s16, 11025, {480}},
        {QStringLiteral("PCM 16-bit, stereo 44.1 kHz"), s16, 44100, {520, 780}},
        {QStringLiteral("PCM 24-bit, mono 16 kHz"), s24, 16000, {560}},
        {QStringLiteral("PCM 24-bit extensible, stereo 96 kHz"), s24, 96000, {600, 900}},
        {QStringLiteral("PCM 32-bit, mono 32 kHz"), s32, 32000, {640}},
        {QStringLiteral("PCM 32-bit, stereo 48 kHz"), s32, 48000, {680, 1020}},
        {QStringLiteral("float 32-bit, mono 44.1 kHz"), f32, 44100, {720}},
        {QStringLiteral("float 32-bit, stereo 8 kHz"), f32, 8000, {760, 1140}},
        {QStringLiteral("A-law, mono 8 kHz"), alaw, 8000, {800}},
        {QStringLiteral("A-law, stereo 44.1 kHz"), alaw, 44100, {840, 1260}},
        {QStringLiteral("mu-law, mono 8 kHz"), ulaw, 8000, {880}},
        {QStringLiteral("mu-law, stereo 16 kHz"), ulaw, 16000, {920, 1380}},
        {QStringLiteral("IMA ADPCM, mono 8 kHz"), ima, 8000, {960}},
        {QStringLiteral("IMA ADPCM, stereo 48 kHz"), ima, 48000, {1000, 1500}},
        {QStringLiteral("MS ADPCM, mono 8 kHz"), ms, 8000, {1040}},
        {QStringLiteral("MS ADPCM, stereo 22.05 kHz"), ms, 22050, {1080, 1620}},
        {QStringLiteral("GSM 6.10, mono 8 kHz"), gsm, 8000, {1120}},
    };
}

bool writeToneFile(const QString& path, const ToneFormat& format, double seconds)
{
    QStringList arguments{QStringLiteral("-n"), QStringLiteral("-r"), QString::number(format.rate),
                          QStringLiteral("-c"), QString::number(format.tones.size())};
    arguments << format.soxEncoding << path << QStringLiteral("synth") << QString::number(seconds);
    for (double tone : format.tones)
        arguments << QStringLiteral("sine") << QString::number(tone);
    arguments << QStringLiteral("vol") << QStringLiteral("0.5");
    return runSox(arguments);
}

bool writeToneSequence(const QString& path, int rate, const QList<std::pair<double, double>>& tones)
{
    QStringList arguments{
        QStringLiteral("-n"), QStringLiteral("-r"), QString::number(rate), QStringLiteral("-c"),
        QStringLiteral("1"),  QStringLiteral("-b"), QStringLiteral("16"),  path};
    for (const auto& [frequency, seconds] : tones) {
        if (arguments.last() != path)
            arguments << QStringLiteral(":");
        arguments << QStringLiteral("synth") << QString::number(seconds) << QStringLiteral("sine")
                  << QString::number(frequency) << QStringLiteral("vol") << QStringLiteral("0.5");
    }
    return runSox(arguments);
}

bool writeDamageTone(const QString& folder)
{
    const ToneFormat format{
        QStringLiteral("PCM 16-bit, mono 8 kHz"),
        {QStringLiteral("-e"), QStringLiteral("signed"), QStringLiteral("-b"), QStringLiteral("16")},
        8000,
        {DamageToneHz}};
    // The byte offsets the damage below relies on.
    return writeToneFile(folder + QStringLiteral("/tone.wav"), format, DamageToneMs / 1000.0) &&
           tone(folder).mid(36, 4) == "data" && tone(folder).size() == 44 + 8 * DamageToneMs * 2;
}

QList<SilentInput> silentInputs()
{
    return {
        {QStringLiteral("theme name found nowhere"),
         [](const QString&) { return QStringLiteral("wobblix-no-such-sound"); }},
        {QStringLiteral("theme-like name with a folder"),
         [](const QString&) { return QStringLiteral("stereo/bell"); }},
        {QStringLiteral("blanks only"), [](const QString&) { return QStringLiteral("   "); }},
        {QStringLiteral("missing file"), [](const QString& f) { return f + QStringLiteral("/missing.wav"); }},
        {QStringLiteral("missing folder"),
         [](const QString& f) { return f + QStringLiteral("/nowhere/tone.wav"); }},
        {QStringLiteral("folder"),
         [](const QString& f) {
             QDir(f).mkdir(QStringLiteral("folder.wav"));
             return f + QStringLiteral("/folder.wav");
         }},
        {QStringLiteral("the sound theme's folder"),
         [](const QString&) { return QStringLiteral("/usr/share/sounds/freedesktop/stereo"); }},
        {QStringLiteral("named pipe with no writer"),
         [](const QString& f) {
             const QString path = f + QStringLiteral("/pipe.wav");
             ::mkfifo(QFile::encodeName(path).constData(), 0644);
             return path;
         }},
        {QStringLiteral("device that never ends"),
         [](const QString&) { return QStringLiteral("/dev/zero"); }},
        {QStringLiteral("text file"),
         [](const QString& f) {
             return write(f, QStringLiteral("notes.wav"), QByteArray("Wake up at seven.\n").repeated(50));
         }},
        {QStringLiteral("PNG image"),
         [](const QString& f) {
             return write(f, QStringLiteral("image.wav"),
                          QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + QByteArray(400, '\x11'));
         }},
        {QStringLiteral("zero-length file"),
         [](const QString& f) { return write(f, QStringLiteral("empty.wav"), {}); }},
        {QStringLiteral("header cut after 20 bytes"),
         [](const QString& f) { return write(f, QStringLiteral("cut20.wav"), tone(f).left(20)); }},
        {QStringLiteral("header without its data chunk"),
         [](const QString& f) { return write(f, QStringLiteral("nodata.wav"), tone(f).left(36)); }},
        {QStringLiteral("header with no samples after it"),
         [](const QString& f) { return write(f, QStringLiteral("nosamples.wav"), tone(f).left(44)); }},
        {QStringLiteral("fmt chunk of 2 GB"),
         [](const QString& f) {
             return toneWithBytes(f, QStringLiteral("hugefmt.wav"), 16, le32(0x7ffffff0));
         }},
        {QStringLiteral("chunk of 2 GB before the data"),
         [](const QString& f) {
             return write(f, QStringLiteral("hugelist.wav"),
                          tone(f).insert(36, QByteArray("LIST") + le32(0x7ffffff0) + QByteArray("INFO")));
         }},
        {QStringLiteral("zero channels"),
         [](const QString& f) { return toneWithBytes(f, QStringLiteral("nochannels.wav"), 22, le16(0)); }},
        {QStringLiteral("65535 channels"),
         [](const QString& f) {
             return toneWithBytes(f, QStringLiteral("manychannels.wav"), 22, le16(0xffff));
         }},
        {QStringLiteral("rate of 4 GHz"),
         [](const QString& f) {
             return toneWithBytes(f, QStringLiteral("hugerate.wav"), 24, le32(0xffffffff));
         }},
        {QStringLiteral("unknown encoding tag"),
         [](const QString& f) {
             return toneWithBytes(f, QStringLiteral("unknowntag.wav"), 20, le16(0x1234));
         }},
        {QStringLiteral("IMA ADPCM with no block size"),
         [](const QString& f) {
             return adpcmWithBlockAlign(f, QStringLiteral("ima-adpcm"), QStringLiteral("ima0.wav"));
         }},
        {QStringLiteral("MS ADPCM with no block size"),
         [](const QString& f) {
             return adpcmWithBlockAlign(f, QStringLiteral("ms-adpcm"), QStringLiteral("ms0.wav"));
         }},
    };
}

QList<DamagedInput> damagedInputs()
{
    return {
        {QStringLiteral("data chunk claims 4 GB"),
         [](const QString& f) {
             return toneWithBytes(f, QStringLiteral("hugedata.wav"), 40, le32(0xfffffff0));
         },
         DamageToneMs},
        {QStringLiteral("RIFF chunk claims 4 GB"),
         [](const QString& f) {
             return toneWithBytes(f, QStringLiteral("hugeriff.wav"), 4, le32(0xfffffff0));
         },
         DamageToneMs},
        {QStringLiteral("samples cut off halfway"),
         [](const QString& f) {
             return write(f, QStringLiteral("half.wav"), tone(f).left(44 + 8 * DamageToneMs));
         },
         DamageToneMs / 2},
    };
}

FileAccessAsNobody::FileAccessAsNobody()
{
    // The file-system user id of this thread: dropping it from 0 also drops root's override of file modes.
    if (::geteuid() == 0)
        m_previous = ::setfsuid(65534);
}

FileAccessAsNobody::~FileAccessAsNobody()
{
    if (m_previous >= 0)
        ::setfsuid(static_cast<uid_t>(m_previous));
}

QString writeUnreadableTone(const QString& folder)
{
    const QString inner = folder + QStringLiteral("/unreadable");
    QDir(folder).mkpath(QStringLiteral("unreadable"));
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder, open);
    QFile::setPermissions(inner, open);
    const QString path = inner + QStringLiteral("/tone.wav");
    QFile::copy(folder + QStringLiteral("/tone.wav"), path);
    QFile::setPermissions(path, {});
    return path;
}

} // namespace wobblix::test

#include "platform/audio/SoundFileSource.h"

#include <QFileInfo>

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace wobblix::platform {

namespace {

// libsndfile's virtual I/O over a QFile, passed as the user data.
QFile& fileOf(void* user)
{
    return *static_cast<QFile*>(user);
}

sf_count_t fileLength(void* user)
{
    return fileOf(user).size();
}

sf_count_t seekFile(sf_count_t offset, int whence, void* user)
{
    QFile& file = fileOf(user);
    const qint64 base = whence == SEEK_CUR ? file.pos() : whence == SEEK_END ? file.size() : 0;
    // A corrupt header can ask for any offset; one past either end of qint64 is an error, not a wrap.
    if ((offset > 0 && base > std::numeric_limits<qint64>::max() - offset) || base + offset < 0)
        return -1;
    return file.seek(base + offset) ? file.pos() : -1;
}

sf_count_t readFile(void* data, sf_count_t count, void* user)
{
    return std::max<qint64>(fileOf(user).read(static_cast<char*>(data), count), 0);
}

sf_count_t writeFile(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t tellFile(void* user)
{
    return fileOf(user).pos();
}

SF_VIRTUAL_IO qfileIo{fileLength, seekFile, readFile, writeFile, tellFile};

// Samples decoded at a time (all channels): small enough that a read stays cheap, large enough that
// libsndfile's per-call cost does not count.
constexpr qint64 PieceSamples = 8192;

} // namespace

void SoundFileSource::CloseSndfile::operator()(sf_private_tag* sndfile) const
{
    sf_close(sndfile);
}

SoundFileSource::SoundFileSource(std::unique_ptr<QFile> file, QObject* parent)
    : QIODevice(parent), m_file(std::move(file))
{
}

SoundFileSource::~SoundFileSource() = default;

std::unique_ptr<SoundFileSource> SoundFileSource::open(const QString& path, QObject* parent)
{
    // Only regular files: opening a named pipe would wait for a writer, and a device never ends.
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    SF_INFO info{};
    SNDFILE* sndfile = sf_open_virtual(&qfileIo, SFM_READ, &info, file.get());
    if (!sndfile)
        return nullptr;
    std::unique_ptr<SoundFileSource> source(new SoundFileSource(std::move(file), parent));
    source->m_sndfile.reset(sndfile);
    if (info.frames <= 0 || info.samplerate <= 0 || info.channels <= 0)
        return nullptr;
    source->m_fileRate = info.samplerate;
    source->m_fileChannels = info.channels;
    source->m_fileFrames = info.frames;
    QAudioFormat own;
    own.setSampleRate(info.samplerate);
    own.setChannelCount(info.channels);
    own.setSampleFormat(QAudioFormat::Float);
    source->setOutputFormat(own);
    // Unbuffered: every read decodes just what it asks for.
    source->QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return source;
}

void SoundFileSource::setOutputFormat(const QAudioFormat& format)
{
    m_converter = FrameConverter(m_fileRate, m_fileChannels, format);
}

qint64 SoundFileSource::bytesAvailable() const
{
    if (m_decoderDone)
        return m_pending.size();
    const qint64 expected = m_converter.outputFrames(m_fileFrames) * outputFormat().bytesPerFrame();
    return std::max<qint64>(expected - m_delivered, m_pending.size());
}

qint64 SoundFileSource::readData(char* data, qint64 maxSize)
{
    // Whole frames only: the sound server takes nothing else.
    const int frameBytes = outputFormat().bytesPerFrame();
    const qint64 wanted = maxSize - maxSize % frameBytes;
    const bool wasDelivered = isSoundDelivered();
    while (m_pending.size() < wanted && !m_decoderDone)
        decodePiece();
    const qint64 sound = std::min<qint64>(wanted, m_pending.size());
    std::memcpy(data, m_pending.constData(), static_cast<size_t>(sound));
    m_pending.remove(0, sound);
    m_delivered += sound;
    m_converter.silence(data + sound, (wanted - sound) / frameBytes);
    if (isSoundDelivered() && !wasDelivered)
        Q_EMIT soundDelivered();
    return wanted;
}

qint64 SoundFileSource::writeData(const char*, qint64)
{
    return -1;
}

void SoundFileSource::decodePiece()
{
    const qint64 frames = std::max<qint64>(1, PieceSamples / m_fileChannels);
    m_decoded.resize(static_cast<size_t>(frames * m_fileChannels));
    const sf_count_t read = sf_readf_float(m_sndfile.get(), m_decoded.data(), frames);
    if (read <= 0) {
        // The end, or data that cannot be decoded: either way the sound ends here.
        m_decoderDone = true;
        m_converter.finish(m_pending);
        return;
    }
    m_converter.convert(m_decoded.data(), read, m_pending);
}

} // namespace wobblix::platform

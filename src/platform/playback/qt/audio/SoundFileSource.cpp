// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/playback/qt/audio/SoundFileSource.h"

#include <QFileInfo>

#include <sndfile.h>

#include <algorithm>
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

} // namespace

void SoundFileSource::CloseSndfile::operator()(sf_private_tag* sndfile) const
{
    sf_close(sndfile);
}

SoundFileSource::SoundFileSource(std::unique_ptr<QFile> file) : m_file(std::move(file)) {}

SoundFileSource::~SoundFileSource() = default;

std::unique_ptr<SoundFileSource> SoundFileSource::open(const QString& path)
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
    std::unique_ptr<SoundFileSource> source(new SoundFileSource(std::move(file)));
    source->m_sndfile.reset(sndfile);
    if (info.frames <= 0 || info.samplerate <= 0 || info.channels <= 0)
        return nullptr;
    source->m_rate = info.samplerate;
    source->m_channels = info.channels;
    source->m_frames = info.frames;
    return source;
}

qint64 SoundFileSource::read(float* frames, qint64 maxFrames)
{
    if (m_ended || maxFrames <= 0)
        return 0;
    const sf_count_t read = std::max<sf_count_t>(sf_readf_float(m_sndfile.get(), frames, maxFrames), 0);
    // The end, or data that cannot be decoded: either way the sound ends here.
    m_ended = read < maxFrames;
    return read;
}

} // namespace wobblix::platform

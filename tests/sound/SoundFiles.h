// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace wobblix::test {

// A wave file encoding to try, with the tones its test file carries: one per channel, each format its
// own, so that a recording tells which file played and that no channel was lost or swapped.
struct ToneFormat {
    QString name;
    QStringList soxEncoding; // sox's output options for the encoding
    int rate = 0;
    QList<double> tones; // Hz, one per channel
};

// Every wave encoding the desktop's own player plays, mono and stereo, 8 to 96 kHz.
QList<ToneFormat> toneFormats();

// Writes `path` with sox: the format's tones at amplitude 0.5 for `seconds`.
bool writeToneFile(const QString& path, const ToneFormat& format, double seconds);

// Writes a mono 16-bit wave file at `rate` of one tone after another: {frequency (Hz), seconds} each.
bool writeToneSequence(const QString& path, int rate, const QList<std::pair<double, double>>& tones);

// A request that must give silence, and how to make what it names.
struct SilentInput {
    QString name;
    // Creates what the request names inside `folder` (a writable folder holding `tone.wav`, a valid
    // 8 kHz 16-bit mono wave file) and returns the text of the request.
    QString (*make)(const QString& folder);
};

// Every kind of name that plays nothing: paths of nothing, of things that are no sound file, of damaged
// wave files, and names the sound theme lacks.
QList<SilentInput> silentInputs();

// Requests of wave files whose header is readable but whose sizes lie (the data is shorter than they
// say): the data there is plays. Same `make` as above; `heardMs` is how much of the tone is in the file.
struct DamagedInput {
    QString name;
    QString (*make)(const QString& folder);
    int heardMs = 0;
};
QList<DamagedInput> damagedInputs();

// The tone of `tone.wav` in silentInputs() and damagedInputs(): 300 ms of 700 Hz.
constexpr double DamageToneHz = 700;
constexpr int DamageToneMs = 300;
bool writeDamageTone(const QString& folder);

// While it lives, this thread opens files with the rights of an ordinary user (nobody) even when the
// test runs as root, whose rights would read any file: for the "unreadable file" cases.
class FileAccessAsNobody {
public:
    FileAccessAsNobody();
    ~FileAccessAsNobody();
    FileAccessAsNobody(const FileAccessAsNobody&) = delete;
    FileAccessAsNobody& operator=(const FileAccessAsNobody&) = delete;

private:
    int m_previous = -1;
};

// Writes folder/unreadable/tone.wav, a copy of folder/tone.wav that only its owner may read (mode 000),
// in folders anyone may enter, and returns its path.
QString writeUnreadableTone(const QString& folder);

} // namespace wobblix::test

#pragma once

// Writes small real MP3 files: a sine tone or silence of a given length, optionally with an ID3v2.3
// tag. Used by the demo library, the built-in silent resource and the tests. Any thread.

#include <QByteArray>
#include <QString>

namespace tools {

struct Tone
{
    int lengthMs = 1000;
    double frequencyHz = 440.0; // 0 gives silence
    double amplitude = 0.5;     // of full scale, 0..1
    int sampleRate = 44100;
    // An ID3v2.3 tag is written in front of the audio when any of these is set.
    QString title;
    QString artist;
    QString album;
};

// The MP3 bytes of `tone`; empty when the encoder fails.
QByteArray toneMp3(const Tone& tone);

// Writes `tone` to `path` atomically; false when encoding or writing fails.
[[nodiscard]] bool writeToneMp3(const QString& path, const Tone& tone);

// The ID3v2.3 tag alone (TIT2, TPE1, TALB for the non-empty texts); empty when all are empty.
QByteArray id3v23Tag(const QString& title, const QString& artist, const QString& album);

} // namespace tools

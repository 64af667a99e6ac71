#include "tonemp3.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include <lame/lame.h>

namespace tools {

namespace {

constexpr int kChunkSamples = 4096;
constexpr int kBitrateKbps = 64;

struct LameDeleter
{
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameDeleter>;

void appendBigEndian32(QByteArray& out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

// An ID3v2.3 text frame: ISO-8859-1 when the text fits, else UTF-16 with a byte order mark.
QByteArray textFrame(const char* id, const QString& text)
{
    QByteArray body;
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 256; });
    if (latin1) {
        body.append('\0');
        body.append(text.toLatin1());
    } else {
        body.append('\1');
        body.append('\xFF');
        body.append('\xFE');
        for (QChar c : text) {
            body.append(static_cast<char>(c.unicode() & 0xFF));
            body.append(static_cast<char>(c.unicode() >> 8));
        }
    }
    QByteArray frame(id, 4);
    appendBigEndian32(frame, static_cast<quint32>(body.size()));
    frame.append(2, '\0'); // no frame flags
    frame.append(body);
    return frame;
}

std::vector<short> toneSamples(const Tone& tone, int first, int count)
{
    std::vector<short> samples(static_cast<size_t>(count), 0);
    if (tone.frequencyHz <= 0) return samples;
    const double amplitude = std::clamp(tone.amplitude, 0.0, 1.0) * 32767.0;
    const double step = 2.0 * std::numbers::pi * tone.frequencyHz / tone.sampleRate;
    for (int i = 0; i < count; ++i)
        samples[static_cast<size_t>(i)] =
            static_cast<short>(std::lround(amplitude * std::sin(step * (first + i))));
    return samples;
}

LamePtr makeEncoder(const Tone& tone)
{
    LamePtr lame(lame_init());
    if (!lame) return nullptr;
    lame_set_num_channels(lame.get(), 1);
    lame_set_in_samplerate(lame.get(), tone.sampleRate);
    lame_set_out_samplerate(lame.get(), tone.sampleRate);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), kBitrateKbps);
    lame_set_quality(lame.get(), 7);
    // The info frame carries the encoder delay and padding, so players report the true length.
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (lame_init_params(lame.get()) < 0) return nullptr;
    return lame;
}

} // namespace

QByteArray id3v23Tag(const QString& title, const QString& artist, const QString& album)
{
    QByteArray frames;
    if (!title.isEmpty()) frames += textFrame("TIT2", title);
    if (!artist.isEmpty()) frames += textFrame("TPE1", artist);
    if (!album.isEmpty()) frames += textFrame("TALB", album);
    if (frames.isEmpty()) return {};
    QByteArray tag("ID3\x03\x00\x00", 6);
    const auto size = static_cast<quint32>(frames.size());
    for (int shift = 21; shift >= 0; shift -= 7) // the tag size is sync-safe: 7 bits a byte
        tag.append(static_cast<char>((size >> shift) & 0x7F));
    return tag + frames;
}

QByteArray toneMp3(const Tone& tone)
{
    if (tone.lengthMs < 0 || tone.sampleRate <= 0) return {};
    LamePtr lame = makeEncoder(tone);
    if (!lame) return {};
    const int total = static_cast<int>(static_cast<qint64>(tone.lengthMs) * tone.sampleRate / 1000);
    // Worst case output of one call, as lame.h gives it: 1.25 x samples + 7200.
    std::vector<unsigned char> buffer(kChunkSamples * 5 / 4 + 7200);
    QByteArray audio;
    for (int done = 0; done < total; done += kChunkSamples) {
        const int count = std::min(kChunkSamples, total - done);
        std::vector<short> samples = toneSamples(tone, done, count);
        const int bytes = lame_encode_buffer(lame.get(), samples.data(), samples.data(), count, buffer.data(),
                                             static_cast<int>(buffer.size()));
        if (bytes < 0) return {};
        audio.append(reinterpret_cast<const char*>(buffer.data()), bytes);
    }
    const int tail = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (tail < 0) return {};
    audio.append(reinterpret_cast<const char*>(buffer.data()), tail);
    // The first frame of the stream was a placeholder for the info frame, now complete.
    const size_t infoSize = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
    if (infoSize > 0 && infoSize <= static_cast<size_t>(audio.size()))
        audio.replace(qsizetype{0}, static_cast<qsizetype>(infoSize),
                      reinterpret_cast<const char*>(buffer.data()), static_cast<qsizetype>(infoSize));
    return id3v23Tag(tone.title, tone.artist, tone.album) + audio;
}

bool writeToneMp3(const QString& path, const Tone& tone)
{
    const QByteArray bytes = toneMp3(tone);
    if (bytes.isEmpty()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

} // namespace tools

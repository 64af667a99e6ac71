#include "discimage.h"

#include <QFile>
#include <cmath>
#include <numbers>

#include "platform/cdrom.h"

namespace tools {

namespace {

constexpr int kFramesPerSecond = 75;
constexpr int kSampleRate = 44100;

QByteArray tone(uint32_t frames, double hertz)
{
    QByteArray bytes(qsizetype(frames) * platform::kCdFrameBytes, '\0');
    auto* samples = reinterpret_cast<int16_t*>(bytes.data());
    const qsizetype pairs = bytes.size() / 4;
    for (qsizetype i = 0; i < pairs; ++i) {
        const auto value = int16_t(8000 * std::sin(2 * std::numbers::pi * hertz * double(i) / kSampleRate));
        samples[2 * i] = value;
        samples[2 * i + 1] = int16_t(-value);
    }
    return bytes;
}

QString msf(uint32_t frame)
{
    return QStringLiteral("%1:%2:%3")
        .arg(frame / (60 * kFramesPerSecond), 2, 10, QLatin1Char('0'))
        .arg(frame / kFramesPerSecond % 60, 2, 10, QLatin1Char('0'))
        .arg(frame % kFramesPerSecond, 2, 10, QLatin1Char('0'));
}

} // namespace

DiscImage makeDiscImage(const QString& folder, const QString& name, const QVector<uint32_t>& frames)
{
    DiscImage image;
    image.cuePath = folder + QLatin1Char('/') + name + QStringLiteral(".cue");
    QFile bin(folder + QLatin1Char('/') + name + QStringLiteral(".bin"));
    if (!bin.open(QIODevice::WriteOnly)) return image;
    QString cue = QStringLiteral("FILE \"") + name + QStringLiteral(".bin\" BINARY\n");
    uint32_t start = 0;
    for (int i = 0; i < frames.size(); ++i) {
        image.starts.append(start);
        image.tracks.append(tone(frames[i], 220.0 * (i + 1)));
        bin.write(image.tracks.last());
        cue += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(msf(start));
        start += frames[i];
    }
    image.starts.append(start);
    QFile sheet(image.cuePath);
    if (sheet.open(QIODevice::WriteOnly)) sheet.write(cue.toUtf8());
    return image;
}

} // namespace tools

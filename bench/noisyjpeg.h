#pragma once

// A JPEG as large on disk, and as slow to decode, as a scanned photograph of its size: a gradient
// with a little noise, at quality 90, baseline or progressive.

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

inline QByteArray noisyJpeg(int width, int height, bool progressive)
{
    QImage picture(width, height, QImage::Format_RGB888);
    QRandomGenerator noise(3);
    for (int y = 0; y < height; ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const quint32 bits = noise.generate();
            line[3 * x] = uchar(x * 200 / width + (bits & 63));
            line[3 * x + 1] = uchar(y * 200 / height + ((bits >> 8) & 63));
            line[3 * x + 2] = uchar(128 + ((bits >> 16) & 63));
        }
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(picture) ? buffer.data() : QByteArray();
}

#pragma once

// JPEG pictures through libjpeg: decoding (optionally scaled down in the DCT, which is much
// faster than decoding at full size and shrinking afterwards) and encoding. Any thread may
// call these; they keep no state. Broken data is reported by the result, never by an exception
// and never by ending the process.

#include <QByteArray>
#include <QImage>
#include <QSize>

class QIODevice;
class QString;

namespace platform {

// Decodes the JPEG `data` into `out` in `format` (Format_RGB888, or Format_RGB32 for a picture
// that is drawn or stretched as it is: libjpeg writes the screen's format with no conversion
// after it). When `atLeast` is valid, the picture is decoded at the smallest scale n/8 whose
// result is still at least that large in both directions (full size when no scale is large
// enough). False (with `error` set when given, `out` unchanged) for data that libjpeg refuses,
// whose image data stops before the last row, or whose frame or working memory is beyond sensible
// bounds; warnings alone never refuse a picture.
[[nodiscard]] bool decodeJpeg(const QByteArray& data, QImage& out, QSize atLeast = QSize(),
                              QString* error = nullptr, QImage::Format format = QImage::Format_RGB888);

// Decodes the JPEG file open in `file`, from its current position, as decodeJpeg does: the file is
// read a piece at a time as libjpeg asks for it, so a large cover never lies in memory whole beside
// the picture made of it. A file of more than `maxBytes` is refused. `file` must be able to seek.
[[nodiscard]] bool decodeJpegFile(QIODevice& file, qint64 maxBytes, QImage& out, QSize atLeast = QSize(),
                                  QString* error = nullptr);

// `image` as a baseline JFIF file at `quality` (1..100, values outside are clamped); empty on failure.
QByteArray encodeJpeg(const QImage& image, int quality);

} // namespace platform

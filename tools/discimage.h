#pragma once

// Audio CD images: a ".bin" of raw frames and the ".cue" sheet that describes its tracks, which
// the CD drive layer reads like a disc in a drive (name the sheet in MUSETRA_CDROM). Every track
// holds its own tone, so its bytes differ from every other track's. Used by the tests and the
// benchmarks. Any thread.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>

namespace tools {

struct DiscImage
{
    QString cuePath;
    QVector<QByteArray> tracks; // the raw bytes of each track, in order
    QVector<uint32_t> starts;   // each track's first frame, then the lead-out
};

// Writes "<name>.bin" and "<name>.cue" into `folder` with one audio track per entry of `frames`.
DiscImage makeDiscImage(const QString& folder, const QString& name, const QVector<uint32_t>& frames);

} // namespace tools

#include "ripper/mp3encode.h"

#include <QFile>
#include <QScopeGuard>
#include <QThread>
#include <cmath>
#include <vector>

#include "controls/bitmapprogress.h"
#include "library/id3.h"
#include "platform/files.h"
#include "platform/lameenc.h"
#include "platform/waithelper.h"
#include "ripper/musripmain.h"

namespace ripper {

namespace {

constexpr uint32_t kProgressMax = 100;

Tripmain* windowOf(QObject* window)
{
    return static_cast<Tripmain*>(window);
}

} // namespace

// An open encoder stream with its buffers; closed when it goes.
struct tmp3encode::Stream
{
    platform::HBE_STREAM handle = nullptr;
    uint32_t samples = 0;
    std::vector<int16_t> input;
    std::vector<uint8_t> output;

    ~Stream()
    {
        if (handle) platform::beCloseStream(handle);
    }
};

tmp3encode::tmp3encode(QObject* window) : window_(window), thread_(QThread::create([this] { Execute(); })) {}

tmp3encode::~tmp3encode()
{
    Terminate();
    if (thread_->isRunning()) platform::waitForThread(*thread_);
}

void tmp3encode::Resume()
{
    thread_->start(QThread::NormalPriority);
}

QString tmp3encode::quotedTrack() const
{
    return QString::number(tracknumber) + QStringLiteral(" \"") + trackname + QLatin1Char('"');
}

void tmp3encode::log(const QString& text)
{
    platform::synchronize(window_,
                          [this, text] { windowOf(window_)->logent(QStringLiteral("    ") + text); });
}

void tmp3encode::setprogsize()
{
    platform::synchronize(window_, [this] {
        windowOf(window_)->encprogress->_setposition(0);
        windowOf(window_)->encprogress->_setmax(int32_t(kProgressMax));
    });
}

void tmp3encode::progvis(bool visible)
{
    platform::synchronize(window_, [this, visible] {
        controls::TBitmapProgress* ring = windowOf(window_)->encprogress;
        if (!visible) {
            ring->_setposition(1);
            ring->_setmax(1);
        }
        ring->setVisible(visible);
    });
}

// A tag that cannot be written leaves a playable MP3 without one.
void tmp3encode::writethetag()
{
    platform::synchronize(window_, [this] {
        library::tid3tag tag;
        tag.field = QStringLiteral("TAG");
        tag.track = trackname;
        tag.artist = artistname;
        tag.album = albumname;
        // The genre stays empty: it is written as genre number 0, which reads back as "Unclassified".
        (void)library::writetag(outfile, tag);
    });
}

bool tmp3encode::encodeAll(QFile& in, QFile& out, Stream& stream, QString& failure)
{
    const qint64 size = in.size();
    const double ratio = size != 0 ? double(kProgressMax) / double(size) : 0.0;
    c = 0;
    setprogsize();
    progvis(true);
    qint64 done = 0;
    while (done < size) {
        const qint64 toRead = std::min<qint64>(qint64(stream.input.size()) * 2, size - done);
        if (in.read(reinterpret_cast<char*>(stream.input.data()), toRead) != toRead) {
            failure = QStringLiteral("Error reading input file: \"") + trackname;
            return false;
        }
        uint32_t produced = 0;
        if (platform::beEncodeChunk(stream.handle, uint32_t(toRead / 2), stream.input.data(),
                                    stream.output.data(), produced) != platform::BE_ERR_SUCCESSFUL) {
            failure = QStringLiteral("Error encoding data: track ") + quotedTrack();
            return false;
        }
        const qint64 written = out.write(reinterpret_cast<const char*>(stream.output.data()), produced);
        if (terminated_) {
            failure = QStringLiteral("Aborting encoding data: \"") + trackname + QLatin1Char('"');
            return false;
        }
        if (written != qint64(produced)) {
            failure = QStringLiteral("Error writing output file: \"") + trackname + QLatin1Char('"');
            return false;
        }
        done += toRead;
        c = uint32_t(std::nearbyint(double(done) * ratio));
    }
    return true;
}

// Encodes `in` into `out`; false (with the reason logged) when the encoding failed.
bool tmp3encode::encodeFile(QFile& in, QFile& out)
{
    platform::TBECONFIG config;
    config.wBitrate = uint16_t(bitrate);
    config.bCRC = true;
    Stream stream;
    uint32_t bufsize = 0;
    if (platform::beInitStream(config, stream.samples, bufsize, stream.handle) !=
        platform::BE_ERR_SUCCESSFUL) {
        log(QStringLiteral("Error Initializing Encoder"));
        return false;
    }
    stream.input.resize(stream.samples);
    stream.output.resize(size_t(bufsize) * 2);
    QString failure;
    const bool ok = encodeAll(in, out, stream, failure);
    if (!ok) log(failure);
    uint32_t produced = 0;
    if (platform::beDeinitStream(stream.handle, stream.output.data(), produced) ==
        platform::BE_ERR_SUCCESSFUL)
        out.write(reinterpret_cast<const char*>(stream.output.data()), produced);
    if (!ok) log(QStringLiteral("Aborted encoding data for ") + quotedTrack());
    return ok && out.error() == QFileDevice::NoError;
}

void tmp3encode::Execute()
{
    // The window thread may treat the track as done once this is set, on every road out.
    const auto finish = qScopeGuard([this] { ffinished = true; });
    ffinished = false;
    log(QStringLiteral("Encoding data for track ") + quotedTrack());
    QFile in;
    // Read straight into the chunk buffer: each chunk is one read, with no copy through Qt's buffer.
    if (!platform::openRegularFile(in, infile, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        log(QStringLiteral("Error opening extracted wave file:") + infile);
        return progvis(false);
    }
    QFile out;
    if (!platform::openFileForWriting(out, outfile, QIODevice::WriteOnly | QIODevice::Truncate)) {
        log(QStringLiteral("Error creating output file:") + outfile);
        in.close();
        QFile::remove(infile); // the track cannot be made; its PCM would only fill the disk
        return progvis(false);
    }
    const bool ok = encodeFile(in, out);
    c = kProgressMax;
    in.close();
    out.close();
    if (ok) writethetag();
    QFile::remove(infile);
    if (!ok) QFile::remove(outfile);
    fsucceeded = ok;
    progvis(false);
    c = 0;
}

} // namespace ripper

// Extraction of the disc's tracks: each is read in chunks into a PCM file, which an encoder turns
// into an MP3 while the next track is read. One encoder at a time.

#include "ripper/musripmain.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <vector>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapprogress.h"
#include "controls/textscroller.h"
#include "controls/tspinningglobe.h"
#include "jukebox/jukeboxform.h"
#include "library/global.h"
#include "platform/files.h"
#include "platform/waithelper.h"
#include "ripper/albumstaging.h"
#include "ripper/mp3encode.h"
#include "ripper/mydialog.h"

namespace ripper {

namespace {

// How often the encoder's progress is shown while the window waits for it.
constexpr int kProgressTickMs = 100;
constexpr int kProgressMax = 100;

void processEvents()
{
    QCoreApplication::processEvents();
}

void scrollJukeboxMessages(bool on)
{
    if (jukebox::jukebox) jukebox::jukebox->lcd3->state(on);
}

// The TOC entry of the `n`th audio track (from 0), or -1.
int audioEntry(const platform::CdToc& toc, int n)
{
    for (int i = 0; i + 1 < toc.tracks.size(); ++i)
        if (toc.tracks[i].audio && n-- == 0) return i;
    return -1;
}

} // namespace

void Tripmain::doripping()
{
    scrollJukeboxMessages(false);
    spinglobe->stop();
    cancel->show();
    log->show();
    // The panel shows the jukebox's auto-play as it is now, not as it was at start-up.
    layoutJukeboxPanel();
    jbcontrolpanel->show();
    inf->setText(QStringLiteral("Extracting and Encoding"));
    progress->_setposition(1);
    progress->repaint();
    processEvents();
    cancelop = false;
    enc.reset();
    readErrors_.clear();
    emptyTracks_.clear();
    made_.clear();
    processEvents();
    for (int32_t n = 0; n < library::trackscount && !cancelop; ++n) {
        tempfilename =
            platform::joinPath(library::cachepath.left(255),
                               QStringLiteral("track") + QString::number(n) + QStringLiteral(".tmp"));
        rip(tempfilename, n);
        if (!cancelop) collectEncoder();
        if (cancelop) return endExtraction();
        if (!emptyTracks_.contains(n)) startEncoder(n);
    }
    collectEncoder();
    progress->hide();
    progress->_setposition(0);
    scrollJukeboxMessages(true);
    processEvents();
}

// A cancelled extraction: the encoder of the previous track was asked to stop and is waited for;
// the PCM of the track being read is not needed any more.
void Tripmain::endExtraction()
{
    collectEncoder();
    QFile::remove(tempfilename);
    stopit();
    scrollJukeboxMessages(true);
    processEvents();
}

void Tripmain::startEncoder(int32_t n)
{
    processEvents();
    enclastprog = 0;
    enc = std::make_unique<tmp3encode>(this);
    enc->infile = tempfilename;
    enc->outfile = platform::joinPath(stagingfolder(library::albumpath),
                                      QStringLiteral("track%1.mp3").arg(n + 1, 2, 10, QLatin1Char('0')));
    enc->trackname = id3titles.track.value(n);
    enc->artistname = id3titles.artist;
    enc->albumname = id3titles.album;
    enc->tracknumber = n + 1;
    enc->bitrate = library::config.bitrate;
    enc->Resume();
    processEvents();
}

// Waits for the current encoder, counts its track when it was made, and lets it go.
void Tripmain::collectEncoder()
{
    if (!enc) return;
    mywaitfor();
    if (enc->succeeded()) made_.insert(enc->tracknumber - 1);
    enc.reset();
}

void Tripmain::mywaitfor()
{
    if (!enc) return;
    QThread& thread = enc->thread();
    QEventLoop loop;
    connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    tick.setInterval(kProgressTickMs);
    connect(&tick, &QTimer::timeout, this, &Tripmain::showEncoderProgress);
    tick.start();
    if (!thread.isFinished()) loop.exec();
    // A quitting application ends the loop early; the encoder is still waited for.
    platform::waitForThread(thread);
    showEncoderProgress();
}

void Tripmain::showEncoderProgress()
{
    if (!enc || enc->position() <= enclastprog) return;
    enclastprog = enc->position();
    encprogress->_setposition(int32_t(enclastprog));
}

bool Tripmain::readTocForTrack(platform::CdToc& toc)
{
    while (cdhandle && !cdhandle->readToc(toc)) {
        if (md(QStringLiteral("Unable to read Table of Contents from CD.\r\nTry cleaning the disk."),
               QStringLiteral("Try Again"), QStringLiteral("Exit"), QStringLiteral("CD Error"),
               false) != kFirstButton) {
            die();
            return false;
        }
    }
    return cdhandle != nullptr;
}

void Tripmain::rip(const QString& fn, int32_t trck)
{
    toptitle->setText(QStringLiteral("Extracting"));
    platform::CdToc toc;
    if (!cdhandle || !readTocForTrack(toc)) return;
    const int entry = audioEntry(toc, trck);
    if (entry < 0) return;
    const uint32_t start = toc.tracks[entry].start;
    const uint32_t end = std::max(start, toc.tracks[entry + 1].start);
    progress->show();
    progress->_setmax(kProgressMax);
    progress->_setposition(0);
    // Whatever stands at the name in the cache (a leftover, a link, a FIFO) goes: the file is made
    // anew, never through a link, and only a regular file is written.
    QFile::remove(fn);
    QFile file;
    if (!platform::openFileForWriting(file, fn, QIODevice::WriteOnly | QIODevice::Truncate))
        return stopOnWriteFailure(fn);
    logent(QStringLiteral("Extracting data for track ") + QString::number(trck + 1) +
           QStringLiteral(" - \"") + library::tracks.value(trck) + QLatin1Char('"'));
    // A track that ends where it starts (an image cut before it) has nothing to give either.
    if (!readChunks(file, start, end - start) || end == start) readErrors_.insert(trck);
    const bool nothingRead = file.size() == 0;
    file.close();
    // Nothing read, nothing to play: no MP3 is made of it, so guests cannot pick a silent track.
    if (nothingRead) {
        emptyTracks_.insert(trck);
        QFile::remove(fn);
    }
    progress->_setmax(kProgressMax);
    progress->_setposition(0);
    progress->hide();
    processEvents();
}

// Reads `length` frames from `start` into `file`, kChunkFrames at a time. A chunk is tried
// kChunkTries times and skipped when it still fails; more than kMaxFailedChunks skipped chunks end
// the track early. Every byte read is written. False when a chunk was skipped.
bool Tripmain::readChunks(QFile& file, uint32_t start, uint32_t length)
{
    std::vector<char> buffer(size_t(kChunkFrames) * platform::kCdFrameBytes);
    const double progressunit = double(kProgressMax) / double(length + 1);
    const uint32_t laststart = start;
    int errcount = 0;
    while (length > 0 && !cancelop) {
        processEvents();
        const uint32_t num2rip = std::min(kChunkFrames, length);
        bool read = false;
        for (int tries = 0; tries < kChunkTries && !read && !cancelop && cdhandle; ++tries) {
            processEvents();
            read = cdhandle && cdhandle->readAudio(start, num2rip, buffer.data());
            processEvents();
        }
        if (cancelop || !cdhandle) return errcount == 0;
        progress->_setposition(int32_t(std::nearbyint((start - laststart) * progressunit)));
        showEncoderProgress();
        processEvents();
        const qint64 bytes = qint64(num2rip) * platform::kCdFrameBytes;
        if (read && file.write(buffer.data(), bytes) != bytes) {
            stopOnWriteFailure(tempfilename);
            return errcount == 0;
        }
        if (!read) {
            logent(QStringLiteral("CD Read Error.  (at:") + QString::number(start) +
                   QStringLiteral(". code: ") + QString::number(cdhandle->lastError()) +
                   QStringLiteral("). Continuing. Cancel and try cleaning the disk?"));
            if (++errcount > kMaxFailedChunks) {
                logent(QStringLiteral("Too many errors. Aborting. Possibly a data track?"));
                return false;
            }
        }
        start += num2rip;
        length -= num2rip;
    }
    return errcount == 0;
}

// A PCM file that cannot be written (a full disk) ends the road.
void Tripmain::stopOnWriteFailure(const QString& fn)
{
    md(QStringLiteral("Error writing extracted wave file:") + fn + fullDiskNote(library::cachepath),
       QStringLiteral("OK"), QString(), QStringLiteral("Filing Error"), false);
    cancelop = true;
}

} // namespace ripper

#include "jukebox/searchthread.h"

#include <QDateTime>
#include <algorithm>
#include <future>
#include <thread>
#include <vector>

#include "library/albumstore.h"
#include "platform/files.h"
#include "platform/waithelper.h"

namespace jukebox {

namespace {

const QString kTitlesFile = QStringLiteral("title.dat");
const QString kAlbumIcon = QStringLiteral("CDICON");
const QString kTrackIcon = QStringLiteral("NOTES");
// Rows wait in a batch until this many are ready or this long has passed since the last hand-over:
// one hand-over per row would cost more than the search itself.
constexpr int kBatchRows = 256;
constexpr qint64 kBatchMs = 30;
// Title files are read a block of albums at a time by up to this many readers.
constexpr int32_t kBlockAlbums = 512;
constexpr int kReaders = 4;

// True when album `n` is among those pass 1 found (in album order).
bool isFound(const QVector<tknownalbums>& found, int32_t n)
{
    const auto at =
        std::lower_bound(found.cbegin(), found.cend(), n,
                         [](const tknownalbums& album, int32_t number) { return album.number < number; });
    return at != found.cend() && at->number == n;
}

} // namespace

bool findkeyword(const QString& text, const QString& keyword)
{
    // Case-insensitive matching folds case as upper-casing both would, without copying the text.
    return !keyword.isEmpty() && text.contains(keyword, Qt::CaseInsensitive);
}

tsearchthread::tsearchthread(QObject* context, const QString& keyword, const library::albumtype& albums,
                             const QString& root, Handlers handlers)
    : context_(context), keyword_(keyword), albums_(albums), root_(root), handlers_(std::move(handlers))
{
}

tsearchthread::~tsearchthread()
{
    cancel = true;
    platform::waitForThread(*this);
}

QString tsearchthread::albumFolder(int32_t n) const
{
    return platform::joinPath(root_, library::albumfoldername(albums_.at(n)));
}

void tsearchthread::run()
{
    lastFlush_ = QDateTime::currentMSecsSinceEpoch();
    QVector<tknownalbums> found;
    QVector<QStringList> foundTitles;
    findAlbums(found);
    if (!cancel) findTitles(found, foundTitles);
    if (!cancel && !found.isEmpty()) listFoundAlbums(found, foundTitles);
    if (cancel) {
        stopped_ = true;
        return;
    }
    flush();
    platform::synchronize(context_, handlers_.updatestatus);
}

// Pass 1: the albums whose artist and name, joined by a blank, hold the keyword.
void tsearchthread::findAlbums(QVector<tknownalbums>& found)
{
    for (int32_t n = 1; n < albums_.size() && !cancel; ++n) {
        const library::talbumtype& entry = albums_.at(n);
        if (!findkeyword(entry.artist + QLatin1Char(' ') + entry.album, keyword_)) continue;
        found.append({platform::joinPath(albumFolder(n), kTitlesFile), n});
        addrow(n, QString(), -1, kAlbumIcon);
    }
}

// Pass 2: the track titles of every album that has a "title.dat". The files of a block of albums
// are read by several readers at once (reading, not matching, is what takes the time); the rows
// still come in album order. The titles of the albums found in pass 1 are kept for pass 3.
void tsearchthread::findTitles(const QVector<tknownalbums>& found, QVector<QStringList>& foundTitles)
{
    foundTitles.resize(found.size());
    int nextFound = 0;
    const int readers = std::clamp(int(std::thread::hardware_concurrency()), 1, kReaders);
    for (int32_t first = 1; first < albums_.size() && !cancel; first += kBlockAlbums) {
        const int32_t end = std::min<int32_t>(first + kBlockAlbums, int32_t(albums_.size()));
        QVector<TitleHits> hits(end - first);
        std::vector<std::future<void>> reading;
        for (int r = 0; r < readers; ++r) {
            reading.push_back(std::async(std::launch::async, [this, &found, &hits, first, end, r, readers] {
                for (int32_t n = first + r; n < end && !cancel; n += readers) {
                    hits[n - first] = titleHits(n);
                    // Only pass 3 needs the lines, and only those of the albums pass 1 found.
                    if (!isFound(found, n)) hits[n - first].lines.clear();
                }
            }));
        }
        for (std::future<void>& reader : reading)
            reader.get();
        for (int32_t n = first; n < end && !cancel; ++n) {
            TitleHits& album = hits[n - first];
            if (nextFound < found.size() && found.at(nextFound).number == n)
                foundTitles[nextFound++] = album.lines;
            for (SearchRow& row : album.rows)
                addrow(row.alb, row.tracktitle, row.track, row.icon);
        }
        flushWhenDue();
    }
}

// The titles of album `n` and the rows of those that hold the keyword (any thread).
tsearchthread::TitleHits tsearchthread::titleHits(int32_t n) const
{
    TitleHits hits;
    // The same bounded reading as the album pages: rows beyond those a guest can select are not read.
    if (!library::readtitlelines(albumFolder(n), hits.lines)) return hits;
    for (int j = 0; j < hits.lines.size() && !cancel; ++j) {
        const QString& line = hits.lines.at(j);
        if (!line.isEmpty() && findkeyword(line, keyword_)) hits.rows.append({n, line, j + 1, kTrackIcon});
    }
    return hits;
}

// Pass 3: every track of the albums pass 1 found, keyword or not.
void tsearchthread::listFoundAlbums(const QVector<tknownalbums>& found,
                                    const QVector<QStringList>& foundTitles)
{
    for (int i = 0; i < found.size() && !cancel; ++i) {
        const QStringList& lines = foundTitles.at(i);
        for (int j = 0; j < lines.size() && !cancel; ++j) {
            if (!lines.at(j).isEmpty()) addrow(found.at(i).number, lines.at(j), j + 1, kTrackIcon);
        }
        flushWhenDue();
    }
}

void tsearchthread::addrow(int32_t alb, const QString& tracktitle, int32_t track, const QString& icon)
{
    batch_.append({alb, tracktitle, track, icon});
    if (batch_.size() >= kBatchRows) flush();
}

void tsearchthread::flushWhenDue()
{
    if (!batch_.isEmpty() && QDateTime::currentMSecsSinceEpoch() - lastFlush_ >= kBatchMs) flush();
}

void tsearchthread::flush()
{
    lastFlush_ = QDateTime::currentMSecsSinceEpoch();
    if (batch_.isEmpty()) return;
    const QVector<SearchRow> rows = std::exchange(batch_, {});
    platform::synchronize(context_, [this, &rows] {
        // A search cancelled meanwhile adds nothing more: its rows must not reach the next list.
        if (!cancel) handlers_.additem(rows);
    });
}

} // namespace jukebox

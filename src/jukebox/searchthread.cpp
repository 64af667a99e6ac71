#include "jukebox/searchthread.h"

#include <QDateTime>
#include <QHash>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
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
// The readers of title files: at most this many, however many cores there are, and they read at
// most this many albums, or hold this many bytes of rows, ahead of the rows the search has taken.
// The albums ahead cover the search's hand-overs to the window thread, which on a busy machine wait
// for it to get a core: the readers go on meanwhile.
constexpr int kReaders = 4;
constexpr int32_t kAlbumsAhead = 1024;
constexpr qint64 kBytesAhead = 8ll * 1024 * 1024;
// How long a wait for the other side goes before it looks at `cancel` again.
constexpr std::chrono::milliseconds kCancelCheck{10};

// What a row of `title` costs, as the readers count it.
qint64 rowBytes(QStringView title)
{
    return qint64(sizeof(SearchRow)) + title.size() * qint64(sizeof(QChar));
}

// True when album `n` is among those pass 1 found (in album order).
bool isFound(const QVector<tknownalbums>& found, int32_t n)
{
    const auto at =
        std::lower_bound(found.cbegin(), found.cend(), n,
                         [](const tknownalbums& album, int32_t number) { return album.number < number; });
    return at != found.cend() && at->number == n;
}

// The readers every search shares: threads made at the first search and kept, as many as the
// machine has cores up to kReaders. Each takes the next job when it has finished one.
class ReaderPool
{
public:
    static ReaderPool& instance()
    {
        static ReaderPool pool;
        return pool;
    }

    int size() const { return int(threads_.size()); }

    void run(std::function<void()> job)
    {
        const std::lock_guard lock(guard_);
        jobs_.push_back(std::move(job));
        ready_.notify_one();
    }

    ~ReaderPool()
    {
        {
            const std::lock_guard lock(guard_);
            stopping_ = true;
        }
        ready_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

private:
    ReaderPool()
    {
        const int count = std::clamp(int(std::thread::hardware_concurrency()), 1, kReaders);
        for (int t = 0; t < count; ++t)
            threads_.emplace_back([this] { work(); });
    }

    void work()
    {
        std::unique_lock lock(guard_);
        for (;;) {
            ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            const std::function<void()> job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    std::mutex guard_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace

bool findkeyword(QStringView text, const QString& keyword)
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
    findAlbums(found);
    if (!cancel) findTitles(found);
    if (!cancel) listFoundAlbums();
    const bool cancelled = cancel;
    if (!cancelled) {
        flush();
        platform::synchronize(context_, [this] { handlers_.updatestatus(more_); });
    }
    // The batch still on its way uses this object.
    batchTaken_.acquire();
    stopped_ = cancelled;
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

// Pass 2 as the readers and the search share it: albums are handed out one at a time in album
// order and their hits come back by album number. All under `guard`.
struct tsearchthread::Reading
{
    std::mutex guard;
    std::condition_variable changed;
    int32_t next = 1;  // the next album a reader takes
    int32_t taken = 1; // the next album the search takes
    // The bytes of the rows the readers hold, of albums read and being read, that the search has
    // not taken yet.
    qint64 bytesAhead = 0;
    int readers = 0; // readers still at work
    QHash<int32_t, TitleHits> read;
};

// Pass 2: the track titles of every album that has a "title.dat". The pool's readers read the
// files (reading, not matching, is what takes the time) while this thread takes their hits in
// album order; the rows of the albums found in pass 1 are kept for pass 3.
void tsearchthread::findTitles(const QVector<tknownalbums>& found)
{
    Reading reading;
    const int readers = ReaderPool::instance().size();
    reading.readers = readers;
    for (int r = 0; r < readers; ++r)
        ReaderPool::instance().run([this, &reading, &found] { readTitles(reading, found); });
    for (int32_t n = 1; n < albums_.size() && !cancel; ++n) {
        std::unique_lock lock(reading.guard);
        while (!cancel && !reading.read.contains(n))
            reading.changed.wait_for(lock, kCancelCheck);
        if (cancel) break;
        TitleHits album = reading.read.take(n);
        reading.bytesAhead -= album.bytes;
        reading.taken = n + 1;
        reading.changed.notify_all();
        lock.unlock();
        takeTitleHits(album);
        flushWhenDue();
    }
    // The readers use this frame: it ends only after the last of them.
    std::unique_lock lock(reading.guard);
    reading.changed.notify_all();
    while (reading.readers > 0)
        reading.changed.wait_for(lock, kCancelCheck);
}

// One reader: takes the next album while it stays close enough behind the search, until none is
// left or the search is cancelled (pool thread).
void tsearchthread::readTitles(Reading& reading, const QVector<tknownalbums>& found) const
{
    std::unique_lock lock(reading.guard);
    for (;;) {
        const auto mayTake = [&] {
            // The album the search waits for is always taken.
            return reading.next == reading.taken ||
                   (reading.next - reading.taken < kAlbumsAhead && reading.bytesAhead < kBytesAhead);
        };
        while (!cancel && reading.next < albums_.size() && !mayTake())
            reading.changed.wait_for(lock, kCancelCheck);
        if (cancel || reading.next >= albums_.size()) break;
        const int32_t n = reading.next++;
        lock.unlock();
        TitleHits hits = titleHits(reading, n, isFound(found, n));
        lock.lock();
        reading.read.insert(n, std::move(hits));
        reading.changed.notify_all();
    }
    --reading.readers;
    reading.changed.notify_all();
}

// The rows of album `n`'s titles that hold the keyword and, for an album pass 1 found, those of
// its other titles, as many of each as could still be listed (pool thread). The lines are read
// one at a time and only those that make rows are kept.
tsearchthread::TitleHits tsearchthread::titleHits(Reading& reading, int32_t n, bool foundAlbum) const
{
    TitleHits hits;
    int32_t track = 0;
    const platform::LineVisitor visitor{[&](QStringView line) {
                                            ++track;
                                            if (cancel) return false;
                                            const qint64 bytes = hits.bytes;
                                            addTitleHit(hits, {n, line, track}, foundAlbum);
                                            if (hits.bytes != bytes) holdRows(reading, n, hits, bytes);
                                            return true;
                                        },
                                        [&] {
                                            const qint64 bytes = hits.bytes;
                                            hits = {};
                                            holdRows(reading, n, hits, bytes);
                                            track = 0;
                                        }};
    // The same bounded reading as the album pages: rows beyond those a guest can select are not read.
    (void)library::visittitlelines(albumFolder(n), visitor);
    return hits;
}

// Counts the change of `hits` from `heldBytes` in the rows held ahead of the search. While those
// pass their bound, the reader of any album but the one the search waits for waits, cutting its
// rows to those that could still be listed as the search lists more (pool thread).
void tsearchthread::holdRows(Reading& reading, int32_t n, TitleHits& hits, qint64 heldBytes) const
{
    std::unique_lock lock(reading.guard);
    reading.bytesAhead += hits.bytes - heldBytes;
    while (!cancel && n != reading.taken && reading.bytesAhead > kBytesAhead) {
        reading.changed.wait_for(lock, kCancelCheck);
        reading.bytesAhead -= cutToRoom(hits);
    }
}

// Cuts `hits` to the rows that could still be listed, counting the rest; the bytes freed.
qint64 tsearchthread::cutToRoom(TitleHits& hits) const
{
    const int32_t room = std::max(kMaxRows - listed_.load(), 0);
    const qint64 bytes = hits.bytes;
    const auto cut = [&](QVector<SearchRow>& rows, int64_t& more) {
        for (qsizetype r = room; r < rows.size(); ++r)
            hits.bytes -= rowBytes(rows.at(r).tracktitle);
        more += std::max<qsizetype>(rows.size() - room, 0);
        if (rows.size() > room) rows.resize(room);
    };
    cut(hits.rows, hits.moreRows);
    cut(hits.others, hits.moreOthers);
    return bytes - hits.bytes;
}

// Line `title.track` of album `title.alb` as a row of `hits` when it holds the keyword or, when
// `foundAlbum`, as a row for pass 3; only counted once no more rows of its kind could be listed.
void tsearchthread::addTitleHit(TitleHits& hits, const TitleLine& title, bool foundAlbum) const
{
    if (title.text.isEmpty()) return;
    const bool match = findkeyword(title.text, keyword_);
    if (!match && !foundAlbum) return;
    QVector<SearchRow>& rows = match ? hits.rows : hits.others;
    if (rows.size() >= kMaxRows - listed_.load()) {
        ++(match ? hits.moreRows : hits.moreOthers);
        return;
    }
    rows.append({title.alb, title.text.toString(), title.track, kTrackIcon});
    hits.bytes += rowBytes(title.text);
}

// One album's hits, in album order: its rows now, its other rows for pass 3.
void tsearchthread::takeTitleHits(TitleHits& album)
{
    for (const SearchRow& row : album.rows)
        addrow(row.alb, row.tracktitle, row.track, row.icon);
    more_ += album.moreRows;
    laterMore_ += album.moreOthers;
    for (SearchRow& row : album.others) {
        if (later_.size() < kMaxRows)
            later_.append(std::move(row));
        else
            ++laterMore_;
    }
}

// Pass 3: the other tracks of the albums pass 1 found (those holding the keyword came in pass 2).
void tsearchthread::listFoundAlbums()
{
    for (const SearchRow& row : std::as_const(later_)) {
        if (cancel) return;
        addrow(row.alb, row.tracktitle, row.track, row.icon);
    }
    more_ += laterMore_;
}

void tsearchthread::addrow(int32_t alb, const QString& tracktitle, int32_t track, const QString& icon)
{
    if (listed_ >= kMaxRows) {
        ++more_;
        return;
    }
    ++listed_;
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
    // The search goes on while the window thread lists a batch; the next waits until it has.
    batchTaken_.acquire();
    platform::handOver(
        context_,
        [this, rows = std::exchange(batch_, {})] {
            // A search cancelled meanwhile adds nothing more: its rows must not reach the next list.
            if (!cancel) handlers_.additem(rows);
        },
        batchTaken_);
}

} // namespace jukebox

#include "jukebox/searchthread.h"

#include <QDateTime>
#include <QFile>

#include "library/albumstore.h"
#include "platform/files.h"
#include "platform/textcodec.h"
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

// The lines of a "title.dat", as they stand; false when it cannot be read.
bool readLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    lines = platform::splitLines(platform::decodeText(file.readAll()));
    return true;
}

// The "title.dat" of an album folder: the exact name when it exists, else any spelling of it.
QString existingTitleFile(const QString& path)
{
    if (QFile::exists(path)) return path;
    const int cut = int(path.size() - kTitlesFile.size() - 1);
    return platform::findNoCase(path.left(cut), kTitlesFile);
}

} // namespace

bool findkeyword(const QString& text, const QString& keyword)
{
    if (keyword.isEmpty()) return false;
    return text.toUpper().contains(keyword.toUpper());
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

QString tsearchthread::titleFile(int32_t n) const
{
    return platform::joinPath(platform::joinPath(root_, library::albumfoldername(albums_.at(n))),
                              kTitlesFile);
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
        found.append({titleFile(n), n});
        addrow(n, QString(), -1, kAlbumIcon);
    }
}

// Pass 2: the track titles of every album that has a "title.dat". The titles of the albums found
// in pass 1 are kept for pass 3.
void tsearchthread::findTitles(const QVector<tknownalbums>& found, QVector<QStringList>& foundTitles)
{
    foundTitles.resize(found.size());
    int nextFound = 0;
    for (int32_t n = 1; n < albums_.size() && !cancel; ++n) {
        QStringList lines;
        const bool readable = readLines(existingTitleFile(titleFile(n)), lines);
        const bool isFound = nextFound < found.size() && found.at(nextFound).number == n;
        if (isFound) foundTitles[nextFound++] = lines;
        if (!readable) continue;
        for (int j = 0; j < lines.size() && !cancel; ++j) {
            const QString& line = lines.at(j);
            if (!line.isEmpty() && findkeyword(line, keyword_)) addrow(n, line, j + 1, kTrackIcon);
        }
        flushWhenDue();
    }
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

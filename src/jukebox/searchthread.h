#pragma once

// The worker behind the jukebox's search panel. It looks for a keyword in three passes: album
// names (artist and album), then the track titles of every album's "title.dat", then all the
// other tracks of the albums the first pass found. It works on a copy of the album list taken when
// it is made and never touches widgets: its rows reach the window thread through hand-overs, in
// order, a batch at a time with one batch at most on its way, up to `kMaxRows` rows; rows beyond are
// only counted. It ends once the window thread has taken its last batch. The title files are read
// by a fixed pool of readers shared by every search, a line at a time, some albums and a few
// megabytes of rows ahead of the rows listed. The window thread stops it by setting
// `cancel` and waiting for it with the project's wait helper. Made, started, cancelled and freed on the
// window thread; `run` is the worker.

#include <QString>
#include <QStringView>
#include <QThread>
#include <QVector>
#include <atomic>
#include <cstdint>
#include <functional>
#include <semaphore>

#include "library/global.h"

namespace jukebox {

// True when the keyword, in capitals, occurs anywhere in the text in capitals. An empty keyword
// matches nothing.
bool findkeyword(QStringView text, const QString& keyword);

// An album the first pass found: the path of its "title.dat" and its number.
struct tknownalbums
{
    QString path;
    int32_t number = 0;
};

// One result row: the album, the track title and number (empty and -1 for an album row) and the
// name of the row's icon.
struct SearchRow
{
    int32_t alb = 0;
    QString tracktitle;
    int32_t track = -1;
    QString icon;
};

class tsearchthread : public QThread
{
    Q_OBJECT

public:
    // The most rows one search lists.
    static constexpr int32_t kMaxRows = 10'000;

    // Run on the window thread of `context`: `additem` with each batch of rows, `updatestatus`
    // once at the end of a search that was not cancelled, with the number of rows found beyond
    // `kMaxRows`.
    struct Handlers
    {
        std::function<void(const QVector<SearchRow>&)> additem;
        std::function<void(int64_t more)> updatestatus;
    };

    // `albums` is the album list (slot 0 unused), `root` the library folder.
    tsearchthread(QObject* context, const QString& keyword, const library::albumtype& albums,
                  const QString& root, Handlers handlers);
    ~tsearchthread() override;

    // Set by the window thread; the search ends at the next album or line.
    std::atomic<bool> cancel{false};
    // True once the search ended because of `cancel`.
    bool stopped() const { return stopped_.load(); }

protected:
    // The search (the thread body).
    void run() override;

private:
    // What one album's title file gave: the rows of the lines that match and, for an album pass 1
    // found, the rows of its other lines, each as many as could still be listed, and how many
    // more there were.
    struct TitleHits
    {
        QVector<SearchRow> rows;
        int64_t moreRows = 0;
        QVector<SearchRow> others;
        int64_t moreOthers = 0;
        qint64 bytes = 0;
    };
    // One line of an album's title file: the album, the line's text and its track number.
    struct TitleLine
    {
        int32_t alb;
        QStringView text;
        int32_t track;
    };
    struct Reading;

    void findAlbums(QVector<tknownalbums>& found);
    void findTitles(const QVector<tknownalbums>& found);
    void readTitles(Reading& reading, const QVector<tknownalbums>& found) const;
    TitleHits titleHits(Reading& reading, int32_t n, bool foundAlbum) const;
    void holdRows(Reading& reading, int32_t n, TitleHits& hits, qint64 heldBytes) const;
    qint64 cutToRoom(TitleHits& hits) const;
    void addTitleHit(TitleHits& hits, const TitleLine& title, bool foundAlbum) const;
    void takeTitleHits(TitleHits& album);
    void listFoundAlbums();
    void addrow(int32_t alb, const QString& tracktitle, int32_t track, const QString& icon);
    void flush();
    void flushWhenDue();
    QString albumFolder(int32_t n) const;

    QObject* context_;
    const QString keyword_;
    const library::albumtype albums_;
    const QString root_;
    const Handlers handlers_;
    QVector<SearchRow> batch_;
    // Free while no batch is on its way to the window thread.
    std::binary_semaphore batchTaken_{1};
    qint64 lastFlush_ = 0;
    // Rows listed so far (read by the readers too) and rows found beyond `kMaxRows`.
    std::atomic<int32_t> listed_{0};
    int64_t more_ = 0;
    // Pass 3's rows, gathered during pass 2 up to `kMaxRows`, and how many more there were.
    QVector<SearchRow> later_;
    int64_t laterMore_ = 0;
    std::atomic<bool> stopped_{false};
};

} // namespace jukebox

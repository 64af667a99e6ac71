#pragma once

// A grid of square thumbnails (album covers) without a scroll bar: "More" boxes above and below
// the grid move it by one row per press, ever faster while held. A press on a thumbnail chooses
// it; the release reports the choice. A red remote cursor lets arrow keys walk the grid.
// A picture given as such is kept at its display size with 16 bits per pixel. An album cover
// given by its folder is read only when something shows it: its cell is decoded from the cover
// when it comes into view and held in a cache of a fixed number of cells, and its small copy (what
// list rows show beside the album, compressed as a JPEG) is made when a row first asks for it and
// kept in the cache folder, where the next run finds it; so memory and start-up work stay small
// however many albums there are. Both are made on worker threads, below the window thread's
// priority, so a huge cover never holds the window: a cell shows black until its picture
// arrives, a row shows no picture until its small copy does. A hidden scroller keeps no face
// (nearly screen-sized): it renders when it shows.
// The face is transparent between the cells, so the parent's background shows through.
// GUI thread only; owned by its Qt parent.

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QString>
#include <QVector>
#include <QSet>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <vector>

#include "controls/touchlist.h"

class QPainter;

namespace controls {

// A cover given by its album folder, as the cover loader hands it over.
struct FolderCover
{
    int32_t album = 0;
    QString folder;
};

// One thumbnail: its picture (owned by the scroller), the number of the album it shows and, for a
// cover given by its album folder, that folder and, once made, the cover's small copy (the picture
// is then the shared small copy, or null for one of its own; both are empty until it is made).
struct picrecord
{
    QImage picture;
    int32_t album = 0;
    QString folder;
    QByteArray small;
};

struct tpicturelist
{
    QVector<picrecord> items;
};

class TPictureScroller : public TouchList
{
    Q_OBJECT

public:
    // The side of the small copy kept for a cover given by its folder.
    static constexpr int kSmallSide = 56;
    // How many decoded cells of such covers are held at most.
    static constexpr int kCachedCells = 64;

    explicit TPictureScroller(QWidget* owner);
    // Waits for the covers being made (a worker gives up one waiting for its turn at a huge cover).
    ~TPictureScroller() override;

    void add(const QImage& bmp, int32_t alb);
    // Adds the cover of album folder `folder`; nothing is read until the thumbnail shows or its
    // small copy is asked for.
    void addcover(int32_t alb, const QString& folder);
    // Adds the album folders the loader found (off the window thread). Window thread only.
    void addcovers(const QVector<FolderCover>& covers);
    void replace(int32_t i, const QImage& bmp, int32_t alb);
    void Delete(int32_t i);
    void clear();
    int32_t lookupalbum(int32_t a) const;
    // The small picture of album `a` (what a list row shows beside the album), made from its cover
    // once it has been made on a worker after the first time it was asked for (`smallCopyMade`
    // follows); none until then, nor without a thumbnail.
    QImage albumpicture(int32_t a);
    // True while a cell shown or a small copy asked for is still being made or not yet shown.
    bool making() const { return !waiting_.empty() || running_ > 0 || cellsArrived_ || smallCopiesArrived_; }
    void Makeitemvisible(int32_t i);
    void Makealbumvisible(int32_t a);
    void Moveup();
    void Movedown();
    void Moveleft();
    void Moveright();
    void remoteclick();

    void Paint() override;

    int32_t topmost() const { return ftopmost; }
    int32_t itemindex() const { return fitemindex; }
    int32_t across() const { return facross; }
    void setacross(int32_t v) { facross = v; }
    int32_t color() const { return fcolor; }
    void setcolor(int32_t v) { fcolor = v; }
    int32_t count() const { return fcount; }
    bool remote() const { return fremote; }
    void setremote(bool v) { fremote = v; }
    // The least width and height of a "More" box, and the room kept for each above or below the cells.
    int32_t scrollwidths() const { return fscrollwidths; }
    void setscrollwidths(int32_t v) { fscrollwidths = v; }
    QString moretext() const { return fmoretext; }
    void setmoretext(const QString& v) { fmoretext = v; }
    int32_t morebackgroundcolor() const { return fmorebackgroundcolor; }
    void setmorebackgroundcolor(int32_t v) { fmorebackgroundcolor = v; }

    // The remote cursor and the last row of visible cells.
    int32_t cursorcolumn() const { return remotex; }
    int32_t cursorrow() const { return remotey; }
    int32_t lastvisiblerow() const { return visrows; }

    // The press, release and movement handlers, in pixels of the scroller.
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseMove(int x, int y) override;

    tpicturelist pl;

Q_SIGNALS:
    // Small copies asked for by `albumpicture` were made: rows showing albums may paint again.
    void smallCopyMade();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Grid;

    // A cover picture made on a worker: `make` runs there and returns what the window thread then
    // does with the picture. The work of a cell (its folder in `cell`) is dropped when the page
    // changes before its turn.
    struct CoverWork
    {
        QString cell;
        std::function<std::function<void()>()> make;
    };
    void startWork(CoverWork work);
    void startWaitingWork();
    void askCell(const QString& folder, int side);
    void askSmallCopy(int32_t album, const QString& folder);
    void forgetCells();
    void dropWaitingCells();
    void showArrivals(bool& arrived);

    void dropFace();
    void press(int x, int y, bool repeat);
    void pressEntry(const tmatrix& entry);
    int hit(int x, int y);
    int thumbnailside() const;
    const QImage& cellOf(const picrecord& record, int side);
    bool cursorOnThumbnail() const;
    void indexAlbums() const;
    void repeattimerRepeat() override;
    QSize boxSize(const QImage& arrow, int textWidth, int textHeight) const;
    void drawUpBox(QPainter& painter, const Grid& grid);
    int drawCells(QPainter& painter, Grid& grid);
    void drawDownBox(QPainter& painter, const Grid& grid, int entry);

    int32_t ftopmost = 0;
    int32_t fcolor = 0;
    int32_t facross = 4;
    int32_t fcount = 0;
    int32_t fitemindex = 0;
    bool isdown = false;
    bool fremote = false;
    int32_t remotex = 0;
    int32_t remotey = 0;
    int32_t visrows = 0;
    int32_t viscols = 0;
    tmatrix remoteselection;
    int32_t fscrollwidths = 18;
    QString fmoretext;
    int32_t fmorebackgroundcolor;

    // Thumbnails changed since the last rendering, so its hit rectangles are out of date.
    bool stale_ = false;
    // Decoded cells of covers given by their folder, by folder, all of side `cellSide_`.
    QCache<QString, QImage> cells_{kCachedCells};
    int cellSide_ = 0;
    // What a cell shows while its picture is being made.
    QImage standIn_;
    // The works waiting for a worker, the folders whose cell or small copy is asked for, and the
    // workers.
    std::deque<CoverWork> waiting_;
    QSet<QString> cellsAsked_;
    QSet<QString> smallCopiesAsked_;
    std::vector<std::future<void>> workers_;
    int running_ = 0;
    // Counts the cell caches: a cell made for an earlier one is dropped (and its wait for a turn
    // at a huge cover given up).
    std::atomic<quint64> cellGeneration_{0};
    std::atomic<bool> closing_{false};
    // Pictures arrived since the last showing of them.
    bool cellsArrived_ = false;
    bool smallCopiesArrived_ = false;
    // Where the first thumbnail of each album stands, by album number (-1: none), so a lookup
    // does not walk every thumbnail; made again at the first lookup after the thumbnails changed.
    mutable QVector<int32_t> byAlbum_;
    mutable bool byAlbumStale_ = true;
};

} // namespace controls

#include "controls/picturescroller.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <mutex>

#include "controls/autorepeat.h"
#include "controls/drawing.h"
#include "skins/colors.h"
#include "platform/files.h"
#include "platform/jpegcodec.h"
#include "platform/threads.h"
#include "skins/loadjpegorbmp.h"

namespace controls {

namespace {

constexpr int kRepeatFloor = 20;
constexpr int kDefaultSide = 200;
constexpr int kMoreFontSize = 7;
constexpr int kRemotePen = 10;
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kRed = 0x0000FF;
constexpr int kDownBox = -1;
constexpr int kUpBox = -2;

QImage thumbnailOf(const QImage& bmp, int side)
{
    if (bmp.isNull()) {
        QImage blank(side, side, QImage::Format_RGB16);
        blank.fill(Qt::black);
        return blank;
    }
    // Converted into a picture of its own: the scaled one keeps the painter engine that scaled it
    // (about 2 KB), which a conversion in place would carry along in every thumbnail.
    const QImage scaled = bmp.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled.convertToFormat(QImage::Format_RGB16);
}

// The quality of the small copies: a row shows them at about their size, where this looks as the
// picture did, at a third or less of its 16-bit size.
constexpr int kSmallCopyQuality = 85;

// The small copy of a picture shared by many albums, made once per picture and shared in turn.
QImage sharedSmallCopy(const QImage& bmp)
{
    static std::mutex guard;
    static QHash<qint64, QImage> made;
    const std::lock_guard lock(guard);
    QImage& copy = made[bmp.cacheKey()];
    if (copy.isNull()) copy = thumbnailOf(bmp, TPictureScroller::kSmallSide);
    return copy;
}

// The small copy of an album cover: a JPEG of its own, or a picture shared with other albums
// (the error pictures that stand in for every missing or unreadable cover).
struct SmallCopy
{
    QByteArray jpeg;
    QImage shared;
};

// The small copy of `bmp` (any picture of at least kSmallSide square).
SmallCopy smallCopyOf(const QImage& bmp)
{
    if (bmp.isNull() || bmp.cacheKey() == skins::errorbitmap_noimage.cacheKey() ||
        bmp.cacheKey() == skins::errorbitmap_corrupt.cacheKey())
        return SmallCopy{QByteArray(), sharedSmallCopy(bmp)};
    return SmallCopy{platform::encodeJpeg(thumbnailOf(bmp, TPictureScroller::kSmallSide), kSmallCopyQuality),
                     QImage()};
}

// A kept small copy is never larger than this; a larger file is no copy of ours.
constexpr qint64 kMostSmallCopyBytes = 64 * 1024;

// The small copy kept in the cache folder as `file`: read only from a regular file of our own (no
// link), of sensible size, that decodes to a small copy's size.
bool readKeptCopy(const QString& file, QByteArray& jpeg)
{
    QFile kept;
    if (!platform::openRegularFile(kept, file, QIODevice::ReadOnly, platform::Links::Refuse)) return false;
    const QByteArray data = platform::readAtMost(kept, kMostSmallCopyBytes);
    QImage decoded;
    const QSize side(TPictureScroller::kSmallSide, TPictureScroller::kSmallSide);
    if (data.size() > kMostSmallCopyBytes || !platform::decodeJpeg(data, decoded) || decoded.size() != side)
        return false;
    jpeg = data;
    return true;
}

// The small copy of the cover of album folder `folder`: the one kept in the cache folder for the
// cover as it is now, else one made from the cover (reduced in the DCT) and kept there.
SmallCopy smallCopyOfFolder(const QString& folder)
{
    const QString file = skins::smallcopyfile(folder);
    QByteArray kept;
    if (!file.isEmpty() && readKeptCopy(file, kept)) return SmallCopy{kept, QImage()};
    QImage cover;
    skins::loadjpegbmp(folder, cover, QSize(TPictureScroller::kSmallSide, TPictureScroller::kSmallSide));
    SmallCopy made = smallCopyOf(cover);
    // Only a cover's own copy is kept: an error picture is shared and made once a run.
    if (!file.isEmpty() && !made.jpeg.isEmpty()) {
        platform::removeAtomicWriteLeftovers(file);
        (void)platform::writeFileAtomically(file, made.jpeg);
    }
    return made;
}

} // namespace

// The layout of one rendering.
struct TPictureScroller::Grid
{
    int width = 0;
    int cell = 0;
    int spacing = 0;
    int top = 0;
    int limit = 0;
    int side = 0;
    int y = 0;        // top of the row being drawn, then of the first row that did not fit
    int penwidth = 1; // what the cells left the pen at
    QFont font;
};

TPictureScroller::TPictureScroller(QWidget* owner)
    : TouchList(owner, kRepeatFloor), fmoretext(QStringLiteral("More")), fmorebackgroundcolor(kMoreBackground)
{
    resize(kDefaultSide, kDefaultSide);
}

TPictureScroller::~TPictureScroller()
{
    closing_ = true;
    // Each worker ends after the picture it is making; what it hands over is dropped with this
    // scroller's posted events.
    for (std::future<void>& worker : workers_)
        worker.wait();
}

void TPictureScroller::startWork(CoverWork work)
{
    // The error pictures are made on the window thread before any worker may need them.
    skins::initerrorbitmaps();
    waiting_.push_back(std::move(work));
    startWaitingWork();
}

void TPictureScroller::startWaitingWork()
{
    platform::dropEnded(workers_);
    const int most = std::max(QThread::idealThreadCount(), 1);
    while (!waiting_.empty() && running_ < most) {
        ++running_;
        workers_.push_back(platform::startBelowWindowThread([this, make = std::move(waiting_.front().make)] {
            const std::function<void()> hand = make();
            skins::setLoadCancelled(nullptr);
            QMetaObject::invokeMethod(
                this,
                [this, hand] {
                    --running_;
                    hand();
                    startWaitingWork();
                },
                Qt::QueuedConnection);
        }));
        waiting_.pop_front();
    }
}

// The cell of the cover of `folder` at `side`, made on a worker for the cells of now.
void TPictureScroller::askCell(const QString& folder, int side)
{
    if (cellsAsked_.contains(folder)) return;
    cellsAsked_.insert(folder);
    const quint64 generation = cellGeneration_;
    startWork(CoverWork{folder, [this, folder, side, generation] {
                            skins::setLoadCancelled(
                                [this, generation] { return closing_ || cellGeneration_ != generation; });
                            QImage cover;
                            skins::loadjpegbmp(folder, cover, QSize(side, side));
                            const QImage cell = thumbnailOf(cover, side);
                            return std::function<void()>([this, folder, generation, cell] {
                                if (generation != cellGeneration_) return;
                                cellsAsked_.remove(folder);
                                cells_.insert(folder, new QImage(cell));
                                showArrivals(cellsArrived_);
                            });
                        }});
}

// The small copy of the cover of `folder`, made on a worker for album `album`.
void TPictureScroller::askSmallCopy(int32_t album, const QString& folder)
{
    if (smallCopiesAsked_.contains(folder)) return;
    smallCopiesAsked_.insert(folder);
    startWork(CoverWork{QString(), [this, album, folder] {
                            skins::setLoadCancelled([this] { return bool(closing_); });
                            const SmallCopy made = smallCopyOfFolder(folder);
                            return std::function<void()>([this, album, folder, made] {
                                smallCopiesAsked_.remove(folder);
                                // The thumbnails may have changed meanwhile.
                                const int32_t i = lookupalbum(album);
                                if (i < 0 || pl.items[i].folder != folder || !pl.items[i].picture.isNull() ||
                                    !pl.items[i].small.isEmpty())
                                    return;
                                pl.items[i].picture = made.shared;
                                pl.items[i].small = made.jpeg;
                                showArrivals(smallCopiesArrived_);
                            });
                        }});
}

// Drops every cell and every cell not made yet; those being made are dropped when they arrive.
void TPictureScroller::forgetCells()
{
    cells_.clear();
    dropWaitingCells();
    cellsAsked_.clear();
    ++cellGeneration_;
}

void TPictureScroller::dropWaitingCells()
{
    std::erase_if(waiting_, [this](const CoverWork& work) {
        if (work.cell.isEmpty()) return false;
        cellsAsked_.remove(work.cell);
        return true;
    });
}

// Notes an arrival in `arrived` and shows the pictures that arrived, once for all that arrive
// together.
void TPictureScroller::showArrivals(bool& arrived)
{
    const bool shown = cellsArrived_ || smallCopiesArrived_;
    arrived = true;
    if (shown) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (cellsArrived_) Paint();
            if (smallCopiesArrived_) Q_EMIT smallCopyMade();
            cellsArrived_ = false;
            smallCopiesArrived_ = false;
        },
        Qt::QueuedConnection);
}

int TPictureScroller::thumbnailside() const
{
    // Without columns a thumbnail is made as for one column, so nothing divides by zero.
    const int cell = width() / std::max(facross, 1);
    return std::max(cell - cell / 10, 1);
}

void TPictureScroller::add(const QImage& bmp, int32_t alb)
{
    pl.items.append(picrecord{thumbnailOf(bmp, thumbnailside()), alb, QString(), QByteArray()});
    fcount = int32_t(pl.items.size());
    stale_ = true;
    byAlbumStale_ = true;
}

void TPictureScroller::addcover(int32_t alb, const QString& folder)
{
    addcovers({FolderCover{alb, folder}});
}

void TPictureScroller::addcovers(const QVector<FolderCover>& covers)
{
    // The list is painted from on the window thread: a worker hands its covers over to be added.
    Q_ASSERT(QThread::currentThread() == thread());
    // The list grows by its own doubling: reserving room for each batch alone would copy the whole
    // list at every batch, a cost that grows with the square of the library.
    for (const FolderCover& cover : covers)
        pl.items.append(picrecord{QImage(), cover.album, cover.folder, QByteArray()});
    fcount = int32_t(pl.items.size());
    stale_ = true;
    byAlbumStale_ = true;
}

void TPictureScroller::replace(int32_t i, const QImage& bmp, int32_t alb)
{
    if (i < 0 || i >= fcount) return;
    picrecord& record = pl.items[i];
    // The new picture fills the whole thumbnail, at the thumbnail's own size.
    record.picture = thumbnailOf(bmp, record.folder.isEmpty() ? record.picture.width() : thumbnailside());
    record.folder.clear();
    record.small.clear();
    record.album = alb;
    stale_ = true;
    byAlbumStale_ = true;
}

void TPictureScroller::Delete(int32_t i)
{
    if (i < 0 || i >= fcount) return;
    // Pictures move up one place; album numbers stay, as the album list renumbers the same way.
    for (int j = i; j < fcount - 1; ++j) {
        pl.items[j].picture = pl.items[j + 1].picture;
        pl.items[j].folder = pl.items[j + 1].folder;
        pl.items[j].small = pl.items[j + 1].small;
    }
    pl.items.removeLast();
    fcount = int32_t(pl.items.size());
    byAlbumStale_ = true;
    Paint();
}

void TPictureScroller::clear()
{
    pl.items.clear();
    forgetCells();
    waiting_.clear();
    smallCopiesAsked_.clear();
    fcount = 0;
    stale_ = true;
    byAlbumStale_ = true;
}

int32_t TPictureScroller::lookupalbum(int32_t a) const
{
    if (byAlbumStale_) indexAlbums();
    return a >= 0 && a < byAlbum_.size() ? byAlbum_.at(a) : -1;
}

void TPictureScroller::indexAlbums() const
{
    int32_t highest = -1;
    for (const picrecord& record : pl.items)
        highest = std::max(highest, record.album);
    byAlbum_.fill(-1, highest + 1);
    // From the last to the first, so the first of two thumbnails of one album is kept.
    for (int32_t i = int32_t(pl.items.size()) - 1; i >= 0; --i) {
        if (pl.items.at(i).album >= 0) byAlbum_[pl.items.at(i).album] = i;
    }
    byAlbumStale_ = false;
}

QImage TPictureScroller::albumpicture(int32_t a)
{
    const int32_t i = lookupalbum(a);
    if (i < 0) return QImage();
    picrecord& record = pl.items[i];
    if (!record.folder.isEmpty() && record.picture.isNull() && record.small.isEmpty()) {
        askSmallCopy(a, record.folder);
        return QImage();
    }
    QImage decoded;
    if (record.picture.isNull() && !platform::decodeJpeg(record.small, decoded)) return QImage();
    return record.picture.isNull() ? decoded : record.picture;
}

void TPictureScroller::Makeitemvisible(int32_t i)
{
    if (facross > 0) ftopmost = (std::max(i, 0) / facross) * facross;
    Paint();
}

void TPictureScroller::Makealbumvisible(int32_t a)
{
    const int32_t i = lookupalbum(a);
    if (i >= 0) Makeitemvisible(i);
}

bool TPictureScroller::cursorOnThumbnail() const
{
    return ftopmost + remotey * facross + remotex <= fcount - 1;
}

void TPictureScroller::Moveleft()
{
    if (remotex >= 1) --remotex;
    Paint();
}

void TPictureScroller::Moveright()
{
    if (remotex < viscols - 1) {
        ++remotex;
        if (!cursorOnThumbnail()) --remotex;
    }
    Paint();
}

void TPictureScroller::Moveup()
{
    if (remotey > 0) {
        --remotey;
    } else if (!matrix.isEmpty() && matrix[0].item == kUpBox) {
        pressEntry(matrix[0]);
    }
    Paint();
}

void TPictureScroller::Movedown()
{
    if (remotey < visrows) {
        ++remotey;
    } else {
        const auto box =
            std::find_if(matrix.cbegin(), matrix.cend(), [](const tmatrix& m) { return m.item == kDownBox; });
        if (box != matrix.cend()) pressEntry(*box);
    }
    if (!cursorOnThumbnail() && remotey > 0) --remotey;
    Paint();
}

void TPictureScroller::remoteclick()
{
    pressEntry(remoteselection);
}

// A press made by the remote: it does not start the auto-repeat, since no release follows it.
void TPictureScroller::pressEntry(const tmatrix& entry)
{
    press(entry.x1 + 1, entry.y1 + 1, false);
}

void TPictureScroller::Paint()
{
    if (!isVisible()) {
        dropFace();
        return;
    }
    QImage& canvas = clearFace();
    visrows = 0;
    viscols = facross;
    stale_ = false;
    const int cell = facross > 0 ? width() / facross : 0;
    if (cell <= 0 || fcount == 0) {
        // Nothing drawn, so nothing can be hit.
        matrix.fill(tmatrix{0, 0, 0, 0, kNothing});
        faceChanged();
        return;
    }
    matrix.resize(fcount + 3);
    Grid grid;
    grid.width = width();
    grid.cell = cell;
    grid.spacing = cell / 10;
    // Each "More" box takes a row of `scrollwidths` above or below the cells.
    const int boxRoom = 2 * fscrollwidths;
    const int block = ((height() - boxRoom) / cell) * cell + boxRoom;
    grid.top = height() / 2 - block / 2 - grid.spacing;
    grid.limit = block + grid.top;
    grid.side = cell - grid.spacing;
    grid.font = panelFont(kMoreFontSize);

    // The cells of an earlier page not yet begun are no longer wanted; this page asks again.
    dropWaitingCells();
    QPainter painter(&canvas);
    painter.setFont(grid.font);
    drawUpBox(painter, grid);
    const int drawn = drawCells(painter, grid);
    // Every cell shown stays cached: else each arriving picture would push out another one shown.
    cells_.setMaxCost(std::max<int>(kCachedCells, drawn));
    int next = drawn + 1;
    if (ftopmost + drawn < fcount) drawDownBox(painter, grid, next++);
    for (int j = next; j < matrix.size(); ++j)
        matrix[j] = tmatrix{0, 0, 0, 0, kNothing};
    painter.end();
    faceChanged();
}

void TPictureScroller::drawUpBox(QPainter& painter, const Grid& grid)
{
    if (ftopmost == 0) {
        matrix[0] = tmatrix{0, 0, 0, 0, kNothing};
        return;
    }
    const QImage& arrow =
        programPicture(marked == kUpBox ? QStringLiteral("PUPPRESSED") : QStringLiteral("PUPNORMAL"));
    const QFontMetrics metrics(grid.font, painter.device());
    const int tw = metrics.horizontalAdvance(fmoretext);
    const int th = metrics.height();
    const QSize size = boxSize(arrow, tw, th);
    const int left = grid.width / 2 - size.width() / 2;
    const int top = grid.top - grid.spacing;
    const tmatrix box{left, top, left + size.width(), top + size.height(), kUpBox};
    gdirectangle(painter, box.x1, box.y1, box.x2, box.y2, skins::tcolorToQColor(kBlack),
                 skins::tcolorToQColor(fmorebackgroundcolor));
    matrix[0] = box;
    drawKeyed(painter, QRect(QPoint(grid.width / 2 - arrow.width() / 2, top + 1), arrow.size()), arrow,
              kArrowKey);
    painter.setPen(skins::tcolorToQColor(kListGrey));
    textOut(painter, grid.width / 2 - tw / 2, top + 1 + arrow.height(), fmoretext);
}

// A "More" box round its arrow over its text, at least `scrollwidths` on each side.
QSize TPictureScroller::boxSize(const QImage& arrow, int textWidth, int textHeight) const
{
    return QSize(std::max(textWidth + 6, fscrollwidths),
                 std::max(arrow.height() + textHeight, fscrollwidths));
}

// Draws the cells from `topmost` on while rows fit; the number of cells drawn.
int TPictureScroller::drawCells(QPainter& painter, Grid& grid)
{
    grid.y = grid.top + fscrollwidths + grid.spacing;
    int x = grid.spacing / 2;
    int drawn = 0;
    for (int t = ftopmost; t < fcount; ++t) {
        const int j = drawn + 1;
        matrix[j] = tmatrix{x, grid.y, x + grid.side, grid.y + grid.side, t};
        painter.drawImage(QRect(x, grid.y, grid.side, grid.side), cellOf(pl.items[t], grid.side));
        if (fremote) {
            grid.penwidth = kRemotePen;
            if (j - 1 == remotey * facross + remotex) {
                gdirectangle(painter, x, grid.y, x + grid.side, grid.y + grid.side,
                             skins::tcolorToQColor(kRed), QColor(), kRemotePen);
                remoteselection = matrix[j];
            }
        }
        ++drawn;
        x += grid.side + grid.spacing;
        if (grid.width < x) {
            grid.y += grid.side + grid.spacing;
            x = grid.spacing / 2;
            if (grid.y + grid.side > grid.limit) break;
            ++visrows;
        }
    }
    return drawn;
}

void TPictureScroller::drawDownBox(QPainter& painter, const Grid& grid, int entry)
{
    const QImage& arrow =
        programPicture(marked == kDownBox ? QStringLiteral("PDOWNPRESSED") : QStringLiteral("PDOWNNORMAL"));
    const QFontMetrics metrics(grid.font, painter.device());
    const int tw = metrics.horizontalAdvance(fmoretext);
    const int th = metrics.height();
    const QSize size = boxSize(arrow, tw, th);
    const int left = grid.width / 2 - size.width() / 2;
    const tmatrix box{left, grid.y, left + size.width(), grid.y + size.height(), kDownBox};
    gdirectangle(painter, box.x1, box.y1, box.x2, box.y2, skins::tcolorToQColor(kBlack),
                 skins::tcolorToQColor(fmorebackgroundcolor), grid.penwidth);
    painter.setPen(skins::tcolorToQColor(kListGrey));
    textOut(painter, grid.width / 2 - tw / 2, grid.y + 1, fmoretext);
    drawKeyed(painter,
              QRect(QPoint(grid.width / 2 - arrow.width() / 2, box.y2 - arrow.height() - 1), arrow.size()),
              arrow, kArrowKey);
    matrix[entry] = box;
}

// The picture of a cell: a picture given as such, or the cover of a folder decoded at the cell's
// side (the decoder reduces it in the DCT) and kept among the cached cells; black while a worker
// makes it.
const QImage& TPictureScroller::cellOf(const picrecord& record, int side)
{
    if (record.folder.isEmpty()) return record.picture;
    if (side != cellSide_) {
        forgetCells();
        cellSide_ = side;
        standIn_ = thumbnailOf(QImage(), side);
    }
    if (const QImage* cached = cells_.object(record.folder)) return *cached;
    askCell(record.folder, side);
    return standIn_;
}

void TPictureScroller::showEvent(QShowEvent* event)
{
    TouchList::showEvent(event);
    if (stale_) Paint();
}

void TPictureScroller::hideEvent(QHideEvent* event)
{
    TouchList::hideEvent(event);
    dropFace();
}

// Nobody sees a hidden scroller, so it keeps no face and renders when it shows; the cover loader's
// hand-overs never wait for cells meanwhile.
void TPictureScroller::dropFace()
{
    face_ = QImage();
    stale_ = true;
}

int TPictureScroller::hit(int x, int y)
{
    // Thumbnails changed since the last rendering: hit what the scroller holds now.
    if (stale_) Paint();
    return hittest(matrix, QPoint(x, y), 0, fcount + 2);
}

void TPictureScroller::press(int x, int y, bool repeat)
{
    isdown = true;
    if (repeat) repeattimer->press();
    if (fcount == 0) {
        Q_EMIT OnClick(this);
        return;
    }
    const int i = hit(x, y);
    if (i < 0) return;
    const int32_t item = matrix[i].item;
    marked = item;
    fitemindex = item;
    if (item == kDownBox) ftopmost += facross;
    if (item == kUpBox) ftopmost = std::max(ftopmost - facross, 0);
    Paint();
}

void TPictureScroller::MouseDown(int x, int y)
{
    press(x, y, true);
}

void TPictureScroller::MouseUp(int x, int y)
{
    marked = kNothing;
    isdown = false;
    repeattimer->release();
    if (fcount == 0) {
        Q_EMIT OnClick(this);
        return;
    }
    const int i = hit(x, y);
    if (i < 0) return;
    fitemindex = matrix[i].item;
    if (fitemindex >= 0) Q_EMIT OnClick(this);
}

void TPictureScroller::MouseMove(int x, int y)
{
    xx = x;
    yy = y;
}

void TPictureScroller::repeattimerRepeat()
{
    MouseDown(xx, yy);
}

} // namespace controls

#pragma once

// The rendering shared by the owner-drawn lists: the row record, the rows themselves, the hit
// rectangles of a rendering and the "MORE" boxes. A list renders its whole face in one call
// from its state, so what it shows and where a press lands can be checked without an event
// loop. Plain functions and data, GUI thread.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class QPoint;

namespace controls {

// One hit rectangle of a rendering: inclusive pixel bounds and what lies there (a row index,
// or a negative code for the "MORE" boxes). An entry that was not drawn is all zero, or holds
// the code kNothing.
struct tmatrix
{
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    int32_t item = 0;

    bool operator==(const tmatrix&) const = default;
};

constexpr int32_t kNothing = -3;
// The codes of a text list's "MORE" boxes.
constexpr int32_t kTopBox = -1;
constexpr int32_t kBottomBox = -2;

// The colour the lists' arrow pictures leave see-through.
constexpr QRgb kArrowKey = 0xFFFFFFu;
// The grey of the "MORE" texts and box outlines, and of the rows a multi-select list leaves out.
constexpr int32_t kListGrey = 0x808080;
// The default background of the "MORE" boxes ($B5F7FD).
constexpr int32_t kMoreBackground = 11925501;

// The first entry of `matrix` from `from` to `to` (inclusive, clamped to the entries) that holds
// `p`; entries that were not drawn are never hit. -1 when none does.
int hittest(const QVector<tmatrix>& matrix, const QPoint& p, int from = 0, int to = INT32_MAX);

// The hit of a list's rendering whose last two entries are its "MORE" boxes: the boxes first,
// since they are drawn over the rows they overlap, then the rows in index order from `from`.
// -1 when nothing is hit.
int hitscrolllist(const QVector<tmatrix>& matrix, const QPoint& p, int from = 0);

// What one row of a track list stands for, and what it shows besides its text.
class TScrollListItemAdditonalInfo
{
public:
    int32_t AlbumNumber() const { return FAlbumNumber; }
    void setAlbumNumber(int32_t v) { FAlbumNumber = v; }
    int32_t TrackNumber() const { return FTrackNumber; }
    void setTrackNumber(int32_t v) { FTrackNumber = v; }
    // Drawn at the right end of the row; none when null.
    const QImage& picture() const { return FImage; }
    void setpicture(const QImage& v) { FImage = v; }

    // Name of a built-in bitmap drawn at the left of the row; none when empty.
    QString icon;

private:
    int32_t FAlbumNumber = 0;
    int32_t FTrackNumber = 0;
    QImage FImage;
};

// A new row record for album `album`, track `track`, with its picture and icon.
std::unique_ptr<TScrollListItemAdditonalInfo> makeiteminfo(int32_t album, int32_t track,
                                                           const QImage& picture, const QString& icon);

// The rows of a list, each with an optional record (not owned here). Every change calls the
// list's change handler.
class ListItems
{
public:
    int count() const { return int(strings_.size()); }
    const QString& operator[](int i) const { return strings_.at(i); }
    TScrollListItemAdditonalInfo* object(int i) const { return objects_.at(i); }
    const QStringList& strings() const { return strings_; }

    void add(const QString& s) { addObject(s, nullptr); }
    void addObject(const QString& s, TScrollListItemAdditonalInfo* object);
    void clear();
    void setOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

private:
    QStringList strings_;
    QVector<TScrollListItemAdditonalInfo*> objects_;
    std::function<void()> onChange_;
};

// The four arrows of a list's "MORE" boxes.
struct ArrowSet
{
    QImage upnormal;
    QImage uppressed;
    QImage downnormal;
    QImage downpressed;
};

// The arrows of the built-in bitmaps named `prefix` + "UPNORMAL" and so on.
ArrowSet loadarrows(const QString& prefix);

// Everything a track list's rendering reads: its rows, look and scroll state.
struct ScrollListModel
{
    const ListItems* items = nullptr;
    QFont font;       // the drawing font
    QColor fontcolor; // the default text colour
    int32_t color = 0;
    int32_t margin = 0;
    bool showlabels = true;
    int32_t numbercolor = 0;
    QString moretext;
    int32_t morebackgroundcolor = 0;
    bool highlightindex = false;
    int32_t highlighteditem = 0;
    int32_t highlightcolor = 0;
    bool highlightindex2 = false;
    int32_t highlighteditem2 = 0;
    const ArrowSet* arrows = nullptr;
    // The picture of a row's album, asked for the rows drawn that carry none of their own.
    std::function<QImage(int32_t)> albumpictures;
    int32_t topmost = 0;
    int32_t displayitems = 0;
    int32_t itemheight = 0;
    int32_t topborder = 0;
    int32_t marked = -3;
    int screenheight = 600; // icon sizes scale with the screen
    int iconleft = 10;      // x of a row icon
    int iconshift = 10;     // extra room after a row icon
    int dpi = 96;           // of the device the rendering is shown on
};

struct RenderedList
{
    QImage image;
    QVector<tmatrix> matrix; // rows by index, then the top box, then the bottom box
    int cursorrow = -1;      // the enlarged cursor row when one was drawn
};

// The whole face of a track list of `size`: background, visible rows (the cursor row enlarged and
// raised, highlights, "%.3d" labels, icons and pictures) and the "MORE" boxes over them.
RenderedList renderscrolllist(const ScrollListModel& model, const QSize& size);

// A new picture of `size` whose text metrics are those of a device of `dpi`.
QImage newface(const QSize& size, int dpi);

// The 1-based row label: "007", "123", "1234".
QString rowlabel(int n);
// Writes the label of row `n` at `x`, `y` in the painter's font and pen; the room it takes before
// the row's text on a face `width` pixels wide.
int drawrowlabel(QPainter& painter, int x, int y, int n, int width);

// A GDI-style rectangle: the outline covers (x1, y1) to (x2 - 1, y2 - 1) in `pen`, the inside is
// filled with `brush` unless it is invalid (a clear brush).
void gdirectangle(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& pen, const QColor& brush,
                  int penwidth = 1);

// The pause between the two renderings of a touched row, so the touch is seen before its action
// runs. Production waits on the GUI thread; tests install a pause of their own.
void paintpause(int ms);
// Installs another pause; an empty function restores the real one.
void setpaintpause(std::function<void(int)> pause);

} // namespace controls

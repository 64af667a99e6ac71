#include "controls/rowrenderer.h"

#include <QFontMetrics>
#include <QLoggingCategory>
#include <QPainter>
#include <QPoint>
#include <QThread>
#include <algorithm>

#include "controls/drawing.h"
#include "library/rounding.h"
#include "skins/colors.h"

namespace controls {

namespace {

Q_LOGGING_CATEGORY(lcLists, "musetra.controls.lists")

constexpr double kCursorScale = 1.5;
constexpr double kMoreScale = 0.6;
constexpr int kDesignHeight = 600;
constexpr int kIconSide = 12;
constexpr int kIconRoom = 15;
constexpr int kBoxPad = 4;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0x000000;
constexpr QRgb kIconKey = 0xFF0000u; // pure red, which the icons leave for the brush

QColor tc(int32_t colour)
{
    return skins::tcolorToQColor(colour);
}

bool drawn(const tmatrix& m)
{
    return m.item != kNothing && !(m.x1 == 0 && m.y1 == 0 && m.x2 == 0 && m.y2 == 0 && m.item == 0);
}

std::function<void(int)>& pauseSlot()
{
    static std::function<void(int)> pause;
    return pause;
}

// The state one rendering carries from row to row, as a canvas would.
struct RowPen
{
    QColor text;        // the current text colour
    bool solid = false; // the brush was left solid by an icon
};

struct RowExtent
{
    int width = 0;
    int height = 0;
};

class ListPainter
{
public:
    ListPainter(const ScrollListModel& model, QImage& image) : m_(model), image_(image), p_(&image)
    {
        p_.setFont(model.font);
    }

    RenderedList run();

private:
    void drawRow(int i, int& y, RowPen& pen, RenderedList& out);
    RowExtent cliptextOut(int x, int y, const QString& text, int n, const TScrollListItemAdditonalInfo* info,
                          RowPen& pen);
    void drawPicture(const QImage& picture, int y);
    int drawIcon(const QString& icon, int y);
    void setMoreFont();
    void drawTopBox(RenderedList& out, int count);
    void drawBottomBox(RenderedList& out, int count);

    const ScrollListModel& m_;
    QImage& image_;
    QPainter p_;
};

RenderedList ListPainter::run()
{
    RenderedList out;
    const int count = m_.items ? m_.items->count() : 0;
    const int width = image_.width();
    const int height = image_.height();
    gdirectangle(p_, 0, 0, width, height, tc(m_.color), tc(m_.color));
    out.matrix.resize(count + 2);

    const bool showTop = m_.topmost != 0;
    bool showBottom = true;
    int last = m_.topmost + m_.displayitems - 1;
    if (last >= count - 1) {
        last = count - 1;
        showBottom = false;
    }
    int y = m_.topborder;
    RowPen pen{m_.fontcolor, false};
    for (int i = std::max(m_.topmost, 0); i <= last; ++i)
        drawRow(i, y, pen, out);
    if (showTop) drawTopBox(out, count);
    if (showBottom) drawBottomBox(out, count);
    return out;
}

void ListPainter::drawRow(int i, int& y, RowPen& pen, RenderedList& out)
{
    const int size = m_.font.pointSize();
    const bool cursor = i == m_.marked;
    QFont font = m_.font;
    if (cursor) font.setPointSize(library::roundHalfEven(size * kCursorScale));
    p_.setFont(font);
    const QString& text = (*m_.items)[i];
    const TScrollListItemAdditonalInfo* info = m_.items->object(i);
    RowExtent extent;
    if (cursor) {
        // The cursor row keeps whatever text colour the row before it left.
        extent = cliptextOut(m_.margin, y - library::roundHalfEven(size * kCursorScale) / 4, text, i + 1,
                             info, pen);
        out.cursorrow = i;
    } else {
        const bool lit = m_.highlightindex && m_.highlighteditem > -1 && i == m_.highlighteditem;
        pen.text = lit ? tc(m_.highlightcolor) : m_.fontcolor;
        extent = cliptextOut(m_.margin, y, text, i + 1, info, pen);
        if (m_.highlightindex2 && m_.highlighteditem2 > -1 && i == m_.highlighteditem2) {
            const QColor fill = pen.solid ? tc(m_.numbercolor) : QColor();
            gdirectangle(p_, m_.margin, y, image_.width(), y + extent.height, tc(kWhite), fill);
        }
    }
    out.matrix[i] = tmatrix{m_.margin, y, image_.width(), y + extent.height, i};
    y += m_.itemheight;
}

RowExtent ListPainter::cliptextOut(int x, int y, const QString& text, int n,
                                   const TScrollListItemAdditonalInfo* info, RowPen& pen)
{
    const QFontMetrics metrics(p_.font(), &image_);
    pen.solid = false;
    int offset = 0;
    p_.setPen(pen.text);
    if (m_.showlabels) offset = drawrowlabel(p_, x, y, n, image_.width());
    int right = image_.width();
    if (info) {
        const QImage picture = info->picture().isNull() && m_.albumpictures
                                   ? m_.albumpictures(info->AlbumNumber())
                                   : info->picture();
        if (!picture.isNull()) {
            drawPicture(picture, y);
            right -= m_.itemheight;
        }
        if (!info->icon.isEmpty()) {
            offset += drawIcon(info->icon, y);
            pen.solid = true;
        }
    }
    // A text too long for the row ends in an ellipsis before the picture or the list's edge.
    const QString shown = metrics.elidedText(text, Qt::ElideRight, std::max(0, right - x - offset));
    const int textWidth = metrics.horizontalAdvance(shown);
    if (pen.solid) p_.fillRect(x + offset, y, textWidth, metrics.height(), tc(m_.numbercolor));
    p_.setPen(pen.text);
    textOut(p_, x + offset, y, shown);
    return RowExtent{textWidth + offset, metrics.height()};
}

// The picture stands in a square centred on the row's top edge at the right end, framed in black.
void ListPainter::drawPicture(const QImage& picture, int y)
{
    const int w = image_.width();
    const int side = m_.itemheight;
    const QRect square(QPoint(w - side, y - side / 2), QPoint(w - 1, y + side / 2 - 1));
    p_.drawImage(square, picture);
    gdirectangle(p_, square.left(), square.top(), w, y + side / 2, tc(kBlack), QColor());
}

// Draws the icon; the room it takes before the text.
int ListPainter::drawIcon(const QString& icon, int y)
{
    const int s = m_.screenheight;
    const int side = library::roundHalfEven(double(s) / kDesignHeight * kIconSide);
    const QImage& picture = programPicture(icon);
    if (picture.isNull()) {
        qCWarning(lcLists) << "no built-in bitmap" << icon;
    } else if (side > 0) {
        // Copied over a black brush: the icon's red pixels come out black.
        const QRect square(m_.iconleft, y, side, side);
        p_.fillRect(square, tc(kBlack));
        p_.drawImage(square, keyedOut(picture, kIconKey));
    }
    return library::roundHalfEven(double(s) / kDesignHeight * kIconRoom) + m_.iconshift;
}

void ListPainter::setMoreFont()
{
    QFont font(QStringLiteral("arial"));
    font.setPointSize(std::max(1, library::roundHalfEven(m_.font.pointSize() * kMoreScale)));
    font.setBold(true);
    p_.setFont(font);
}

void ListPainter::drawTopBox(RenderedList& out, int count)
{
    setMoreFont();
    const QFontMetrics metrics(p_.font(), &image_);
    const QImage& arrow = m_.marked == kTopBox ? m_.arrows->uppressed : m_.arrows->upnormal;
    const int w = image_.width();
    const int tw = metrics.horizontalAdvance(m_.moretext);
    const int th = metrics.height();
    const tmatrix box{w / 2 - tw / 2 - kBoxPad, -1, w / 2 + tw / 2 + kBoxPad,
                      arrow.height() + 1 + th + kBoxPad, kTopBox};
    out.matrix[count] = box;
    gdirectangle(p_, box.x1, box.y1, box.x2, box.y2, tc(kListGrey), tc(m_.morebackgroundcolor));
    drawKeyed(p_, QRect(QPoint(w / 2 - arrow.width() / 2, 1), arrow.size()), arrow, kArrowKey);
    p_.setPen(tc(kListGrey));
    textOut(p_, w / 2 - tw / 2, arrow.height() + kBoxPad, m_.moretext);
}

void ListPainter::drawBottomBox(RenderedList& out, int count)
{
    setMoreFont();
    const QFontMetrics metrics(p_.font(), &image_);
    const QImage& arrow = m_.marked == kBottomBox ? m_.arrows->downpressed : m_.arrows->downnormal;
    const int w = image_.width();
    const int h = image_.height();
    const int tw = metrics.horizontalAdvance(m_.moretext);
    const int th = metrics.height();
    const tmatrix box{w / 2 - tw / 2 - kBoxPad, h - arrow.height() - 1 - th - kBoxPad,
                      w / 2 + tw / 2 + kBoxPad, h, kBottomBox};
    out.matrix[count + 1] = box;
    gdirectangle(p_, box.x1, box.y1, box.x2, box.y2, tc(kListGrey), tc(m_.morebackgroundcolor));
    drawKeyed(p_, QRect(QPoint(w / 2 - arrow.width() / 2, h - arrow.height() - 3), arrow.size()), arrow,
              kArrowKey);
    p_.setPen(tc(kListGrey));
    textOut(p_, w / 2 - tw / 2, box.y1 + 1, m_.moretext);
}

} // namespace

std::unique_ptr<TScrollListItemAdditonalInfo> makeiteminfo(int32_t album, int32_t track,
                                                           const QImage& picture, const QString& icon)
{
    auto record = std::make_unique<TScrollListItemAdditonalInfo>();
    record->setAlbumNumber(album);
    record->setTrackNumber(track);
    record->setpicture(picture);
    record->icon = icon;
    return record;
}

int hittest(const QVector<tmatrix>& matrix, const QPoint& p, int from, int to)
{
    const int end = std::min<qsizetype>(to, matrix.size() - 1);
    for (int i = std::max(from, 0); i <= end; ++i) {
        const tmatrix& m = matrix[i];
        if (drawn(m) && m.x1 <= p.x() && p.x() <= m.x2 && m.y1 <= p.y() && p.y() <= m.y2) return i;
    }
    return -1;
}

int hitscrolllist(const QVector<tmatrix>& matrix, const QPoint& p, int from)
{
    const int boxes = int(matrix.size()) - 2;
    if (boxes < 0) return -1;
    const int box = hittest(matrix, p, boxes);
    return box >= 0 ? box : hittest(matrix, p, from, boxes - 1);
}

void ListItems::addObject(const QString& s, TScrollListItemAdditonalInfo* object)
{
    strings_.append(s);
    objects_.append(object);
    if (onChange_) onChange_();
}

void ListItems::clear()
{
    strings_.clear();
    objects_.clear();
    if (onChange_) onChange_();
}

ArrowSet loadarrows(const QString& prefix)
{
    return ArrowSet{programPicture(prefix + QStringLiteral("UPNORMAL")),
                    programPicture(prefix + QStringLiteral("UPPRESSED")),
                    programPicture(prefix + QStringLiteral("DOWNNORMAL")),
                    programPicture(prefix + QStringLiteral("DOWNPRESSED"))};
}

RenderedList renderscrolllist(const ScrollListModel& model, const QSize& size)
{
    QImage image = newface(size, model.dpi);
    RenderedList out = ListPainter(model, image).run();
    out.image = image;
    return out;
}

QImage newface(const QSize& size, int dpi)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dpm = library::roundHalfEven(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    return image;
}

QString rowlabel(int n)
{
    return QString::asprintf("%.3d", n);
}

int drawrowlabel(QPainter& painter, int x, int y, int n, int width)
{
    const QString label = rowlabel(n);
    textOut(painter, x, y, label);
    return painter.fontMetrics().horizontalAdvance(label) + width / 20;
}

void gdirectangle(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& pen, const QColor& brush,
                  int penwidth)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    if (brush.isValid()) painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), brush);
    const int t = std::max(1, penwidth);
    // A wide pen straddles the outline as GDI draws it: half inside, half outside.
    const int in = (t - 1) / 2;
    const QRect outline(QPoint(x1 + in, y1 + in), QPoint(x2 - 1 - in, y2 - 1 - in));
    const int a = t / 2;
    painter.fillRect(QRect(outline.left() - a, outline.top() - a, outline.width() + 2 * a, t), pen);
    painter.fillRect(
        QRect(outline.left() - a, outline.bottom() - a + ((t + 1) % 2), outline.width() + 2 * a, t), pen);
    painter.fillRect(QRect(outline.left() - a, outline.top() - a, t, outline.height() + 2 * a), pen);
    painter.fillRect(
        QRect(outline.right() - a + ((t + 1) % 2), outline.top() - a, t, outline.height() + 2 * a), pen);
}

void paintpause(int ms)
{
    if (pauseSlot()) {
        pauseSlot()(ms);
        return;
    }
    QThread::msleep(static_cast<unsigned long>(std::max(ms, 0)));
}

void setpaintpause(std::function<void(int)> pause)
{
    pauseSlot() = std::move(pause);
}

} // namespace controls

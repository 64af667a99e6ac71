#include "view3d/gllistbox.h"

#include <QFontMetrics>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "controls/autorepeat.h"
#include "platform/screens.h"
#include "skins/colors.h"

namespace view3d {

namespace {

constexpr int32_t kDefaultRealWorld = 1024;
constexpr int kDefaultFontSize = 12;
constexpr int kRepeatFirst = 250;
constexpr int kRepeatStep = 10;
constexpr int kRepeatFloor = 20;
constexpr int kDefaultDpi = 96;
constexpr int kBorderPad = 4;

} // namespace

tglListBox::tglListBox(tglControlSet* set)
    : tglControl(set), arrows(controls::loadarrows(QString())),
      repeattimer(new controls::AutoRepeat(kRepeatFirst, kRepeatStep, kRepeatFloor, this)),
      frealworldheight(kDefaultRealWorld), frealworldwidth(kDefaultRealWorld)
{
    look_.font = QFont(QStringLiteral("arial"));
    look_.font.setPointSize(kDefaultFontSize);
    look_.fontcolor = Qt::black;
    look_.color = skins::clWindow;
    look_.moretext = QStringLiteral("MORE");
    look_.morebackgroundcolor = controls::kMoreBackground;
    look_.highlighteditem = -1;
    look_.highlighteditem2 = -1;
    look_.items = &fitems;
    look_.arrows = &arrows;
    // The icon stands at the row's left edge, the text right after it.
    look_.iconleft = 0;
    look_.iconshift = 0;
    finteractive = true;
    connect(repeattimer, &controls::AutoRepeat::repeat, this, &tglListBox::repeattimerRepeat);
    // A new list holds one empty row until its owner clears it.
    fitems.add(QString());
    fitems.setOnChange([this] { fdrawmode = true; });
}

tglListBox::~tglListBox() = default;

void tglListBox::additemandinfo(const QString& s, int32_t album, int32_t track, const QImage& picture,
                                const QString& icon, const QString& /*data*/)
{
    addinfo.push_back(controls::makeiteminfo(album, track, picture, icon));
    fitems.addObject(s, addinfo.back().get());
}

void tglListBox::clear()
{
    ftopmost = 0;
    marked = controls::kNothing;
    fitemindex = -1;
    fitems.clear();
    addinfo.clear();
    look_.highlighteditem = -1;
    look_.highlighteditem2 = -1;
    fdrawmode = true;
}

void tglListBox::scrolltoend()
{
    // A list shorter than the rows in view keeps its first row on top.
    ftopmost = std::max(0, fitems.count() - fdisplayitems);
    marked = fitems.count() - 1;
    fdrawmode = true;
}

void tglListBox::settopmost(int32_t i)
{
    if (i >= 0 && i < fitems.count() - 1) ftopmost = i;
    fdrawmode = true;
}

void tglListBox::setfont(const QFont& f)
{
    look_.font = f;
    fdrawmode = true;
}

void tglListBox::setlinespacing(float v)
{
    flinespacing = std::max(1.0f, v);
    Resize();
}

void tglListBox::setrealworldsize(int32_t width, int32_t height)
{
    frealworldwidth = std::max(1, width);
    frealworldheight = std::max(1, height);
}

void tglListBox::Resize()
{
    const QWidget* window = fparent ? fparent->parent() : nullptr;
    const int dpi = window ? window->logicalDpiY() : kDefaultDpi;
    bm = controls::newface(QSize(frealworldwidth, frealworldheight), dpi);
    // The border follows the row height of the previous layout.
    topborder = itemheight + kBorderPad;
    const QFontMetrics metrics(look_.font, &bm);
    itemheight = std::max(1, int(std::nearbyint(metrics.height() * double(flinespacing))));
    fdisplayitems = int(std::nearbyint(double(bm.height() - 2 * topborder) / itemheight));
    fdrawmode = true;
    render();
}

void tglListBox::render()
{
    const QWidget* window = fparent ? fparent->parent() : nullptr;
    controls::ScrollListModel model = look_;
    model.topmost = ftopmost;
    model.displayitems = fdisplayitems;
    model.itemheight = itemheight;
    model.topborder = topborder;
    model.marked = marked;
    model.screenheight = platform::screens().geometry(window).height();
    model.dpi = window ? window->logicalDpiY() : kDefaultDpi;
    controls::RenderedList rendered =
        controls::renderscrolllist(model, QSize(frealworldwidth, frealworldheight));
    bm = std::move(rendered.image);
    matrix = std::move(rendered.matrix);
    uploadpending_ = true;
}

void tglListBox::Paint()
{
    if (!fparent) return;
    if (fdrawmode) render();
    if (clicked) {
        clicked = false;
        // The click runs once this frame is on screen, outside the drawing.
        if (FOnClick) QTimer::singleShot(0, this, [this] { FOnClick(this); });
    }
    if (uploadpending_) {
        uploadtexture(bm);
        uploadpending_ = false;
    }
    paintquad();
    fdrawmode = false;
}

void tglListBox::MouseDown(int x, int y)
{
    xx = x;
    yy = y;
    isdown = true;
    repeattimer->press();
    const int i = controls::hitscrolllist(matrix, QPoint(x, y));
    if (i < 0) return;
    marked = matrix[i].item;
    if (marked == controls::kBottomBox && fitems.count() > ftopmost) ++ftopmost;
    if (marked == controls::kTopBox && ftopmost > 0) --ftopmost;
    fdrawmode = true;
}

void tglListBox::MouseUp(int x, int y)
{
    clicked = false;
    isdown = false;
    fitemindex = -1;
    marked = controls::kNothing;
    repeattimer->release();
    fdrawmode = true;
    if (x == -1 && y == -1) return;
    // Only a row that is still in the list counts; the "MORE" boxes never click.
    const int i = controls::hittest(matrix, QPoint(x, y), 0, fitems.count() - 1);
    if (i < 0 || matrix[i].item < 0 || matrix[i].item >= fitems.count()) return;
    fitemindex = matrix[i].item;
    clicked = true;
    look_.highlighteditem = fitemindex;
}

void tglListBox::MouseMove(int x, int y)
{
    if (marked < 0) return;
    xx = x;
    yy = y;
    if (isdown) {
        fdrawmode = true;
        MouseDown(x, y);
    }
}

void tglListBox::repeattimerRepeat()
{
    MouseDown(xx, yy);
    if (fparent && fparent->RedrawProcedure()) fparent->RedrawProcedure()();
}

} // namespace view3d

#include "controls/scrolllistbox.h"

#include "controls/autorepeat.h"
#include "controls/transhint.h"
#include "platform/screens.h"
#include "skins/colors.h"

namespace controls {

namespace {

constexpr int kRepeatFloor = 20;
constexpr int kClickedPause = 200;
constexpr int kDefaultScrollWidths = 18;
// Lists longer than this free their old rows on a worker: a search can list a hundred thousand.
constexpr size_t kRowsFreedAside = 10'000;

} // namespace

TScrollListbox::TScrollListbox(QWidget* owner)
    : RowList(owner, kRepeatFloor, QStringLiteral("arial")), fmoretext(QStringLiteral("MORE")),
      fmorebackgroundcolor(kMoreBackground)
{
    canvasfontcolor_ = palette().color(QPalette::WindowText);
    setscrollwidths(kDefaultScrollWidths);
    // A new list holds one empty row until its owner clears it.
    fitems.add(QString());
    fitems.setOnChange([this] { itemsChanged(); });
}

TScrollListbox::~TScrollListbox() = default;

void TScrollListbox::additemandinfo(const QString& s, int32_t album, int32_t track, const QImage& picture,
                                    const QString& icon, const QString& /*data*/)
{
    addinfo.push_back(makeiteminfo(album, track, picture, icon));
    addinfocount = int32_t(addinfo.size());
    fitems.addObject(s, addinfo.back().get());
}

void TScrollListbox::clear()
{
    ftopmost = 0;
    // The cursor may point past the new rows; it starts again with none.
    marked = kNothing;
    releaseRows();
    addinfocount = 0;
    cachedimage = QImage();
    fhighlighteditem = -1;
    fhighlighteditem2 = -1;
}

void TScrollListbox::releaseRows()
{
    if (addinfo.size() < kRowsFreedAside) {
        fitems.clear();
        addinfo.clear();
        return;
    }
    // The worker holds the last share of the texts, so they too are freed there.
    QStringList texts = fitems.strings();
    fitems.clear();
    releasing_ =
        std::async(std::launch::async, [texts = std::move(texts), info = std::move(addinfo)]() mutable {
            texts.clear();
            info.clear();
        });
    addinfo.clear();
}

void TScrollListbox::scrolltoend()
{
    settopmost(fitems.count() - fdisplayitems);
    marked = fitems.count() - 1;
    Paint();
}

void TScrollListbox::scrollup()
{
    if (marked == 0) {
        Q_EMIT OnReachedtop();
        return;
    }
    isdown = true;
    if (marked < 0) marked = ftopmost + 1;
    if (marked >= 1) {
        --marked;
        if (ftopmost >= marked || marked > ftopmost + fdisplayitems) applytopmost(marked);
        if (marked < fitems.count()) fitemindex = marked;
    } else {
        fitemindex = marked;
    }
    remoteused = true;
    Paint();
}

void TScrollListbox::scrolldown()
{
    isdown = true;
    if (marked < 0) marked = ftopmost - 1;
    const int count = fitems.count();
    if (marked + 1 == count) {
        Q_EMIT OnReachedend();
        Paint();
        return;
    }
    if (marked < count - 1) {
        ++marked;
        if (ftopmost > marked || marked >= ftopmost + fdisplayitems) applytopmost(marked - fdisplayitems + 1);
    }
    fitemindex = marked;
    remoteused = true;
    Paint();
}

void TScrollListbox::remoteclick()
{
    fitemindex = marked;
    Q_EMIT OnClick(this);
}

void TScrollListbox::losefocus()
{
    ftopmost = 0;
    fitemindex = -1;
    marked = kNothing;
    Paint();
}

void TScrollListbox::settopmost(int32_t i)
{
    applytopmost(i);
    Paint();
}

// The rules of the first visible row, without the paint that the property adds.
void TScrollListbox::applytopmost(int32_t i)
{
    // A negative row asks to centre the first highlight.
    if (i < 0) i = fhighlighteditem - fdisplayitems / 2;
    if (i >= 0 && i < fitems.count() - 1) ftopmost = i;
}

void TScrollListbox::setfont(const QFont& f)
{
    copyfontlook(ffont, f);
}

void TScrollListbox::setscrollwidths(int32_t v)
{
    fscrollwidths = v;
    arrows = loadarrows(QString());
}

void TScrollListbox::Resize()
{
    canvasfont_ = ffont;
    canvasfontcolor_ = palette().color(QPalette::WindowText);
    // The border follows the row height of the previous layout.
    topborder = itemheight + 4;
    itemheight = lineheight();
    fdisplayitems = rowsfitting();
}

void TScrollListbox::Paint()
{
    if (!parentWidget() || !fdrawmode) return;
    if (finmotion && !cachedimage.isNull()) {
        faceChanged();
        return;
    }
    ScrollListModel model;
    model.items = &fitems;
    model.font = canvasfont_;
    model.fontcolor = canvasfontcolor_;
    model.color = fcolor;
    model.margin = fmargin;
    model.showlabels = fshownumbers;
    model.numbercolor = fnumbercolor;
    model.moretext = fmoretext;
    model.morebackgroundcolor = fmorebackgroundcolor;
    model.highlightindex = fhighlight;
    model.highlighteditem = fhighlighteditem;
    model.highlightcolor = fhighlightcolor;
    model.highlightindex2 = fhighlight2;
    model.highlighteditem2 = fhighlighteditem2;
    model.arrows = &arrows;
    model.albumpictures = albumpictures_;
    model.topmost = ftopmost;
    model.displayitems = fdisplayitems;
    model.itemheight = itemheight;
    model.topborder = topborder;
    model.marked = marked;
    model.screenheight = platform::screens().geometry(this).height();
    model.dpi = logicalDpiY();
    RenderedList rendered = renderscrolllist(model, size());
    matrix = std::move(rendered.matrix);
    // The cache shares the face's pixels until `clear` drops it.
    showFace(rendered.image);
    cachedimage = face_;
    if (rendered.cursorrow >= 0 && Fitemhint) {
        Fitemhint->dohint(fitems[rendered.cursorrow]);
        Fitemhint->setvisible(true);
    }
    if (clicked) {
        // The touched row is shown for a moment before its action runs.
        clicked = false;
        repaint();
        paintpause(kClickedPause);
        Paint();
    }
}

int TScrollListbox::hit(int x, int y) const
{
    const int i = hitscrolllist(matrix, QPoint(x, y));
    if (i < 0) return -1;
    // Rows that went away since the last rendering can no longer be touched.
    return matrix[i].item >= fitems.count() ? -1 : i;
}

void TScrollListbox::hidehint()
{
    if (Fitemhint) Fitemhint->setvisible(false);
}

void TScrollListbox::MouseDown(int x, int y)
{
    isdown = true;
    repeattimer->press();
    const int i = hit(x, y);
    if (i < 0) return;
    marked = matrix[i].item;
    if (marked == kBottomBox && fitems.count() > ftopmost) ++ftopmost;
    if (marked == kTopBox && ftopmost > 0) --ftopmost;
    if (marked < 0) hidehint();
    Paint();
}

void TScrollListbox::MouseUp(int x, int y)
{
    hidehint();
    clicked = false;
    isdown = false;
    fitemindex = -1;
    marked = kNothing;
    repeattimer->release();
    const int i = hit(x, y);
    if (i < 0) {
        Paint();
        return;
    }
    const int32_t item = matrix[i].item;
    if (item >= 0) {
        fitemindex = item;
        clicked = true;
        fhighlighteditem = item;
    }
    Paint();
    Q_EMIT OnClick(this);
}

void TScrollListbox::MouseMove(int x, int y)
{
    if (remoteused) {
        // The pointer takes over from keyboard or remote navigation.
        isdown = false;
        marked = kNothing;
        remoteused = false;
    }
    xx = x;
    yy = y;
    if (marked >= 0 && isdown) MouseDown(x, y);
}

void TScrollListbox::itemsChanged()
{
    // Long lists are filled without a rendering per row.
    if (fitems.count() <= fdisplayitems + 2) Paint();
}

void TScrollListbox::repeattimerRepeat()
{
    MouseDown(xx, yy);
}

} // namespace controls

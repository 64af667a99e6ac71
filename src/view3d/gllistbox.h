#pragma once

// The track list on a face of the album prism: the touch-driven track list of the album pages
// (rows, cursor row, highlights, "%.3d" labels, icons, pictures and "MORE" boxes, through the
// shared row renderer) drawn into a picture that is shown as the texture of its quad. It takes
// its pointer events from the widget set in pixels of that picture. A touched row is reported
// through `OnClick` after the frame that shows the touch has been drawn, never from inside it.
// GUI thread only; owned by its widget set.

#include <QFont>
#include <QImage>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>
#include <vector>

#include "controls/rowrenderer.h"
#include "view3d/glui.h"

namespace controls {
class AutoRepeat;
}

namespace view3d {

class tglListBox : public tglControl
{
    Q_OBJECT

public:
    explicit tglListBox(tglControlSet* set);
    ~tglListBox() override;

    void additemandinfo(const QString& s, int32_t album, int32_t track, const QImage& picture,
                        const QString& icon, const QString& data);
    void clear();
    // The last rows in view, the cursor on the last one.
    void scrolltoend();

    const controls::ListItems& items() const { return fitems; }
    int32_t itemindex() const { return fitemindex; }
    // Takes `i` when it is a row before the last one.
    void settopmost(int32_t i);
    int32_t highlighteditem() const { return look_.highlighteditem; }
    void setfont(const QFont& f);
    // Below 1 counts as 1; the layout follows at once.
    void setlinespacing(float v);
    void setmargin(int32_t v) { look_.margin = v; }
    void setmoretext(const QString& v) { look_.moretext = v; }
    void setrealworldsize(int32_t width, int32_t height);
    int32_t tag() const { return ftag; }
    void settag(int32_t v) { ftag = v; }
    void setOnClick(TglNotify handler) { FOnClick = std::move(handler); }
    // The hit rectangles of the last rendering.
    const QVector<controls::tmatrix>& hits() const { return matrix; }

    // Renders the list when marked, reports a pending click after this frame, draws the quad.
    void Paint() override;
    // Sizes the picture and works out the row layout from the font; renders at once.
    void Resize() override;
    void MouseUp(int x, int y) override;
    void MouseDown(int x, int y) override;
    void MouseMove(int x, int y) override;

private:
    void render();
    void repeattimerRepeat();

    QImage bm;
    std::vector<std::unique_ptr<controls::TScrollListItemAdditonalInfo>> addinfo;
    controls::ArrowSet arrows;
    controls::ListItems fitems;
    int32_t fitemindex = -1;
    float flinespacing = 1.0f;
    // The look of the rows (font, colours, margin, labels, highlights, "MORE" boxes) as the row
    // renderer takes it; the scroll state below joins it at each rendering.
    controls::ScrollListModel look_;
    int32_t ftopmost = 0;
    int32_t fdisplayitems = 0;
    int32_t itemheight = 0;
    int32_t topborder = 0;
    int32_t marked = controls::kNothing;
    // The render mark: set by every change, cleared by each paint.
    bool fdrawmode = true;
    bool isdown = false;
    bool clicked = false;
    QVector<controls::tmatrix> matrix;
    controls::AutoRepeat* repeattimer;
    int32_t frealworldheight;
    int32_t frealworldwidth;
    int32_t xx = 0;
    int32_t yy = 0;
    int32_t ftag = 0;
    TglNotify FOnClick;
    bool uploadpending_ = false;
};

} // namespace view3d

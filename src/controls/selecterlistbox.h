#pragma once

// The multi-select sibling of the track list: touching a row toggles it on or off. Selected
// rows are written in the font colour, the others in grey. An arrow with the word "More" at the
// top or bottom edge scrolls by one row per press, repeating while held. Each state change
// renders the whole face off-screen with its hit rectangles; painting only copies it.
// GUI thread only; owned by its Qt parent.

#include <QFont>
#include <QVector>
#include <cstdint>

#include "controls/touchlist.h"
#include "controls/rowrenderer.h"

namespace controls {

class AutoRepeat;

class TSelecterListBox : public TouchList
{
    Q_OBJECT

public:
    explicit TSelecterListBox(QWidget* owner);

    void clear();
    void selectall();
    void selectnone();
    // Whether row `n` is selected; false for a number that is no row.
    bool IsSelected(int32_t n) const;

    void Paint() override;
    // Works out the row height and how many rows fit, from the font and the height.
    void Resize();

    const ListItems& items() const { return fitems; }
    ListItems& items() { return fitems; }
    int32_t count() const { return fcount; }
    int32_t itemindex() const { return fitemindex; }
    int32_t color() const { return fcolor; }
    void setcolor(int32_t v) { fcolor = v; }
    // The rows' font; its colour is the palette's window text.
    QFont font() const { return ffont; }
    void setfont(const QFont& f);
    float linespacing() const { return flinespacing; }
    void setlinespacing(float v);
    int32_t margin() const { return fmargin; }
    void setmargin(int32_t v) { fmargin = v; }
    int32_t numbercolor() const { return fnumbercolor; }
    void setnumbercolor(int32_t v) { fnumbercolor = v; }
    bool showlabels() const { return fshownumbers; }
    void setshowlabels(bool v) { fshownumbers = v; }
    bool drawmode() const { return fdrawmode; }
    void setdrawmode(bool v) { fdrawmode = v; }

    // The first visible row, the rows that fit and the hit rectangles of the last rendering.
    int32_t firstrow() const { return topmost; }
    int32_t rowsinview() const { return displayitems; }
    const QVector<tmatrix>& hits() const { return matrix; }

    // The press, release and movement handlers, in pixels of the list.
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseMove(int x, int y) override;

Q_SIGNALS:
    void OnClick(QObject* sender);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void itemsChanged();
    void repeattimerRepeat();
    void drawBoxes(QPainter& painter, const QSize& size);

    QVector<bool> fselected;
    ListItems fitems;
    int32_t fcount = 0;
    int32_t fitemindex = -1;
    int32_t fcolor;
    QFont ffont;
    float flinespacing = 1.0f;
    int32_t fmargin = 0;
    int32_t fnumbercolor = 0;
    bool fshownumbers = true;
    int32_t topmost = 0;
    int32_t displayitems = 0;
    int32_t itemheight = 0;
    int32_t topborder = 0;
    bool fdrawmode = true;
    AutoRepeat* repeattimer;
    QVector<tmatrix> matrix;
    int32_t marked = kNothing;

    ArrowSet arrows;
    // The drawing font as the last layout took it.
    QFont canvasfont_;
    // The rows changed since the last rendering, so its hit rectangles are out of date.
    bool stale_ = true;
};

} // namespace controls

#pragma once

// Base of the lists of text rows (the track list and the multi-select list): the rows, how they
// look (background, font, line spacing, margin, row labels) and the row layout worked out from
// the font and the height. A new list is drawn in a 12-point font of the family it names.
// GUI thread only; owned by its Qt parent.

#include <QFont>
#include <cstdint>

#include "controls/rowrenderer.h"
#include "controls/touchlist.h"

namespace controls {

class RowList : public TouchList
{
    Q_OBJECT

public:
    const ListItems& items() const { return fitems; }
    ListItems& items() { return fitems; }
    int32_t color() const { return fcolor; }
    void setcolor(int32_t v) { fcolor = v; }
    // The rows' font; its colour is the palette's window text.
    QFont font() const { return ffont; }
    float linespacing() const { return flinespacing; }
    // Below 1 counts as 1; the layout follows at once.
    void setlinespacing(float v);
    int32_t margin() const { return fmargin; }
    void setmargin(int32_t v) { fmargin = v; }
    int32_t numbercolor() const { return fnumbercolor; }
    void setnumbercolor(int32_t v) { fnumbercolor = v; }
    bool showlabels() const { return fshownumbers; }
    void setshowlabels(bool v) { fshownumbers = v; }
    bool drawmode() const { return fdrawmode; }
    void setdrawmode(bool v) { fdrawmode = v; }

    // Works out the row height and how many rows fit, from the font and the height.
    virtual void Resize() = 0;

protected:
    RowList(QWidget* owner, int repeatfloor, const QString& fontfamily);

    // The height of a row in the drawing font, times the line spacing; at least 1.
    int32_t lineheight() const;
    // How many rows of `itemheight` fit between the top and bottom borders.
    int32_t rowsfitting() const;

    void resizeEvent(QResizeEvent* event) override;

    ListItems fitems;
    int32_t fcolor;
    QFont ffont;
    float flinespacing = 1.0f;
    int32_t fmargin = 0;
    int32_t fnumbercolor = 0;
    bool fshownumbers = true;
    int32_t itemheight = 0;
    int32_t topborder = 0;
    bool fdrawmode = true;
    ArrowSet arrows;
    // The drawing font as the last layout took it.
    QFont canvasfont_;
};

} // namespace controls

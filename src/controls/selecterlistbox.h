#pragma once

// The multi-select sibling of the track list: touching a row toggles it on or off. Selected
// rows are written in the font colour, the others in grey. An arrow with the word "More" at the
// top or bottom edge scrolls by one row per press, repeating while held. Each state change
// renders the whole face off-screen with its hit rectangles; painting only copies it.
// GUI thread only; owned by its Qt parent.

#include <QVector>
#include <cstdint>

#include "controls/rowlist.h"

class QPainter;

namespace controls {

class TSelecterListBox : public RowList
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
    void Resize() override;

    int32_t count() const { return fcount; }
    int32_t itemindex() const { return fitemindex; }
    // Takes the look of `f` and lays the rows out again.
    void setfont(const QFont& f);
    // The least side of a "More" key: a smaller arrow is drawn larger in its own proportions, and the
    // key takes touches over all of it.
    void setkeyside(int32_t side) { fkeyside = side; }

    // The first visible row and the rows that fit.
    int32_t firstrow() const { return topmost; }
    int32_t rowsinview() const { return displayitems; }

    // The press, release and movement handlers, in pixels of the list.
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseMove(int x, int y) override;

private:
    void itemsChanged();
    void repeattimerRepeat() override;
    void drawBoxes(QPainter& painter, const QSize& size);

    QVector<bool> fselected;
    int32_t fcount = 0;
    int32_t fitemindex = -1;
    int32_t topmost = 0;
    int32_t displayitems = 0;
    int32_t fkeyside = 0;
    // The rows changed since the last rendering, so its hit rectangles are out of date.
    bool stale_ = true;
};

} // namespace controls

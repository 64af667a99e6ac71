#pragma once

// A page step of the jukebox as a guest makes it: an arrow pressed (the page slides and the new
// page is drawn) and let go at once; an arrow still held would step again at every tick of its
// auto-repeat, and a step closes any panel open over the pages. And the checks that a step did its
// work: the page panels slid, and the pixels of the album area changed to what the new page shows
// when drawn afresh.

#include <QEvent>
#include <QCoreApplication>
#include <QImage>
#include <QObject>
#include <QWidget>
#include <cstdint>
#include <cstdlib>

#include "eventwait.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/textlabel.h"

namespace bench {

// Counts the moves of the page panels while it lives.
class PanelMoves : public QObject
{
public:
    explicit PanelMoves(const jukebox::Tjukebox& jb)
    {
        for (QWidget* panel : {jb.toppanel, jb.botpanel, jb.toprightpanel, jb.botrightpanel})
            panel->installEventFilter(this);
    }
    int count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move) ++count_;
        return false;
    }

private:
    int count_ = 0;
};

// One page step forward or back, the arrow let go after it; whether the page moved and slid there
// (its panels moved in more than one frame).
inline bool stepPage(jukebox::Tjukebox& jb, bool forward)
{
    const int page = jukebox::currentalbum;
    const PanelMoves moves(jb);
    uint16_t key = 0;
    if (forward) {
        jb.pageForward(key);
        jb.butllabelMouseUp(jb.butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    } else {
        jb.pageBack(key);
        jb.butrlabelMouseUp(jb.butrlabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    }
    return jukebox::currentalbum != page && moves.count() > 1;
}

// The album area as it shows now, once the covers of its page are made, in grey.
inline QImage pagePixels(jukebox::Tjukebox& jb)
{
    constexpr int kCoversBoundMs = 120'000;
    (void)waitUntil([&jb] { return !jb.coversPending(); }, kCoversBoundMs);
    QCoreApplication::processEvents();
    return jb.midpanelpanel->grab().toImage().convertToFormat(QImage::Format_Grayscale8);
}

// The share of the pixels of `a` and `b` (of one size) whose grey differs by more than the
// smoothing of text drawn twice does.
inline double changedShare(const QImage& a, const QImage& b)
{
    constexpr int kSmoothing = 24;
    if (a.size() != b.size() || a.isNull()) return 1;
    qint64 changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* lineA = a.constScanLine(y);
        const uchar* lineB = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x)
            changed += std::abs(int(lineA[x]) - int(lineB[x])) > kSmoothing;
    }
    return double(changed) / (double(a.width()) * a.height());
}

// Whether the page now shown, stepped to from page `from`, was drawn by the step: its pixels are
// those of the same page drawn afresh, and not those of page `from` drawn afresh. New album numbers
// and names alone change 0.07% of the area or more (where the pictures and titles stay alike); the
// same page drawn twice, none of it. The stepped page is drawn again at the end.
inline bool pageDrawn(jukebox::Tjukebox& jb, int from)
{
    constexpr double kNewPage = 0.0003;
    constexpr double kSamePage = 0.0001;
    const int page = jukebox::currentalbum;
    const QImage stepped = pagePixels(jb);
    jb.drawalbum(from);
    const QImage left = pagePixels(jb);
    jb.drawalbum(page);
    return changedShare(stepped, left) > kNewPage && changedShare(stepped, pagePixels(jb)) < kSamePage;
}

// A step checked from end to end, outside any timing: it moved and slid, and drew the new page.
inline bool checkedStep(jukebox::Tjukebox& jb, bool forward)
{
    const int from = jukebox::currentalbum;
    return stepPage(jb, forward) && pageDrawn(jb, from);
}

} // namespace bench

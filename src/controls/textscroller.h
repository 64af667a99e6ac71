#pragma once

// A marquee line: the text runs from right to left across the control, one character per
// step, followed by enough spaces to fill the control's width, and comes round again.
// `messagedone` is raised once after each complete pass.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <QFont>
#include <QString>
#include <cstdint>

#include "controls/ownerdrawn.h"

namespace controls {

class Ticker;

class TTextScroller : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TTextScroller(QWidget* owner);
    ~TTextScroller() override;

    // With `prepend` the text enters from the right edge; without, it starts at the left edge.
    bool prepend() const { return fprepend; }
    void setprepend(bool v) { fprepend = v; }
    // The background colour.
    int32_t color() const { return fcolor; }
    void setcolor(int32_t v);
    // The font of the text; its colour is the palette's window text.
    QFont font() const { return ffont; }
    void setfont(const QFont& f);
    // Starts or stops the scrolling; either way the text starts again from its beginning.
    void state(bool v);
    // True while the text scrolls.
    bool running() const;
    // Milliseconds per step; negative values count as 0, which stops the steps.
    int32_t speed() const { return fspeed; }
    void setspeed(int32_t v);
    QString text() const { return ftext; }
    void settext(const QString& s);

    // The text as currently shown, rotated by the steps so far.
    QString shownText() const { return otext; }

    // One step. Steps from `Sender`s other than the scroller's own timer move the text only
    // when at least one step interval has passed since the last move.
    void timercall(QObject* Sender);

    void Paint() override;

Q_SIGNALS:
    void messagedone(QObject* Sender);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildShownText();
    bool messagedoneConnected() const;
    void timerTimeout();

    Ticker* otimer;
    QString ftext;
    QString otext;
    int32_t fspeed = 100;
    int32_t fcolor;
    QFont ffont;
    QString spacerstring;
    int32_t ftop = 0;
    uint32_t atimer = 0;
    int32_t i = 0;
    bool fprepend = false;
    bool firstround = false;
};

} // namespace controls

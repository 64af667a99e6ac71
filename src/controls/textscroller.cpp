#include "controls/textscroller.h"

#include <QMetaMethod>
#include <QPainter>
#include <limits>

#include "controls/drawing.h"
#include "skins/colors.h"
#include "controls/ticker.h"
#include "controls/timersource.h"

namespace controls {

namespace {
constexpr int kDefaultSpeed = 100;
constexpr int kDefaultFontSize = 12;

// Moves the first character to the end; a character made of two UTF-16 units moves whole.
QString rotatedLeft(const QString& s)
{
    if (s.isEmpty()) return s;
    const qsizetype n = (s.size() >= 2 && s.at(0).isHighSurrogate() && s.at(1).isLowSurrogate()) ? 2 : 1;
    return s.mid(n) + s.left(n);
}
} // namespace

TTextScroller::TTextScroller(QWidget* owner)
    : OwnerDrawn(owner), otimer(timerSource().makeTicker(this)), fcolor(skins::clWindow),
      ffont(panelFont(kDefaultFontSize))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    otimer->setInterval(kDefaultSpeed);
    connect(otimer, &Ticker::timeout, this, &TTextScroller::timerTimeout);
    buildShownText();
    Paint();
}

TTextScroller::~TTextScroller()
{
    otimer->setEnabled(false);
}

// The face is kept current with every change, as a repaint of the window would show it.
void TTextScroller::setcolor(int32_t v)
{
    fcolor = v;
    Paint();
}

void TTextScroller::setfont(const QFont& f)
{
    ffont = f;
    Paint();
}

bool TTextScroller::running() const
{
    return otimer->isEnabled();
}

void TTextScroller::state(bool v)
{
    otimer->setEnabled(v);
    buildShownText();
    Paint();
}

void TTextScroller::setspeed(int32_t v)
{
    fspeed = v < 0 ? 0 : v;
    otimer->setInterval(fspeed);
}

void TTextScroller::settext(const QString& s)
{
    const bool wasRunning = otimer->isEnabled();
    otimer->setEnabled(false);
    ftext = s;
    buildShownText();
    Paint();
    otimer->setEnabled(wasRunning);
    firstround = true;
}

void TTextScroller::resizeEvent(QResizeEvent* event)
{
    buildShownText();
    OwnerDrawn::resizeEvent(event);
}

// The spacer is the run of spaces that just fills the control, less two; the shown text is
// the message with the spacer in front (prepend) or behind.
void TTextScroller::buildShownText()
{
    QString spaces;
    // A font whose space has no width could never fill the control.
    if (textWidth(*this, ffont, QStringLiteral(" ")) > 0)
        while (textWidth(*this, ffont, spaces) < width())
            spaces += QLatin1Char(' ');
    spacerstring = spaces.size() < 2 ? QString() : spaces.left(spaces.size() - 2);
    otext = fprepend ? spacerstring + QLatin1Char(' ') + ftext : QLatin1Char(' ') + ftext + spacerstring;
    const QFontMetrics metrics(ffont, this);
    ftop = height() / 2 - metrics.height() / 2;
}

void TTextScroller::Paint()
{
    QImage& canvas = clearFace();
    canvas.fill(skins::tcolorToQColor(fcolor));
    QPainter painter(&canvas);
    painter.setFont(ffont);
    painter.setPen(fontColor(*this));
    if (!otext.isEmpty()) textOut(painter, 0, ftop, otext);
    painter.end();
    faceChanged();
}

bool TTextScroller::messagedoneConnected() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&TTextScroller::messagedone));
}

void TTextScroller::timerTimeout()
{
    timercall(otimer);
}

void TTextScroller::timercall(QObject* Sender)
{
    // Without a messagedone handler nothing resets the count: it stops at its top.
    if (i < std::numeric_limits<int32_t>::max()) ++i;
    // The spacer at the front means one pass is complete. An empty spacer marks nothing.
    if (messagedoneConnected() && !spacerstring.isEmpty() && otext.startsWith(spacerstring)) {
        if (i >= 2 && !firstround) Q_EMIT messagedone(this);
        firstround = false;
        i = 0;
    }
    const uint32_t now = timerSource().tickCount();
    // Unsigned difference: right across the wrap of the tick count.
    if (now - atimer >= static_cast<uint32_t>(otimer->interval()) || Sender == otimer) {
        otext = rotatedLeft(otext);
        Paint();
        atimer = now;
    }
}

} // namespace controls

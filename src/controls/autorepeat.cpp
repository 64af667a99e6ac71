#include "controls/autorepeat.h"

#include "controls/ticker.h"
#include "controls/timersource.h"

namespace controls {

AutoRepeat::AutoRepeat(int first, int step, int floor, QObject* parent)
    : QObject(parent), ticker_(timerSource().makeTicker(this)), first_(first), step_(step), floor_(floor)
{
    ticker_->setInterval(first_);
    connect(ticker_, &Ticker::timeout, this, &AutoRepeat::tickerTimeout);
}

void AutoRepeat::press()
{
    ticker_->setEnabled(true);
}

void AutoRepeat::release()
{
    ticker_->setEnabled(false);
    ticker_->setInterval(first_);
}

int AutoRepeat::interval() const
{
    return ticker_->interval();
}

bool AutoRepeat::isRunning() const
{
    return ticker_->isEnabled();
}

void AutoRepeat::tickerTimeout()
{
    // The repeated action comes first; the speed-up follows it, as the held buttons expect.
    Q_EMIT repeat();
    if (ticker_->interval() > floor_) ticker_->setInterval(ticker_->interval() - step_);
}

} // namespace controls

#include "controls/timersource.h"

#include <QElapsedTimer>
#include <QTimer>

#include "controls/ticker.h"
#include "platform/seam.h"

namespace controls {

namespace {

// A Ticker over a QTimer; the QTimer runs only while enabled with a non-zero interval.
class QtTicker final : public Ticker
{
public:
    explicit QtTicker(QObject* parent) : Ticker(parent), timer_(new QTimer(this))
    {
        connect(timer_, &QTimer::timeout, this, &Ticker::timeout);
    }

    void setInterval(int ms) override
    {
        interval_ = ms < 0 ? 0 : ms;
        timer_->setInterval(interval_);
        update();
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override
    {
        enabled_ = on;
        update();
    }
    bool isEnabled() const override { return enabled_; }

private:
    void update()
    {
        if (enabled_ && interval_ > 0)
            timer_->start();
        else
            timer_->stop();
    }

    QTimer* timer_;
    int interval_ = 0;
    bool enabled_ = false;
};

class QtTimerSource final : public TimerSource
{
public:
    QtTimerSource() { clock_.start(); }
    Ticker* makeTicker(QObject* parent) override { return new QtTicker(parent); }
    uint32_t tickCount() const override { return static_cast<uint32_t>(clock_.elapsed()); }

private:
    QElapsedTimer clock_;
};

} // namespace

TimerSource& timerSource()
{
    return platform::Seam<TimerSource, QtTimerSource>::get();
}

void setTimerSource(TimerSource* replacement)
{
    platform::Seam<TimerSource, QtTimerSource>::set(replacement);
}

} // namespace controls

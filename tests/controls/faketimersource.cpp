#include "faketimersource.h"

bool FakeTicker::fire()
{
    if (!enabled_ || interval_ == 0) return false;
    Q_EMIT timeout();
    return true;
}

FakeTimerSource::FakeTimerSource()
{
    controls::setTimerSource(this);
}

FakeTimerSource::~FakeTimerSource()
{
    controls::setTimerSource(nullptr);
}

controls::Ticker* FakeTimerSource::makeTicker(QObject* parent)
{
    auto* ticker = new FakeTicker(parent);
    tickers.append(ticker);
    return ticker;
}

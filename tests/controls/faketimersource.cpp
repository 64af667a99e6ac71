#include "faketimersource.h"

bool FakeTicker::fire()
{
    if (!enabled_ || interval_ == 0) return false;
    Q_EMIT timeout();
    return true;
}

std::vector<int> FakeTicker::fireRecordingIntervals(int times)
{
    std::vector<int> intervals;
    for (int k = 0; k < times; ++k) {
        intervals.push_back(interval_);
        fire();
    }
    return intervals;
}

controls::Ticker* FakeTimerSource::makeTicker(QObject* parent)
{
    auto* ticker = new FakeTicker(parent);
    tickers.append(ticker);
    return ticker;
}

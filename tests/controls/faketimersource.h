#pragma once

// A timer source for tests: its tickers fire only when a test says so, and its clock stands
// still until a test moves it. Installs itself on construction and restores the real source
// on destruction.

#include <QPointer>
#include <QVector>
#include <cstdint>
#include <vector>

#include "controls/ticker.h"
#include "controls/timersource.h"
#include "installedfake.h"

class FakeTicker final : public controls::Ticker
{
public:
    using Ticker::Ticker;

    void setInterval(int ms) override { interval_ = ms < 0 ? 0 : ms; }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override { enabled_ = on; }
    bool isEnabled() const override { return enabled_; }

    // Emits one tick when a real timer would be running; returns whether it did.
    bool fire();
    // Fires `times` times; the interval in force before each firing, in order.
    std::vector<int> fireRecordingIntervals(int times);

private:
    int interval_ = 0;
    bool enabled_ = false;
};

class FakeTimerSource final : public InstalledFake<controls::TimerSource, &controls::setTimerSource>
{
public:
    controls::Ticker* makeTicker(QObject* parent) override;
    uint32_t tickCount() const override { return now; }

    // Every ticker made while installed, oldest first (null once its owner is gone).
    QVector<QPointer<FakeTicker>> tickers;
    // The clock; tests move it.
    uint32_t now = 1000;
};

#pragma once

// The auto-repeat of a held press. While held, `repeat` is emitted first after `first` ms; after
// each repeat the interval is shortened by `step` ms as long as it is above `floor`, so a held
// button repeats ever faster. Releasing stops it and puts the interval back to `first`.
// GUI thread only; owned by its QObject parent (the control).

#include <QObject>

namespace controls {

class Ticker;

class AutoRepeat : public QObject
{
    Q_OBJECT

public:
    AutoRepeat(int first, int step, int floor, QObject* parent);

    // Starts repeating at the current interval.
    void press();
    // Stops repeating and restores the first interval.
    void release();
    int interval() const;
    bool isRunning() const;

Q_SIGNALS:
    void repeat();

private:
    void tickerTimeout();

    Ticker* ticker_;
    int first_;
    int step_;
    int floor_;
};

} // namespace controls

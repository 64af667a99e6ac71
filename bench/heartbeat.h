#pragma once

// A timer that beats every millisecond on the window thread and keeps each gap between beats
// beyond the beat itself: how long the thread was kept from its events.

#include <QElapsedTimer>
#include <QTimer>
#include <QVector>
#include <algorithm>

class Heartbeat
{
public:
    Heartbeat()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const double now = double(clock_.nsecsElapsed()) / 1e6;
            if (last_ >= 0) gaps_.append(std::max(0.0, now - last_ - 1));
            last_ = now;
        });
        clock_.start();
        timer_.start();
    }
    Heartbeat(const Heartbeat&) = delete;
    Heartbeat& operator=(const Heartbeat&) = delete;

    const QVector<double>& gaps() const { return gaps_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = -1;
    QVector<double> gaps_;
};

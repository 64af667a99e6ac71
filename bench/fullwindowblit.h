#pragma once

// The floor of any frame: a whole window's picture of `size` copied once onto another, in ms (the
// median of many copies). How long the window thread may stay away from its events is set as a
// number of these blits, so a slower or busier machine moves the goal along with the work.

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <vector>

#include "median.h"

namespace bench {

// The window thread stays away from its events no longer than this many full-window blits (about
// one frame of a 60 Hz screen on the machines the goal was set on).
constexpr double kFrameBlits = 16;

inline double fullWindowBlitMs(const QSize& size)
{
    constexpr int kCopies = 101;
    QImage source(size, QImage::Format_ARGB32_Premultiplied);
    source.fill(QColor(40, 60, 80));
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms;
    for (int i = 0; i < kCopies; ++i) {
        QElapsedTimer clock;
        clock.start();
        QPainter painter(&target);
        painter.drawImage(0, 0, source);
        painter.end();
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

} // namespace bench

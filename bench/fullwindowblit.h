#pragma once

// The floor of any frame: a whole 1920 x 1080 window's picture copied once onto another, in ms (the
// median of many copies). How long the window thread may stay away from its events is set as a
// number of these blits, whatever the window's size, so a slower or busier machine moves the goal
// along with the work.

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <vector>

#include "median.h"

namespace bench {

// The window thread stays away from its events no longer than this many full-window blits: one
// frame of a 60 Hz screen (16 ms) where a 1920 x 1080 blit takes a quarter of a millisecond, as on
// the machine the goal was set on.
constexpr double kFrameBlits = 64;

inline double fullWindowBlitMs()
{
    constexpr int kCopies = 101;
    const QSize size(1920, 1080);
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

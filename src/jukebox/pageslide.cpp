#include "jukebox/pageslide.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace jukebox {

namespace {
Q_LOGGING_CATEGORY(lcSlide, "musetra.jukebox.slide", QtInfoMsg)

constexpr qint64 kNsPerMs = 1000000;
} // namespace

PageSlide::PageSlide(QObject* parent) : QObject(parent) {}

void PageSlide::setFrameInterval(int ms)
{
    frameInterval_ = std::max(ms, 0);
}

void PageSlide::run(const QVector<QWidget*>& panels, int goal, int step,
                    const std::function<void()>& eachFrame)
{
    frameTimes_.clear();
    if (panels.isEmpty() || !panels.first()->parentWidget()) return;
    QVector<QPointer<QWidget>> moving;
    for (QWidget* panel : panels)
        moving.append(panel);
    const QPointer<QWidget> area = panels.first()->parentWidget();
    const auto gone = [&] {
        return !area ||
               std::any_of(moving.cbegin(), moving.cend(), [](const QPointer<QWidget>& p) { return !p; });
    };

    QElapsedTimer clock;
    clock.start();
    while (!gone() && moving.first()->x() != goal) {
        const qint64 start = clock.nsecsElapsed();
        const int distance = goal - moving.first()->x();
        const int dx = step < 1 || std::abs(distance) <= step ? distance : (distance > 0 ? step : -step);
        QRegion dirty;
        for (const QPointer<QWidget>& panel : moving) {
            dirty += panel->geometry();
            panel->move(panel->x() + dx, panel->y());
            dirty += panel->geometry();
        }
        if (eachFrame) eachFrame();
        if (gone()) break;
        // Painted now rather than when the event loop next gets round to it, so every frame shows.
        area->repaint(dirty);
        const qint64 end = clock.nsecsElapsed();
        frameTimes_.append(double(end - start) / kNsPerMs);
        waitUntil(start + frameInterval_ * kNsPerMs, end);
    }
    qCDebug(lcSlide) << "slide of" << frameTimes_.size() << "frames, median" << medianTime(frameTimes_)
                     << "ms, worst" << worstTime(frameTimes_) << "ms";
}

void PageSlide::pause(int ms)
{
    waitUntil(std::max(ms, 0) * kNsPerMs, 0);
}

// Runs the event loop until `deadlineNs` (on the same clock as `nowNs`); with no frame interval it
// only lets the pending events run.
void PageSlide::waitUntil(qint64 deadlineNs, qint64 nowNs)
{
    const qint64 remainingMs = (deadlineNs - nowNs) / kNsPerMs;
    if (frameInterval_ == 0 || remainingMs <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(int(remainingMs), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double medianTime(QVector<double> times)
{
    if (times.isEmpty()) return 0;
    const auto middle = times.begin() + times.size() / 2;
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

double worstTime(const QVector<double>& times)
{
    return times.isEmpty() ? 0 : *std::max_element(times.cbegin(), times.cend());
}

} // namespace jukebox

#pragma once

// The page slide: panels of the album area move sideways by a step per frame until they stand at
// their goal. Each frame is painted at once, and the event loop runs between frames, so the screen
// stays responsive while a slide runs. Frames start at most every `frameInterval` milliseconds; how
// long each frame took to move and paint is kept for the last slide, so its smoothness can be read.
// GUI thread only; owned by the jukebox window (QObject parent).

#include <QObject>
#include <QVector>
#include <functional>

class QWidget;

namespace jukebox {

class PageSlide : public QObject
{
    Q_OBJECT

public:
    // About one frame of a 60 Hz screen.
    static constexpr int kDefaultFrameInterval = 16;

    explicit PageSlide(QObject* parent);

    // 0 makes every wait of the slide (frame waits and pauses) only let pending events run.
    void setFrameInterval(int ms);
    int frameInterval() const { return frameInterval_; }

    // Moves `panels` (children of one parent) by `step` pixels per frame towards x = `goal` for the
    // first of them; the others keep their distance to it. The last frame lands exactly on the goal;
    // a step below 1 gets there in one frame. `eachFrame` runs after each move, before the painting.
    // Ends early when a panel goes away meanwhile.
    void run(const QVector<QWidget*>& panels, int goal, int step,
             const std::function<void()>& eachFrame = {});

    // Lets events run for `ms` milliseconds (only those pending when the frame interval is 0).
    void pause(int ms);

    // Milliseconds that each frame of the last slide took to move and paint, in order.
    const QVector<double>& frameTimes() const { return frameTimes_; }

private:
    void waitUntil(qint64 deadlineNs, qint64 nowNs);

    int frameInterval_ = kDefaultFrameInterval;
    QVector<double> frameTimes_;
};

// The median and the largest of `times` (0 for none).
double medianTime(QVector<double> times);
double worstTime(const QVector<double>& times);

} // namespace jukebox

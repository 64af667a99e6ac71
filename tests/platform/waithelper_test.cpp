#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

#include "platform/waithelper.h"

using namespace platform;

namespace {

// Counts the events of one type that reach it.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type) : type_(type) {}
    int count = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == type_) ++count;
        return QObject::event(e);
    }

private:
    QEvent::Type type_;
};

} // namespace

TEST(WaitHelper, WorkerThatSynchronisesBackWhileTheWindowThreadWaitsFinishes)
{
    QObject window;
    int handedOver = 0; // touched only on this (the window) thread
    std::atomic<bool> allOnWindowThread{true};
    QThread* const windowThread = QThread::currentThread();
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (int i = 0; i < 20; ++i) {
            synchronize(&window, [&] {
                if (QThread::currentThread() != windowThread) allOnWindowThread = false;
                ++handedOver;
            });
        }
        // A plain blocking queued invocation, as Qt offers it, is run by the wait as well.
        QMetaObject::invokeMethod(
            &window, [&] { ++handedOver; }, Qt::BlockingQueuedConnection);
    }));
    worker->start();
    waitForThread(*worker);

    EXPECT_TRUE(worker->isFinished());
    EXPECT_EQ(handedOver, 21);
    EXPECT_TRUE(allOnWindowThread);
}

TEST(WaitHelper, ReturnsAtOnceForAThreadThatNeverStartedOrHasEnded)
{
    std::unique_ptr<QThread> never(QThread::create([] {}));
    waitForThread(*never);
    EXPECT_FALSE(never->isRunning());

    std::unique_ptr<QThread> ended(QThread::create([] {}));
    ended->start();
    ended->wait();
    waitForThread(*ended);
    EXPECT_TRUE(ended->isFinished());
}

TEST(WaitHelper, RunsOnlyHandOversWhileWaiting)
{
    EventCounter bystander(QEvent::User);
    QCoreApplication::postEvent(&bystander, new QEvent(QEvent::User));
    std::unique_ptr<QThread> worker(QThread::create([] {}));
    worker->start();
    waitForThread(*worker);
    EXPECT_EQ(bystander.count, 0);

    QCoreApplication::sendPostedEvents(&bystander, QEvent::User);
    EXPECT_EQ(bystander.count, 1);
}

TEST(WaitHelper, SynchroniseRunsInPlaceOnTheTargetsOwnThread)
{
    QObject window;
    bool ran = false;
    synchronize(&window, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

#pragma once

// Helpers that build small file trees for tests inside a temporary folder.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class TempFolder
{
public:
    TempFolder();

    QString path() const { return dir_.path(); }
    // `relative` under the folder; the folders on the way are made.
    QString file(const QString& relative) const;
    // Writes `content` to `relative` (making folders) and returns the full path.
    QString write(const QString& relative, const QByteArray& content) const;
    // Makes the folder `relative` and returns its full path.
    QString mkdir(const QString& relative) const;
    QByteArray read(const QString& relative) const;
    // Makes a FIFO at `relative` and returns its full path.
    QString makeFifo(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// Keeps a test from hanging on a FIFO it must never block on: after a generous wait the guard
// opens the FIFO for writing again and again, which ends any open or read blocked on it, and
// remembers that it had to.
class FifoGuard
{
public:
    explicit FifoGuard(const QString& fifo);
    ~FifoGuard();
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    // True when something blocked on the FIFO.
    bool released() const { return released_; }

private:
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::atomic<bool> released_ = false;
    std::thread thread_;
};

// Halts become exceptions while an instance lives, so a fatal road can be tested.
class ThrowingHalt
{
public:
    ThrowingHalt();
    ~ThrowingHalt();
    ThrowingHalt(const ThrowingHalt&) = delete;
    ThrowingHalt& operator=(const ThrowingHalt&) = delete;
};

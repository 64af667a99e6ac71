#include "jukebox/entrypause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace jukebox {

namespace {

std::function<void(int)>& pauseSlot()
{
    static std::function<void(int)> pause;
    return pause;
}

} // namespace

void entrypause(int ms)
{
    if (pauseSlot()) {
        pauseSlot()(ms);
        return;
    }
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    // A local loop rather than a sleep: the keypad, the message line and the player's end-of-track
    // notification all go on while the step waits.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void setentrypause(std::function<void(int)> pause)
{
    pauseSlot() = std::move(pause);
}

} // namespace jukebox

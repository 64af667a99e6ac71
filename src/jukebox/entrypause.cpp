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

bool entrypause(int ms)
{
    if (pauseSlot()) {
        pauseSlot()(ms);
        return true;
    }
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return true;
    }
    return runevents(ms);
}

bool runevents(int ms)
{
    // A local loop rather than a sleep: the keypad, the message line and the player's end-of-track
    // notification all go on while the step waits. After a stop request it returns at once (-1).
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    return loop.exec() == 0;
}

void setentrypause(std::function<void(int)> pause)
{
    pauseSlot() = std::move(pause);
}

} // namespace jukebox

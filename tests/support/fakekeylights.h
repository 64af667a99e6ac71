#pragma once

// Lock keys and lights that live in memory while an instance lives: presses switch the lock
// and are counted; which keys are held is set by the test.

#include <QVector>

#include "installedfake.h"
#include "platform/keylights.h"

class FakeKeyLights final : public InstalledFake<platform::KeyLights, &platform::setKeyLights>
{
public:
    bool isOn(platform::LockKey key) const override { return on_[index(key)]; }
    void press(platform::LockKey key) override
    {
        on_[index(key)] = !on_[index(key)];
        pressed.append(key);
    }
    bool isHeld(platform::LockKey key) const override { return held_[index(key)]; }

    void setOn(platform::LockKey key, bool on) { on_[index(key)] = on; }
    void setHeld(platform::LockKey key, bool held) { held_[index(key)] = held; }

    // Every press, oldest first.
    QVector<platform::LockKey> pressed;

private:
    static int index(platform::LockKey key) { return static_cast<int>(key); }

    bool on_[3] = {false, false, false};
    bool held_[3] = {false, false, false};
};

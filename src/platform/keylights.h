#pragma once

// The keyboard's three lock keys (Caps Lock, NumLock, Scroll Lock) and their indicator lights.
// A press of a lock key switches its lock, and with it its light; the program presses them to
// play a light show and asks whether NumLock is being held. The real seam drives the X server's
// keyboard extension; with no X server it does nothing and answers "off" and "not held". Tests
// install a fake. GUI thread only; the seam object is owned by whoever installs it.

namespace platform {

enum class LockKey { Caps, Num, Scroll };

class KeyLights
{
public:
    virtual ~KeyLights() = default;

    // True while the lock of `key` is on (its light is lit).
    [[nodiscard]] virtual bool isOn(LockKey key) const = 0;
    // A press and release of `key`: its lock, and its light, switch over.
    virtual void press(LockKey key) = 0;
    // True while `key` is being held down.
    [[nodiscard]] virtual bool isHeld(LockKey key) const = 0;
};

// The seam in force: the real one unless a test installed another.
KeyLights& keyLights();
// Installs another seam (not owned); nullptr restores the real one.
void setKeyLights(KeyLights* replacement);

} // namespace platform

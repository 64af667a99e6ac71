#include "platform/keylights.h"

#include <memory>

#include "platform/seam.h"

// X11 last: its macros (None, Bool, Status, KeyPress) clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform {

namespace {

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

KeySym keysymOf(LockKey key)
{
    switch (key) {
    case LockKey::Caps:
        return XK_Caps_Lock;
    case LockKey::Num:
        return XK_Num_Lock;
    case LockKey::Scroll:
        break;
    }
    return XK_Scroll_Lock;
}

const char* indicatorName(LockKey key)
{
    switch (key) {
    case LockKey::Caps:
        return "Caps Lock";
    case LockKey::Num:
        return "Num Lock";
    case LockKey::Scroll:
        break;
    }
    return "Scroll Lock";
}

// The lock keys through the X keyboard extension, on a connection of its own that is opened at
// the first question. A lock key that switches a modifier (Caps Lock, NumLock; Scroll Lock on
// some layouts) is pressed by locking or unlocking that modifier, which the server shows on the
// light; a key without one (Scroll Lock mostly) has only its named indicator, which is set directly.
class XkbKeyLights final : public KeyLights
{
public:
    bool isOn(LockKey key) const override
    {
        Display* display = connection();
        if (!display) return false;
        if (const unsigned mask = modifierOf(display, key)) {
            XkbStateRec state{};
            if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return false;
            return (state.locked_mods & mask) != 0;
        }
        return indicatorOn(display, key);
    }

    void press(LockKey key) override
    {
        Display* display = connection();
        if (!display) return;
        if (const unsigned mask = modifierOf(display, key)) {
            XkbLockModifiers(display, XkbUseCoreKbd, mask, isOn(key) ? 0 : mask);
        } else {
            const Atom name = XInternAtom(display, indicatorName(key), False);
            XkbSetNamedIndicator(display, name, True, indicatorOn(display, key) ? False : True, False,
                                 nullptr);
        }
        XFlush(display);
    }

    bool isHeld(LockKey key) const override
    {
        Display* display = connection();
        if (!display) return false;
        const KeyCode code = XKeysymToKeycode(display, keysymOf(key));
        if (code == 0) return false;
        char keys[32] = {};
        XQueryKeymap(display, keys);
        return (static_cast<unsigned char>(keys[code / 8]) & (1u << (code % 8))) != 0;
    }

private:
    // The connection, or null when there is no X server or it lacks the keyboard extension.
    Display* connection() const
    {
        if (!tried_) {
            tried_ = true;
            DisplayPtr display(XOpenDisplay(nullptr));
            int opcode = 0;
            int event = 0;
            int error = 0;
            int major = XkbMajorVersion;
            int minor = XkbMinorVersion;
            if (display && XkbQueryExtension(display.get(), &opcode, &event, &error, &major, &minor))
                display_ = std::move(display);
        }
        return display_.get();
    }

    static unsigned modifierOf(Display* display, LockKey key)
    {
        return XkbKeysymToModifiers(display, keysymOf(key));
    }

    static bool indicatorOn(Display* display, LockKey key)
    {
        const Atom name = XInternAtom(display, indicatorName(key), True);
        if (name == 0) return false;
        Bool on = False;
        if (!XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr)) return false;
        return on != False;
    }

    mutable DisplayPtr display_;
    mutable bool tried_ = false;
};

} // namespace

KeyLights& keyLights()
{
    return Seam<KeyLights, XkbKeyLights>::get();
}

void setKeyLights(KeyLights* replacement)
{
    Seam<KeyLights, XkbKeyLights>::set(replacement);
}

} // namespace platform

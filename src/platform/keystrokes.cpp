#include "platform/keystrokes.h"

#include <memory>

// X11 last: its macros (None, Bool, Status, KeyPress) clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace platform {

namespace {

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// The connection, opened at the first use; null when there is no X server or it lacks XTest.
Display* display()
{
    static const DisplayPtr connection = [] {
        DisplayPtr opened(XOpenDisplay(nullptr));
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (opened && !XTestQueryExtension(opened.get(), &eventBase, &errorBase, &major, &minor))
            opened.reset();
        return opened;
    }();
    return connection.get();
}

KeySym keysymOf(QChar key)
{
    const char16_t c = key.toLower().unicode();
    if (c >= u'a' && c <= u'z') return XK_a + (c - u'a');
    if (c >= u'0' && c <= u'9') return XK_0 + (c - u'0');
    if (c == u' ') return XK_space;
    if (c == u'\b') return XK_BackSpace;
    if (c == u'\r') return XK_Return;
    return NoSymbol;
}

} // namespace

bool keystrokesAvailable()
{
    return display() != nullptr;
}

bool sendKeystroke(QChar key)
{
    Display* x = display();
    const KeySym symbol = keysymOf(key);
    if (!x || symbol == NoSymbol) return false;
    const KeyCode code = XKeysymToKeycode(x, symbol);
    if (code == 0) return false;
    XTestFakeKeyEvent(x, code, True, CurrentTime);
    XTestFakeKeyEvent(x, code, False, CurrentTime);
    XFlush(x);
    return true;
}

} // namespace platform

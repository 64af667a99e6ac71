#include "platform/kioskwindow.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <initializer_list>

#include "platform/seam.h"

#include <xcb/xproto.h>
// X11 last: its macros (None, Bool, Status, KeyPress) clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

// Requests that name their sender say they come from an ordinary application.
constexpr long kFromApplication = 1;
constexpr long kAllDesktops = 0xFFFFFFFF;
constexpr long kRemoveState = 0;
constexpr long kAddState = 1;

// The program's own connection to the X server; null on another platform.
Display* programDisplay()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// A request about `window` to the window manager, sent as its standard client message.
void askWindowManager(Display* display, WindowId window, const char* message,
                      std::initializer_list<long> data)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, message, False);
    event.xclient.format = 32;
    int i = 0;
    for (const long item : data)
        event.xclient.data.l[i++] = item;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

// Sets or clears one of the window manager's states of `window`.
void changeState(Display* display, WindowId window, bool on, const char* state)
{
    askWindowManager(
        display, window, "_NET_WM_STATE",
        {on ? kAddState : kRemoveState, long(XInternAtom(display, state, False)), 0, kFromApplication});
    XFlush(display);
}

// The desktop on show now; 0 when the window manager keeps no desktops.
long currentDesktop(Display* display)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, "_NET_CURRENT_DESKTOP", False);
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_CARDINAL, &type,
                           &format, &items, &remaining, &data) != Success)
        return 0;
    // Format-32 items come back as longs.
    const long desktop = type == XA_CARDINAL && items == 1 ? *reinterpret_cast<const long*>(data) : 0;
    XFree(data);
    return desktop;
}

// True for the focus event the X server sends to the focused window when a keyboard grab ends.
bool endsGrab(const QByteArray& eventType, void* message)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    return (event->response_type & ~0x80) == XCB_FOCUS_IN &&
           static_cast<const xcb_focus_in_event_t*>(message)->mode == XCB_NOTIFY_MODE_UNGRAB;
}

// True when `window` was unmapped (minimised, say) or mapped again: the X server ends a grab
// whose window stops being viewable.
bool mapChanges(const QByteArray& eventType, void* message, WindowId window)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & ~0x80;
    if (type == XCB_UNMAP_NOTIFY)
        return static_cast<const xcb_unmap_notify_event_t*>(message)->window == window;
    if (type == XCB_MAP_NOTIFY) return static_cast<const xcb_map_notify_event_t*>(message)->window == window;
    return false;
}

class X11KioskWindow final : public KioskWindow, private QAbstractNativeEventFilter
{
public:
    void showOnEveryDesktop(WindowId window, bool on) override
    {
        Display* display = programDisplay();
        if (!display) return;
        askWindowManager(display, window, "_NET_WM_DESKTOP",
                         {on ? kAllDesktops : currentDesktop(display), kFromApplication});
        changeState(display, window, on, "_NET_WM_STATE_STICKY");
    }

    void keepAbove(WindowId window, bool on) override
    {
        Display* display = programDisplay();
        if (!display) return;
        changeState(display, window, on, "_NET_WM_STATE_ABOVE");
    }

    void holdKeyboard(WindowId window) override
    {
        if (!programDisplay()) return;
        held_ = window;
        // Popup menus grab the keyboard themselves and let go of it when they close.
        qGuiApp->installNativeEventFilter(this);
        grab();
    }

    void releaseKeyboard() override
    {
        if (held_ == 0) return;
        held_ = 0;
        qGuiApp->removeNativeEventFilter(this);
        XUngrabKeyboard(programDisplay(), CurrentTime);
        XFlush(programDisplay());
    }

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (held_ != 0 && (endsGrab(eventType, message) || mapChanges(eventType, message, held_))) grab();
        return false;
    }

    // Owner events: keys for the program's own windows go to them as usual. A refusal (the window
    // manager holds the keyboard for a moment) is made good when its grab ends. While the window
    // is not on show (minimised until it comes back), the grab is held on the root window.
    void grab()
    {
        Display* display = programDisplay();
        if (XGrabKeyboard(display, held_, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabNotViewable)
            XGrabKeyboard(display, DefaultRootWindow(display), True, GrabModeAsync, GrabModeAsync,
                          CurrentTime);
    }

    WindowId held_ = 0;
};

using KioskWindowSeam = Seam<KioskWindow, X11KioskWindow>;

} // namespace

KioskWindow& kioskWindow()
{
    return KioskWindowSeam::get();
}

void setKioskWindow(KioskWindow* replacement)
{
    KioskWindowSeam::set(replacement);
}

} // namespace platform

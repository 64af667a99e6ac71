#include "platform/toplevelwindows.h"

#include <QFile>
#include <QFileInfo>
#include <memory>

#include "platform/seam.h"

// X11 last: its macros (None, Bool, Status, KeyPress) clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreer
{
    void operator()(unsigned char* data) const { XFree(data); }
};
using XData = std::unique_ptr<unsigned char, XFreer>;

// One property of `window` as the server holds it: its items and their count.
struct Property
{
    XData data;
    unsigned long items = 0;
};

Property readProperty(Display* display, Window window, const char* name, Atom type)
{
    Property result;
    Atom actualType = 0;
    int format = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, property, 0, 1 << 16, False, type, &actualType, &format,
                           &result.items, &remaining, &data) != Success)
        return {};
    result.data.reset(data);
    if (actualType != type) result.items = 0;
    return result;
}

QVector<WindowId> clientList(Display* display)
{
    const Property clients = readProperty(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW);
    // Format-32 properties come back as an array of longs, whatever the item size on the wire.
    const auto* windows = reinterpret_cast<const unsigned long*>(clients.data.get());
    QVector<WindowId> result;
    for (unsigned long i = 0; i < clients.items; ++i)
        result.append(windows[i]);
    return result;
}

// The window manager's properties, on a connection opened for each question: the jukebox asks
// only when its operator hands the screen over, and a short-lived connection cannot go stale.
class X11TopLevelWindows final : public TopLevelWindows
{
public:
    QVector<WindowId> list() override
    {
        const DisplayPtr display(XOpenDisplay(nullptr));
        return display ? clientList(display.get()) : QVector<WindowId>{};
    }

    QString title(WindowId window) override
    {
        const DisplayPtr display(XOpenDisplay(nullptr));
        if (!display || !clientList(display.get()).contains(window)) return {};
        const Atom utf8 = XInternAtom(display.get(), "UTF8_STRING", False);
        Property name = readProperty(display.get(), window, "_NET_WM_NAME", utf8);
        if (name.items > 0)
            return QString::fromUtf8(reinterpret_cast<const char*>(name.data.get()), qsizetype(name.items));
        name = readProperty(display.get(), window, "WM_NAME", XA_STRING);
        return QString::fromLatin1(reinterpret_cast<const char*>(name.data.get()), qsizetype(name.items));
    }

    bool exists(WindowId window) override { return list().contains(window); }

    void restore(WindowId window) override
    {
        const DisplayPtr display(XOpenDisplay(nullptr));
        if (!display) return;
        // A pager's activation request: the window manager de-iconifies, raises and focuses it.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display.get(), "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display.get(), DefaultRootWindow(display.get()), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XMapRaised(display.get(), window);
        XFlush(display.get());
    }
};

// The folder of the program file that process `pid` runs; empty when it is not readable.
QString programFolderOf(unsigned long pid)
{
    const QFileInfo program(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)));
    return program.filePath().isEmpty() ? QString() : program.absolutePath();
}

using TopLevelWindowsSeam = Seam<TopLevelWindows, X11TopLevelWindows>;

} // namespace

WindowId windowOfProgramIn(const QString& folder)
{
    const DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return 0;
    for (const WindowId window : clientList(display.get())) {
        const Property pid = readProperty(display.get(), Window(window), "_NET_WM_PID", XA_CARDINAL);
        if (pid.items == 1 &&
            programFolderOf(*reinterpret_cast<const unsigned long*>(pid.data.get())) == folder)
            return window;
    }
    return 0;
}

TopLevelWindows& topLevelWindows()
{
    return TopLevelWindowsSeam::get();
}

void setTopLevelWindows(TopLevelWindows* replacement)
{
    TopLevelWindowsSeam::set(replacement);
}

} // namespace platform

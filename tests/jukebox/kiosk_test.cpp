// The operator lock under a real window manager (openbox on a private Xvfb display): the
// requests a guest can make through it must leave the jukebox full-screen.

#include <QAbstractNativeEventFilter>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "jukebox/entrypause.h"
#include "jukeboxfixture.h"
#include "platform/keystrokes.h"
#include "platform/toplevelwindows.h"
#include "printers.h"
#include "player/volumedisplay.h"

#include <xcb/xproto.h>
// X11 last: its macros (None, Bool, Status) clash with Qt's names.
#include <X11/Xlib.h>

namespace {

// Counts the close requests, minimised states and losses of the focus of the jukebox window.
class RequestCounter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) ++closes;
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && window->isMinimized()) ++minimised;
        if (event->type() == QEvent::ActivationChange && !window->isActiveWindow()) ++deactivated;
        return false;
    }
    int closes = 0;
    int minimised = 0;
    int deactivated = 0;
};

// Runs an X tool (xdotool, wmctrl) against the display the test runs on; what it printed.
QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    EXPECT_TRUE(tool.waitForFinished(10000)) << program.toStdString();
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    return QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
}

class KioskLock : public JukeboxTest
{
protected:
    jukebox::Tjukebox& showLockedJukebox()
    {
        screens.bounds = QGuiApplication::primaryScreen()->geometry();
        addAlbums(2);
        writeSettings(QStringLiteral("lock=1\npassword=123\n"));
        jukebox::Tjukebox& window = start();
        frontEnd->gojukebox(true);
        window.installEventFilter(&counter);
        return window;
    }

    bool fullScreenOnItsMonitor(const jukebox::Tjukebox& window) const
    {
        return window.isVisible() && !window.isMinimized() && window.isFullScreen() &&
               window.geometry() == screens.bounds && !form->isVisible();
    }

    RequestCounter counter;
};

// True when another program could take the keyboard now (the probe lets go of it at once).
bool keyboardFree(Display* probe)
{
    const bool free = XGrabKeyboard(probe, DefaultRootWindow(probe), False, GrabModeAsync, GrabModeAsync,
                                    CurrentTime) == GrabSuccess;
    if (free) XUngrabKeyboard(probe, CurrentTime);
    XSync(probe, False);
    return free;
}

// Probes the keyboard from another connection at each X event the program handles while `window`
// is off the screen (from its unmap to its map again), once the program's own handling of the
// event is done: installed before the program's filter, it runs after it.
class OffScreenProbe final : public QAbstractNativeEventFilter
{
public:
    OffScreenProbe() : probe_(XOpenDisplay(nullptr)) { qGuiApp->installNativeEventFilter(this); }
    ~OffScreenProbe() override
    {
        qGuiApp->removeNativeEventFilter(this);
        if (probe_) XCloseDisplay(probe_);
    }
    OffScreenProbe(const OffScreenProbe&) = delete;
    OffScreenProbe& operator=(const OffScreenProbe&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t" || !probe_) return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t type = event->response_type & ~0x80;
        if (type == XCB_UNMAP_NOTIFY &&
            static_cast<const xcb_unmap_notify_event_t*>(message)->window == window)
            offScreen_ = true;
        if (type == XCB_MAP_NOTIFY && static_cast<const xcb_map_notify_event_t*>(message)->window == window)
            offScreen_ = false;
        if (offScreen_) {
            ++probes;
            foundFree += keyboardFree(probe_) ? 1 : 0;
        }
        return false;
    }

    WId window = 0;
    int probes = 0;
    int foundFree = 0;

private:
    Display* probe_;
    bool offScreen_ = false;
};

// A minimise request takes the window off the screen, which ends its keyboard grab: the locked
// jukebox holds the keyboard again at once, not only once it is back. Probed after each event the
// program handles while the window is off the screen, the keyboard is never found free.
TEST_F(KioskLock, RequestsFromOutsideLeaveTheLockedJukeboxFullScreenWithTheFocus)
{
    OffScreenProbe probe;
    jukebox::Tjukebox& window = showLockedJukebox();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fullScreenOnItsMonitor(window); }));
    const QString id = QString::number(window.winId());

    // A close message through the window manager, twice.
    for (int n = 1; n <= 2; ++n) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), id});
        ASSERT_TRUE(QTest::qWaitFor([&] { return counter.closes == n; })) << "close number " << n;
        EXPECT_TRUE(fullScreenOnItsMonitor(window));
    }

    probe.window = window.winId();
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), id});
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.minimised == 1; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fullScreenOnItsMonitor(window) && window.isActiveWindow(); }));
    EXPECT_GT(probe.probes, 0) << "the window never went off the screen";
    EXPECT_EQ(probe.foundFree, 0);
    probe.window = 0;

    // Sent to the next desktop by Alt+Shift+wheel and fetched back by Alt+wheel, unmapped, or hidden
    // by a show-desktop request, it comes back with the focus.
    for (const QString& request :
         {QStringLiteral("xdotool mousemove 500 400 keydown alt+shift click 5 keyup alt+shift"),
          QStringLiteral("xdotool keydown alt click 4 keyup alt"),
          QStringLiteral("xdotool windowunmap ") + id, QStringLiteral("wmctrl -k on")}) {
        const int lost = counter.deactivated;
        runTool(request.section(u' ', 0, 0), request.section(u' ', 1).split(u' '));
        (void)QTest::qWaitFor([&] { return counter.deactivated > lost; }, 1000);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); })) << request.toStdString();
    }
}

// The window manager's keys for switching desktops, cycling windows, its menus, showing the desktop
// and closing do nothing to the locked jukebox: the guest's next digit, typed as the on-screen
// keyboard types it, still lands there, and the program's other windows still get their keys. A
// desktop switched by another program shows the jukebox too. Unlocked, the keys work again.
TEST_F(KioskLock, NoKeyTakesTheGuestAwayFromTheJukebox)
{
    jukebox::Tjukebox& window = showLockedJukebox();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QString id = QStringLiteral("0x%1").arg(window.winId(), 0, 16);
    const auto activeWindow = [] {
        return runTool(QStringLiteral("xprop"),
                       {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")})
            .section(u'#', 1)
            .trimmed();
    };
    const auto xdotool = [](const QStringList& toolArguments) {
        return runTool(QStringLiteral("xdotool"), toolArguments);
    };
    const auto desktop = [&] { return xdotool({QStringLiteral("get_desktop")}); };
    // Each step of the number entry ends at once, so the next key finds the keypad open.
    jukebox::setentrypause([](int) {});
    const auto digitLands = [&](QChar digit) {
        platform::sendKeystroke(digit);
        const bool landed = QTest::qWaitFor([&] { return window.lcdtext1->text().contains(digit); });
        platform::sendKeystroke(u'\b');
        return landed && QTest::qWaitFor([&] { return window.lcdtext1->text().trimmed().isEmpty(); });
    };
    for (const char* keys :
         {"ctrl+alt+Right", "ctrl+alt+Left", "alt+Tab", "alt+space", "super+d", "alt+F4"}) {
        xdotool({QStringLiteral("key"), QString::fromLatin1(keys)});
        EXPECT_TRUE(digitLands(u'1')) << keys;
        EXPECT_EQ(desktop(), QStringLiteral("0")) << keys;
        EXPECT_EQ(activeWindow(), id) << keys;
    }
    // A dialog of the program shows over the jukebox and takes the keys typed into it.
    QDialog dialog;
    const QLineEdit* edit = new QLineEdit(&dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    xdotool({QStringLiteral("type"), QStringLiteral("ab")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == QStringLiteral("ab"); }));
    const auto onTop = [&] {
        return runTool(QStringLiteral("xprop"),
                       {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")})
            .endsWith(QString::number(dialog.winId(), 16));
    };
    EXPECT_TRUE(QTest::qWaitFor(onTop));
    dialog.close();
    // Active again before the menu: a late activation would take back the keyboard the menu let go.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // A popup menu (a text field's own) takes the keyboard while it shows, and gives it back.
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    menu.popup(window.geometry().center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isHidden(); }));
    EXPECT_TRUE(digitLands(u'1'));
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+Right")});
    EXPECT_TRUE(digitLands(u'1'));
    EXPECT_EQ(desktop(), QStringLiteral("0")) << "after the menu";

    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-s"), QStringLiteral("1")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return desktop() == QStringLiteral("1"); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindow() == id; }));
    EXPECT_TRUE(digitLands(u'2'));

    for (const int digit : {0, 0, 0, 0, 1, 2, 3})
        window.dolcd(digit, 0);
    ASSERT_FALSE(library::config.lock);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+Right")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop() == QStringLiteral("2"); }));
}

// The volume bar shows over the locked full-screen jukebox, where the guest presses the volume keys.
TEST_F(KioskLock, TheVolumeBarShowsOverTheJukebox)
{
    jukebox::Tjukebox& window = showLockedJukebox();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    player::Tvolumedisplay display;
    const QPoint bar = display.pos() + QPoint(2, display.height() / 2);
    display.draw(75);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(bar) ==
                   QColor(0, 255, 0);
        },
        5000));
}

// A launcher from an older toolkit names its window only in WM_NAME, its _NET_WM_NAME empty.
TEST(TopLevelWindows, ATitleWithoutItsNewNameIsReadFromTheOldOne)
{
    QWidget launcher;
    launcher.setWindowTitle(QStringLiteral("New Launcher"));
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    const QString id = QString::number(launcher.winId());
    runTool(QStringLiteral("xprop"),
            {QStringLiteral("-id"), id, QStringLiteral("-f"), QStringLiteral("_NET_WM_NAME"),
             QStringLiteral("8u"), QStringLiteral("-set"), QStringLiteral("_NET_WM_NAME"), QString()});
    runTool(QStringLiteral("xprop"),
            {QStringLiteral("-id"), id, QStringLiteral("-f"), QStringLiteral("WM_NAME"), QStringLiteral("8s"),
             QStringLiteral("-set"), QStringLiteral("WM_NAME"), QStringLiteral("Old Launcher")});
    platform::TopLevelWindows& windows = platform::topLevelWindows();
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.list().contains(launcher.winId()); }));
    EXPECT_EQ(windows.title(launcher.winId()), QStringLiteral("Old Launcher"));
}

} // namespace

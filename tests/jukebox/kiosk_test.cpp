// The operator lock under a real window manager (openbox on a private Xvfb display): the
// requests a guest can make through it must leave the jukebox full-screen.

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "jukeboxfixture.h"
#include "printers.h"
#include "platform/toplevelwindows.h"
#include "player/volumedisplay.h"

namespace {

// Counts the close requests and minimised states that reach the jukebox window.
class RequestCounter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) ++closes;
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && window->isMinimized()) ++minimised;
        return false;
    }
    int closes = 0;
    int minimised = 0;
};

// Runs an X tool (xdotool, wmctrl) against the display the test runs on.
void runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    ASSERT_TRUE(tool.waitForFinished(10000)) << program.toStdString();
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

class KioskLock : public JukeboxTest
{
protected:
    jukebox::Tjukebox& showLockedJukebox()
    {
        screens.bounds = QGuiApplication::primaryScreen()->geometry();
        addAlbums(2);
        writeSettings(QStringLiteral("lock=1\n"));
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

TEST_F(KioskLock, CloseAndMinimiseRequestsLeaveTheLockedJukeboxFullScreen)
{
    jukebox::Tjukebox& window = showLockedJukebox();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fullScreenOnItsMonitor(window); }));
    const QString id = QString::number(window.winId());

    // Alt+F4 twice from the keyboard, then a close message through the window manager.
    for (int n = 1; n <= 2; ++n) {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+F4")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return counter.closes == n; })) << "Alt+F4 number " << n;
        EXPECT_TRUE(fullScreenOnItsMonitor(window));
    }
    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), id});
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.closes == 3; }));
    EXPECT_TRUE(fullScreenOnItsMonitor(window));

    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), id});
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.minimised == 1; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fullScreenOnItsMonitor(window) && window.isActiveWindow(); }));
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

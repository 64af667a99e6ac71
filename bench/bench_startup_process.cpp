// Start-up as a guest waits for it: from the exec of the real program to its full-screen window
// being mapped on an X server (Xvfb, started here on a free display), with 10 and with 10,000
// albums, 10 runs each, median. Beside it, alternated run by run with it: a minimal Qt program that
// maps one full-screen window, plus the floor of reading the same library (its folder read, every
// album folder and titles file stat'ed). Then the memory the program holds after 10 s idle (VmHWM,
// VmRSS) at 1024 x 768 and 1920 x 1080, beside the minimal program's.
// The machine has no sound device, so the player's audio falls through to the null output.
// Goals: start-up within 5x (10 albums) and 2.7x (10,000) the minimal program plus the floor; peak
// memory under 118 MB at 1024 x 768 and under 160 MB at 1920 x 1080.
// The work is checked after the timed runs: over each library the jukebox's screen comes to show
// its albums, far from the screen of the same jukebox over no album at all.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <poll.h>
#include <xcb/xcb.h>

#include "benchlibrary.h"
#include "goal.h"
#include "median.h"

namespace {

constexpr int kRuns = 10;
constexpr int kSmallLibrary = 10;
constexpr int kLargeLibrary = 10'000;
constexpr int kIdleMs = 10'000;
constexpr int kMapTimeoutMs = 30'000;
// Looks at a started program's screen: how often, and for how long at most.
constexpr int kLookMs = 300;
constexpr int kLookBoundMs = 15'000;
constexpr int kFirstDisplay = 90;
constexpr int kLastDisplay = 400;
constexpr int kSizes[] = {kSmallLibrary, kLargeLibrary};
// The jukebox starts within this many times a minimal Qt program plus reading its library's
// folders, by library size: the former budgets of 150 ms and 240 ms over a minimal program of
// 30 ms and, for 10,000 albums, a floor of 60 ms.
constexpr double kGoalStartRatio[] = {5.0, 2.7};

struct Screen
{
    int width;
    int height;
    double goalMb;
};
constexpr Screen kScreens[] = {{1024, 768, 118}, {1920, 1080, 160}};

// An Xvfb of the given size on the first display number that is free; stopped when destroyed.
class XServer
{
public:
    XServer(int width, int height)
    {
        for (int number = kFirstDisplay; number <= kLastDisplay && !connection_; ++number) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) continue;
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) continue;
            tryDisplay(number, width, height);
        }
    }
    ~XServer()
    {
        if (connection_) xcb_disconnect(connection_);
        server_.terminate();
        if (!server_.waitForFinished(5000)) server_.kill();
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool running() const { return connection_ != nullptr; }
    QString display() const { return display_; }
    xcb_connection_t* connection() const { return connection_; }
    xcb_screen_t* screen() const { return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data; }

private:
    void tryDisplay(int number, int width, int height)
    {
        display_ = QStringLiteral(":%1").arg(number);
        server_.setProgram(QStringLiteral("Xvfb"));
        server_.setArguments({display_, QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("%1x%2x24").arg(width).arg(height), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp"), QStringLiteral("-noreset")});
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.setStandardErrorFile(QProcess::nullDevice());
        server_.start();
        if (!server_.waitForStarted()) return;
        QElapsedTimer waited;
        waited.start();
        while (server_.state() == QProcess::Running && waited.elapsed() < 5000) {
            xcb_connection_t* connection = xcb_connect(display_.toLocal8Bit().constData(), nullptr);
            if (!xcb_connection_has_error(connection)) {
                connection_ = connection;
                return;
            }
            xcb_disconnect(connection);
            QThread::msleep(10);
        }
        server_.kill();
        server_.waitForFinished();
    }

    QProcess server_;
    QString display_;
    xcb_connection_t* connection_ = nullptr;
};

// Watches the X server's top-level windows for one that is mapped at the size of the whole screen.
class MapWatcher
{
public:
    explicit MapWatcher(const XServer& server) : connection_(server.connection()), screen_(server.screen())
    {
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, screen_->root, XCB_CW_EVENT_MASK, &mask);
        // A round trip, then whatever earlier programs left queued is dropped.
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
            free(event);
    }

    // Waits until a top-level window stands mapped over the whole screen; false after the timeout.
    bool waitForFullScreenWindow(int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        mapped_.clear();
        while (waited.elapsed() < timeoutMs) {
            pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
            if (!xcb_poll_for_queued_event(connection_))
                (void)poll(&descriptor, 1, int(std::max<qint64>(1, timeoutMs - waited.elapsed())));
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool done = handle(event);
                free(event);
                if (done) return true;
            }
        }
        return false;
    }

private:
    bool handle(const xcb_generic_event_t* event)
    {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            mapped_.push_back(map->window);
            return coversScreen(map->window);
        }
        if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            return std::find(mapped_.begin(), mapped_.end(), configure->window) != mapped_.end() &&
                   configure->width >= screen_->width_in_pixels &&
                   configure->height >= screen_->height_in_pixels;
        }
        return false;
    }

    bool coversScreen(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        const bool whole = geometry && geometry->width >= screen_->width_in_pixels &&
                           geometry->height >= screen_->height_in_pixels;
        free(geometry);
        return whole;
    }

    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
    std::vector<xcb_window_t> mapped_;
};

// A program started on the X server; ended when destroyed.
class Started
{
public:
    Started(const QString& program, const QString& display)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process_.setProcessEnvironment(environment);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.setWorkingDirectory(QFileInfo(program).path());
        process_.start(program, {});
    }
    ~Started()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
};

// `program` started, with the milliseconds from its exec to its full-screen window being mapped
// (nothing when no such window came).
std::pair<std::unique_ptr<Started>, std::optional<double>> startUntilWindow(const QString& program,
                                                                            const XServer& server)
{
    MapWatcher watcher(server);
    QElapsedTimer clock;
    clock.start();
    auto started = std::make_unique<Started>(program, server.display());
    if (!watcher.waitForFullScreenWindow(kMapTimeoutMs)) return {std::move(started), std::nullopt};
    return {std::move(started), double(clock.nsecsElapsed()) / 1e6};
}

std::optional<double> startToWindow(const QString& program, const XServer& server)
{
    return startUntilWindow(program, server).second;
}

// The whole screen as the X server holds it, 32 bits a pixel; empty when it cannot be read.
std::vector<uint32_t> screenPixels(const XServer& server)
{
    const xcb_screen_t* screen = server.screen();
    xcb_get_image_reply_t* image =
        xcb_get_image_reply(server.connection(),
                            xcb_get_image(server.connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                                          screen->width_in_pixels, screen->height_in_pixels, ~0u),
                            nullptr);
    if (!image) return {};
    std::vector<uint32_t> pixels(size_t(xcb_get_image_data_length(image)) / sizeof(uint32_t));
    std::memcpy(pixels.data(), xcb_get_image_data(image), pixels.size() * sizeof(uint32_t));
    free(image);
    return pixels;
}

// The share of the pixels of two screens that differ clearly (by more than text drawn twice or a
// scrolling message line makes them) in any colour; 1 when they cannot be set side by side.
double changedShare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    constexpr int kClear = 24;
    if (a.size() != b.size() || a.empty()) return 1;
    size_t changed = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(int((a[i] >> shift) & 0xff) - int((b[i] >> shift) & 0xff)) > kClear) {
                ++changed;
                break;
            }
        }
    }
    return double(changed) / double(a.size());
}

// Whether a screen shows a window drawn: no one colour covers nine tenths of it, as it does before
// the window's first paint. Every sixteenth pixel is looked at.
bool drawn(const std::vector<uint32_t>& pixels)
{
    constexpr size_t kEvery = 16;
    std::vector<uint32_t> sample;
    for (size_t i = 0; i < pixels.size(); i += kEvery)
        sample.push_back(pixels[i] & 0xffffff);
    std::sort(sample.begin(), sample.end());
    size_t longest = 0;
    for (size_t i = 0, run = 0; i < sample.size(); ++i) {
        run = i > 0 && sample[i] == sample[i - 1] ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return !sample.empty() && longest < sample.size() * 9 / 10;
}

// The screen of `program` once it has drawn itself: its window mapped, drawn and still for
// kStillLooks looks in a row. Empty when no window came or it never settled within kLookBoundMs.
std::vector<uint32_t> settledScreen(const QString& program, const XServer& server)
{
    constexpr double kStill = 0.01;
    constexpr int kStillLooks = 5;
    const auto started = startUntilWindow(program, server);
    if (!started.second) return {};
    std::vector<uint32_t> last;
    int still = 0;
    QElapsedTimer waited;
    waited.start();
    while (!waited.hasExpired(kLookBoundMs)) {
        QThread::msleep(kLookMs);
        std::vector<uint32_t> now = screenPixels(server);
        still = drawn(now) && changedShare(last, now) < kStill ? still + 1 : 0;
        if (still == kStillLooks) return now;
        last = std::move(now);
    }
    return {};
}

// Whether `program`, started, comes to show a screen far from `empty` (its screen over no album):
// album pictures, names and titles where the empty pages stay black. A tenth of the screen or more
// changes with them; the message line alone changes a thousandth.
bool showsAlbums(const QString& program, const XServer& server, const std::vector<uint32_t>& empty)
{
    constexpr double kAlbumsShown = 0.05;
    const std::vector<uint32_t> shown = settledScreen(program, server);
    return !shown.empty() && changedShare(shown, empty) > kAlbumsShown;
}

// The floor of reading the library at `root`: its folder read and every entry in it stat'ed, as is
// the titles file of every album folder; -1 when it does not hold `albums` albums.
double floorScanMs(const QString& root, int albums)
{
    namespace fs = std::filesystem;
    QElapsedTimer clock;
    clock.start();
    std::error_code failed;
    int found = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(root.toStdString(), failed)) {
        if (fs::is_directory(fs::status(entry.path(), failed)) &&
            fs::is_regular_file(fs::status(entry.path() / "title.dat", failed)))
            ++found;
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return found == albums ? ms : -1;
}

// The runs of the minimal program, and for each library of the jukebox and of its floor.
struct StartRuns
{
    std::vector<double> minimal;
    std::vector<double> jukebox[2];
    std::vector<double> floor[2];
};

// The minimal program, then for each library its floor and the jukebox, run after run, so a change
// in the machine's load falls on all of them alike; a first round warms the page and font caches.
// False when a window was not mapped or a library not read.
bool runStarts(const XServer& server, const QString& minimal, const std::pair<QString, QString> programs[2],
               StartRuns& runs)
{
    for (int run = -1; run < kRuns; ++run) {
        const std::optional<double> bare = startToWindow(minimal, server);
        if (!bare) return false;
        if (run >= 0) runs.minimal.push_back(*bare);
        for (int i = 0; i < 2; ++i) {
            const double scan = floorScanMs(programs[i].second, kSizes[i]);
            const std::optional<double> start = startToWindow(programs[i].first, server);
            if (!start || scan < 0) return false;
            if (run < 0) continue;
            runs.floor[i].push_back(scan);
            runs.jukebox[i].push_back(*start);
        }
    }
    return true;
}

// VmHWM and VmRSS of a process, in MB.
std::pair<double, double> memoryOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    double peak = 0;
    double resident = 0;
    if (!status.open(QIODevice::ReadOnly)) return {peak, resident};
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2) continue;
        if (parts[0] == "VmHWM:") peak = parts[1].toDouble() / 1024;
        if (parts[0] == "VmRSS:") resident = parts[1].toDouble() / 1024;
    }
    return {peak, resident};
}

void reportStarts(const Screen& screen, const XServer& server, const QString& minimal,
                  const std::pair<QString, QString> programs[2])
{
    StartRuns runs;
    if (!bench::checkWork(runStarts(server, minimal, programs, runs),
                          "start-up: every program mapped its full-screen window over its library"))
        return;
    const double bare = median(runs.minimal);
    std::printf("start-up at %d x %d, exec to full-screen window mapped, median of %d alternated runs:\n",
                screen.width, screen.height, kRuns);
    std::printf("  minimal Qt program: %.0f ms\n", bare);
    for (int i = 0; i < 2; ++i) {
        const double start = median(runs.jukebox[i]);
        const double scan = median(runs.floor[i]);
        const double baseline = bare + scan;
        std::printf(
            "  %5d albums: jukebox %.0f ms; minimal Qt program %.0f ms + readdir and stat floor %.1f ms "
            "= %.0f ms\n",
            kSizes[i], start, bare, scan, baseline);
        const std::string what = "start-up, " + std::to_string(kSizes[i]) + " albums, vs minimal program" +
                                 " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
        bench::reportRatioGoal(what.c_str(), start, baseline, "ms", kGoalStartRatio[i]);
    }
}

// The work of the timed starts: each library's albums shown.
void checkAlbumsShown(const Screen& screen, const XServer& server, const QString& emptyLibrary,
                      const std::pair<QString, QString> programs[2])
{
    const std::string at = " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
    const std::vector<uint32_t> empty = settledScreen(emptyLibrary, server);
    if (!bench::checkWork(!empty.empty(), "start-up: the jukebox over no album drew its screen" + at)) return;
    for (int i = 0; i < 2; ++i)
        bench::checkWork(showsAlbums(programs[i].first, server, empty),
                         "start-up: the jukebox showed the albums of its library of " +
                             std::to_string(kSizes[i]) + at);
}

void reportIdleMemory(const Screen& screen, const XServer& server, const QString& minimal,
                      const QString& jukebox)
{
    const auto floor = startUntilWindow(minimal, server);
    const auto program = startUntilWindow(jukebox, server);
    if (!bench::checkWork(floor.second && program.second, "idle memory: both programs mapped their windows"))
        return;
    QThread::msleep(kIdleMs);
    const auto [peak, resident] = memoryOf(program.first->pid());
    const auto [floorPeak, floorResident] = memoryOf(floor.first->pid());
    std::printf("idle memory after %d s at %d x %d with %d albums: jukebox VmHWM %.0f MB, VmRSS %.0f MB; "
                "minimal Qt program VmHWM %.0f MB, VmRSS %.0f MB\n",
                kIdleMs / 1000, screen.width, screen.height, kLargeLibrary, peak, resident, floorPeak,
                floorResident);
    const std::string what = "peak memory, 10,000 albums, vs minimal program at " +
                             std::to_string(screen.width) + "x" + std::to_string(screen.height);
    bench::reportBudgetGoal(what.c_str(), peak, floorPeak, "MB", screen.goalMb);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString bin = QCoreApplication::applicationDirPath();
    const QString jukebox = bin + QStringLiteral("/musetra");
    const QString minimal = bin + QStringLiteral("/startup_minimal_window");
    if (!QFileInfo(jukebox).isExecutable() || !QFileInfo(minimal).isExecutable()) {
        std::printf("build the musetra and startup_minimal_window programs first\n");
        return 1;
    }
    QTemporaryDir small;
    QTemporaryDir large;
    QTemporaryDir none;
    const QString emptyLibrary = bench::installJukebox(none.path(), jukebox, 0);
    const std::pair<QString, QString> programs[2] = {
        {bench::installJukebox(small.path(), jukebox, kSmallLibrary),
         small.path() + QStringLiteral("/music")},
        {bench::installJukebox(large.path(), jukebox, kLargeLibrary),
         large.path() + QStringLiteral("/music")}};
    for (const Screen& screen : kScreens) {
        const XServer server(screen.width, screen.height);
        if (!server.running()) {
            std::printf("no X server could be started (Xvfb)\n");
            return 1;
        }
        reportStarts(screen, server, minimal, programs);
        checkAlbumsShown(screen, server, emptyLibrary, programs);
        reportIdleMemory(screen, server, minimal, programs[1].first);
    }
    return bench::exitStatus();
}

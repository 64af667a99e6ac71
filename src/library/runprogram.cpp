#include "library/runprogram.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

#include "library/ownmailslot.h"
#include "platform/process.h"

namespace library {

namespace {

constexpr int kCheckIntervalMs = 25;
const QString kConnected = QStringLiteral("connected");
const QString kExit = QStringLiteral("exit");

// Processes the application's events, checking `done` every kCheckIntervalMs and sleeping in
// between, until `done` answers true (the result is then true), the deadline passes or the
// application is asked to quit: quitting ends every running event loop, this one included,
// and the application's own loop ends too once the caller returns to it.
bool waitKeepingWindowsAlive(const std::function<bool()>& done, QDeadlineTimer deadline)
{
    if (done()) return true;
    QEventLoop loop;
    QTimer check;
    check.setInterval(kCheckIntervalMs);
    bool finished = false;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        finished = done();
        if (finished || deadline.hasExpired()) loop.quit();
    });
    check.start();
    loop.exec();
    return finished;
}

} // namespace

bool runprogram(const QString& commandline, int32_t, bool waitfor)
{
    const platform::ProgramId id = platform::processes().start(commandline);
    if (id == 0) return false;
    if (waitfor)
        waitKeepingWindowsAlive([id] { return !platform::processes().running(id); }, QDeadlineTimer::Forever);
    return true;
}

QString runAndWaitForReport(const QString& commandline, int timeoutMs)
{
    initmailslot();
    const platform::ProgramId id = platform::processes().start(commandline);
    if (id == 0) return kExit;
    QString report;
    // The program's report may be the last thing it does: read once more after it ended.
    auto reported = [&report, id] {
        const bool ended = !platform::processes().running(id);
        for (QString message = readmailslot(); !message.isEmpty(); message = readmailslot()) {
            if (message == kConnected || message == kExit) {
                report = message;
                return true;
            }
        }
        return ended;
    };
    waitKeepingWindowsAlive(reported, QDeadlineTimer(timeoutMs));
    return report.isEmpty() ? kExit : report;
}

} // namespace library

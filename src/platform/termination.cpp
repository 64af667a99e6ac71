#include "platform/termination.h"

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

// Every signal whose default would end the program on the spot, short of a crash: a service
// manager's stop, a terminal's Ctrl+C, Ctrl+\ or hang-up, the user signals, the timers' alarms,
// the CPU and file size limits, a power failure; the real-time signals follow.
constexpr int kStopSignals[] = {SIGTERM, SIGINT,    SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2,
                                SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGPWR};

// The signal handler may only write to a descriptor; the notifier reads it on the GUI thread.
int signalPipe[2] = {-1, -1};

void writeToPipe(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool openPipe()
{
    if (signalPipe[0] >= 0) return true;
    return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) == 0;
}

void catchSignal(int number)
{
    struct sigaction action
    {
    };
    action.sa_handler = writeToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(number, &action, nullptr);
}

void drainPipe()
{
    char buffer[16];
    while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
    }
}

} // namespace

void onTerminationRequest(QObject* context, std::function<void()> handler)
{
    if (!openPipe()) return;
    // One notifier per context: the old one goes with its handler.
    for (auto* old : context->findChildren<QSocketNotifier*>(QStringLiteral("terminationNotifier"),
                                                             Qt::FindDirectChildrenOnly))
        delete old;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    notifier->setObjectName(QStringLiteral("terminationNotifier"));
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
        drainPipe();
        handler();
    });
    for (const int number : kStopSignals)
        catchSignal(number);
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number)
        catchSignal(number);
    // A reader that went away (a closed pipe or socket) is an error of that write, not a stop.
    ::signal(SIGPIPE, SIG_IGN);
}

bool endWithParent()
{
    const pid_t parent = ::getppid();
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0) return false;
    // A parent that ended before the request was made sends nothing: the process has a new parent.
    return ::getppid() == parent;
}

} // namespace platform

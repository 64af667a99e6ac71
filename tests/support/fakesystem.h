#pragma once

// Fakes of the system seams: processes, network and power, each installed while it lives.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

#include "installedfake.h"
#include "platform/net.h"
#include "platform/power.h"
#include "platform/process.h"
#include "platform/toplevelwindows.h"

// Records every start; started programs run until the test ends them.
class FakeProcesses final : public InstalledFake<platform::Processes, &platform::setProcesses>
{
public:
    platform::ProgramId start(const QString& commandline) override;
    bool running(platform::ProgramId id) override;
    void end(platform::ProgramId id) { runningIds.remove(id); }

    QStringList started;
    bool startSucceeds = true;
    // Called with each started program's id.
    std::function<void(platform::ProgramId)> onStart;
    QSet<platform::ProgramId> runningIds;

private:
    platform::ProgramId nextId_ = 1000;
};

// Answers echo requests from a table of results by host; unknown hosts do not resolve.
// Connections succeed while `online`; each is recorded as "host:port", and whether one was asked
// on the window thread.
class FakeNetwork final : public InstalledFake<platform::Network, &platform::setNetwork>
{
public:
    int echo(const QString& host, int timeoutMs) override;
    bool connects(const QString& host, int port, int timeoutMs) override;

    QHash<QString, int> results;
    QStringList asked;
    int lastTimeoutMs = 0;
    bool online = true;
    QStringList connections; // written by the asking thread, read once it has ended
    bool askedOnWindowThread = false;
};

// Records power-off requests and answers with `accepts`.
class FakePower final : public InstalledFake<platform::Power, &platform::setPower>
{
public:
    bool powerOff() override;

    bool accepts = true;
    int requests = 0;
};

// Other programs' windows by title, in list order; restores are recorded.
class FakeTopLevelWindows final
    : public InstalledFake<platform::TopLevelWindows, &platform::setTopLevelWindows>
{
public:
    QVector<platform::WindowId> list() override;
    QString title(platform::WindowId window) override { return titles.value(int(window) - 1); }
    bool exists(platform::WindowId window) override
    {
        return window >= 1 && window <= platform::WindowId(titles.size());
    }
    void restore(platform::WindowId window) override { restored << titles.value(int(window) - 1); }

    // Window n has the id n + 1.
    QStringList titles;
    QStringList restored;
};

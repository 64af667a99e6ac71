#pragma once

// Fakes of the system seams: processes, network and power. Each installs itself on
// construction and restores the real seam on destruction.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/net.h"
#include "platform/power.h"
#include "platform/process.h"

// Records every start; started programs run until the test ends them.
class FakeProcesses final : public platform::Processes
{
public:
    FakeProcesses();
    ~FakeProcesses() override;
    FakeProcesses(const FakeProcesses&) = delete;
    FakeProcesses& operator=(const FakeProcesses&) = delete;

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
class FakeNetwork final : public platform::Network
{
public:
    FakeNetwork();
    ~FakeNetwork() override;
    FakeNetwork(const FakeNetwork&) = delete;
    FakeNetwork& operator=(const FakeNetwork&) = delete;

    int echo(const QString& host, int timeoutMs) override;

    QHash<QString, int> results;
    QStringList asked;
    int lastTimeoutMs = 0;
};

// Records power-off requests and answers with `accepts`.
class FakePower final : public platform::Power
{
public:
    FakePower();
    ~FakePower() override;
    FakePower(const FakePower&) = delete;
    FakePower& operator=(const FakePower&) = delete;

    bool powerOff() override;

    bool accepts = true;
    int requests = 0;
};

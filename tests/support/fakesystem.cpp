#include "fakesystem.h"

FakeProcesses::FakeProcesses()
{
    platform::setProcesses(this);
}

FakeProcesses::~FakeProcesses()
{
    platform::setProcesses(nullptr);
}

platform::ProgramId FakeProcesses::start(const QString& commandline)
{
    started.append(commandline);
    if (!startSucceeds) return 0;
    const platform::ProgramId id = ++nextId_;
    runningIds.insert(id);
    if (onStart) onStart(id);
    return id;
}

bool FakeProcesses::running(platform::ProgramId id)
{
    return runningIds.contains(id);
}

FakeNetwork::FakeNetwork()
{
    platform::setNetwork(this);
}

FakeNetwork::~FakeNetwork()
{
    platform::setNetwork(nullptr);
}

int FakeNetwork::echo(const QString& host, int timeoutMs)
{
    asked.append(host);
    lastTimeoutMs = timeoutMs;
    return results.value(host, kUnresolved);
}

FakePower::FakePower()
{
    platform::setPower(this);
}

FakePower::~FakePower()
{
    platform::setPower(nullptr);
}

bool FakePower::powerOff()
{
    ++requests;
    return accepts;
}

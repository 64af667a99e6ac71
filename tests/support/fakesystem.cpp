#include "fakesystem.h"

#include <QCoreApplication>
#include <QThread>

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

int FakeNetwork::echo(const QString& host, int timeoutMs)
{
    asked.append(host);
    lastTimeoutMs = timeoutMs;
    return results.value(host, kUnresolved);
}

bool FakeNetwork::connects(const QString& host, int port, int)
{
    connections.append(host + QLatin1Char(':') + QString::number(port));
    askedOnWindowThread = askedOnWindowThread || QThread::currentThread() == qApp->thread();
    return online;
}

bool FakePower::powerOff()
{
    ++requests;
    return accepts;
}

QVector<platform::WindowId> FakeTopLevelWindows::list()
{
    QVector<platform::WindowId> ids;
    for (int n = 1; n <= titles.size(); ++n)
        ids << platform::WindowId(n);
    return ids;
}

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include "fakesystem.h"
#include "library/ownmailslot.h"
#include "library/runprogram.h"
#include "platform/mailslot.h"
#include "printers.h"
#include "tempfolder.h"

TEST(Runprogram, WaitsForTheProgramWhileTheWindowsStayAlive)
{
    TempFolder folder;
    const QString done = folder.file(QStringLiteral("done"));
    bool eventsRan = false;
    QObject context;
    QTimer::singleShot(0, &context, [&] { eventsRan = true; });
    ASSERT_TRUE(library::runprogram(QStringLiteral("sh -c \"sleep 0.3; touch '%1'\"").arg(done), 0, true));
    EXPECT_TRUE(QFileInfo::exists(done)); // returned only after the program ended
    EXPECT_TRUE(eventsRan);
}

TEST(Runprogram, WithoutWaitingReturnsAtOnce)
{
    FakeProcesses processes;
    EXPECT_TRUE(library::runprogram(QStringLiteral("rasdialr.exe"), 1, false));
    EXPECT_EQ(processes.started, QStringList{QStringLiteral("rasdialr.exe")});
    EXPECT_EQ(processes.runningIds.size(), 1);
}

TEST(Runprogram, AProgramThatCannotStartIsFalse)
{
    EXPECT_FALSE(library::runprogram(QStringLiteral("no-such-program-anywhere.exe"), 0, true));
    EXPECT_FALSE(library::runprogram(QString(), 0, false));
}

TEST(Runprogram, QuittingEndsTheWaitAndTheApplicationLoop)
{
    FakeProcesses processes; // its programs run until ended
    bool started = false;
    bool endedWhileRunning = false;
    // Timers die with `context`, so none fires into a later test.
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        started = library::runprogram(QStringLiteral("networksettings.exe /tmp/"), 0, true);
        endedWhileRunning = !processes.runningIds.isEmpty();
    });
    QTimer::singleShot(100, &context, [] { QCoreApplication::quit(); });
    // A safety net so that a wait that ignores the quit fails instead of hanging.
    QTimer::singleShot(10000, &context, [&] { processes.runningIds.clear(); });
    QCoreApplication::exec();
    EXPECT_TRUE(started);
    EXPECT_TRUE(endedWhileRunning) << "the wait ended on the quit, not on the program's end";
}

class ReportWait : public ::testing::Test
{
protected:
    void TearDown() override { library::mshand.close(); }

    // Makes the started program send `message` to the own mailslot once the wait runs.
    void reportOnStart(const QByteArray& message)
    {
        processes.onStart = [this, message](platform::ProgramId) {
            QTimer::singleShot(50, &context, [message] {
                ASSERT_TRUE(platform::writeMailslot(library::kOwnMailslotName, message));
            });
        };
    }

    FakeProcesses processes;
    // Owns the test's timers, so none fires into a later test.
    QObject context;
};

TEST_F(ReportWait, ConnectedEndsTheWait)
{
    reportOnStart(QByteArray("connected\0", 10));
    EXPECT_EQ(library::runAndWaitForReport(QStringLiteral("rasdialr.exe")), QStringLiteral("connected"));
    EXPECT_TRUE(library::mshand.isOpen());
}

TEST_F(ReportWait, OtherMessagesAreSkipped)
{
    processes.onStart = [this](platform::ProgramId) {
        QTimer::singleShot(20, &context,
                           [] { (void)platform::writeMailslot(library::kOwnMailslotName, "dialling"); });
        QTimer::singleShot(80, &context,
                           [] { (void)platform::writeMailslot(library::kOwnMailslotName, "exit"); });
    };
    EXPECT_EQ(library::runAndWaitForReport(QStringLiteral("rasdialr.exe")), QStringLiteral("exit"));
}

TEST_F(ReportWait, AReportSentJustBeforeTheProgramEndedCounts)
{
    processes.onStart = [this](platform::ProgramId id) {
        QTimer::singleShot(50, &context, [this, id] {
            (void)platform::writeMailslot(library::kOwnMailslotName, "connected");
            processes.end(id);
        });
    };
    EXPECT_EQ(library::runAndWaitForReport(QStringLiteral("rasdialr.exe")), QStringLiteral("connected"));
}

TEST_F(ReportWait, EndsAsExitWhenNoReportCanCome)
{
    // The program cannot start.
    processes.startSucceeds = false;
    EXPECT_EQ(library::runAndWaitForReport(QStringLiteral("rasdialr.exe")), QStringLiteral("exit"));

    // The program ends without a word.
    processes.startSucceeds = true;
    processes.onStart = [this](platform::ProgramId id) {
        QTimer::singleShot(50, &context, [this, id] { processes.end(id); });
    };
    EXPECT_EQ(library::runAndWaitForReport(QStringLiteral("rasdialr.exe")), QStringLiteral("exit"));

    // The program keeps silent past the time-out.
    processes.onStart = nullptr;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(library::runAndWaitForReport(QStringLiteral("rasdialr.exe"), 200), QStringLiteral("exit"));
    EXPECT_GE(clock.elapsed(), 200);
}

TEST(Readmailslot, TextEndsAtTheFirstZeroByte)
{
    EXPECT_EQ(library::readmailslot(), QString()); // not open
    library::initmailslot();
    ASSERT_TRUE(library::mshand.isOpen());
    library::initmailslot(); // already open: stays as it is
    ASSERT_TRUE(platform::writeMailslot(library::kOwnMailslotName, QByteArray("exit\0junk", 9)));
    ASSERT_TRUE(platform::writeMailslot(library::kOwnMailslotName, QByteArray(400, 'y')));
    ASSERT_TRUE(platform::writeMailslot(library::kOwnMailslotName, "caf\xc3\xa9"));
    EXPECT_EQ(library::readmailslot(), QStringLiteral("exit"));
    EXPECT_EQ(library::readmailslot(), QString(library::kMailslotMessageSize, QLatin1Char('y')));
    EXPECT_EQ(library::readmailslot(), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(library::readmailslot(), QString());
    library::mshand.close();
}

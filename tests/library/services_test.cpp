#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

#include "fakesystem.h"
#include "library/isconnected.h"
#include "library/profiling.h"
#include "library/shutdownwindows.h"
#include "library/versioninfo.h"
#include "platform/fatal.h"
#include "printers.h"
#include "tempfolder.h"

// Shut down (1) or power off (8) asks for a power-off; a forced shut-down (1 + 4, with or without 8)
// also ends the program, even when the power-off is refused.
TEST(WinExit, AsksForPowerOffAndEndsOnForcedShutdown)
{
    const struct
    {
        int flags;
        bool accepts;
        int requests;
        bool result;
        bool halts;
    } cases[] = {{5, true, 1, true, true},   {13, true, 1, true, true},   {5, false, 1, false, true},
                 {1, true, 1, true, false},  {1, false, 1, false, false}, {8, true, 1, true, false},
                 {4, true, 0, false, false}, {0, true, 0, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << (c.accepts ? " accepted" : " refused"));
        FakePower power;
        power.accepts = c.accepts;
        ThrowingHalt halting;
        if (c.halts) {
            EXPECT_THROW((void)library::WinExit(c.flags), platform::Halted);
        } else {
            EXPECT_EQ(library::WinExit(c.flags), c.result);
        }
        EXPECT_EQ(power.requests, c.requests);
    }
}

TEST(Checkhost, AsksTheServerOnItsPort)
{
    FakeNetwork network;
    network.results = {{QStringLiteral("up"), 1}};
    EXPECT_EQ(library::ping(QStringLiteral("up")), 1);
    EXPECT_EQ(network.lastTimeoutMs, library::kPingTimeoutMs);
    EXPECT_EQ(library::ping(QStringLiteral("unknown")), -1);
    EXPECT_TRUE(library::Checkhost(QStringLiteral("db.example:8880"), 80));
    EXPECT_TRUE(library::Checkhost(QStringLiteral("db.example"), 80));
    network.online = false;
    EXPECT_FALSE(library::Checkhost(QStringLiteral("db.example"), 80));
    EXPECT_EQ(network.connections,
              (QStringList{QStringLiteral("db.example:8880"), QStringLiteral("db.example:80"),
                           QStringLiteral("db.example:80")}));
    EXPECT_EQ(network.asked.size(), 2) << "no echo request for the check";
}

TEST(GetVersionInfo, BuildNumberHasFourDigits)
{
    EXPECT_EQ(library::versionText(2, 6, 0, 12), QStringLiteral("2.6.0 Build: 0012"));
    EXPECT_EQ(library::versionText(10, 0, 3, 0), QStringLiteral("10.0.3 Build: 0000"));
    EXPECT_EQ(library::versionText(1, 2, 3, 12345), QStringLiteral("1.2.3 Build: 12345"));
}

TEST(GetVersionInfo, OnlyTheProgramFileHasAVersion)
{
    const QString own = library::GetVersionInfo(QCoreApplication::applicationFilePath());
    EXPECT_TRUE(own.startsWith(QStringLiteral(MUSETRA_VERSION_TEXT ".")));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+ Build: \\d{4,}$")).match(own).hasMatch())
        << own.toStdString();

    TempFolder folder;
    EXPECT_EQ(library::GetVersionInfo(folder.write(QStringLiteral("other.exe"), "MZ")),
              QStringLiteral("No Version Info"));
    EXPECT_EQ(library::GetVersionInfo(folder.file(QStringLiteral("missing.exe"))),
              QStringLiteral("No Version Info"));
    EXPECT_EQ(library::GetVersionInfo(QString()), QStringLiteral("No Version Info"));
}

namespace {

QStringList profileLines;

void captureProfileLines(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QLatin1String(context.category) == QLatin1String("musetra.profile")) profileLines.append(message);
}

} // namespace

class Profiling : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library::resetprofiling();
        profileLines.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("musetra.profile.debug=true"));
        previous_ = qInstallMessageHandler(captureProfileLines);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previous_);
        QLoggingCategory::setFilterRules(QString());
        library::resetprofiling();
    }

private:
    QtMessageHandler previous_ = nullptr;
};

TEST_F(Profiling, NestedMeasurementsEndInnermostFirst)
{
    library::startprofiletimer(QStringLiteral("drawalbum"));
    library::startprofiletimer(QStringLiteral("movealbumlr"));
    library::endprofiletimer();
    library::endprofiletimer();
    ASSERT_EQ(profileLines.size(), 4);
    const QRegularExpression start(QStringLiteral("^PROFILE START: (\\w+) @ (\\d+)$"));
    const QRegularExpression end(QStringLiteral("^PROFILE END: (\\w+) @ (\\d+) ELAPSED: (\\d+)$"));
    EXPECT_EQ(start.match(profileLines[0]).captured(1), QStringLiteral("drawalbum"));
    EXPECT_EQ(start.match(profileLines[1]).captured(1), QStringLiteral("movealbumlr"));
    const auto inner = end.match(profileLines[2]);
    const auto outer = end.match(profileLines[3]);
    ASSERT_TRUE(inner.hasMatch() && outer.hasMatch()) << profileLines.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(inner.captured(1), QStringLiteral("movealbumlr"));
    EXPECT_EQ(outer.captured(1), QStringLiteral("drawalbum"));
    const uint32_t began = start.match(profileLines[0]).captured(2).toUInt();
    const uint32_t ended = outer.captured(2).toUInt();
    EXPECT_EQ(outer.captured(3).toUInt(), ended - began);
    EXPECT_EQ(library::stackcount, 0); // the outermost entry stays
}

TEST_F(Profiling, TheStackIsGuardedAtBothEnds)
{
    library::endprofiletimer(); // nothing started yet
    EXPECT_TRUE(profileLines.isEmpty());
    EXPECT_EQ(library::stackcount, -1);

    const int extra = 5;
    for (int i = 0; i < library::kProfileDepth + extra; ++i)
        library::startprofiletimer(QString::number(i));
    EXPECT_EQ(library::stackcount, library::kProfileDepth - 1);
    EXPECT_EQ(profileLines.size(), library::kProfileDepth);
    profileLines.clear();
    // The untimed starts' ends are absorbed, so each timed one ends with its own name.
    for (int i = 0; i < extra + 2; ++i)
        library::endprofiletimer();
    ASSERT_EQ(profileLines.size(), 2);
    EXPECT_TRUE(profileLines[0].startsWith(QStringLiteral("PROFILE END: 100 @")));
    EXPECT_TRUE(profileLines[1].startsWith(QStringLiteral("PROFILE END: 99 @")));
}

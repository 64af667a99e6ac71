// The on-screen keyboard program as the jukebox starts and closes it.

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/mailslot.h"

namespace {

const QString kProgram = QStringLiteral(MUSOSK_PROGRAM);

TEST(Musosk, ShowsUntilCloseArrivesOnItsMailslot)
{
    QProcess keyboard;
    keyboard.start(kProgram, {QStringLiteral("192"), QStringLiteral("50"), QStringLiteral("35"),
                              QStringLiteral("ALPHA")});
    ASSERT_TRUE(keyboard.waitForStarted());
    // The mailslot takes messages once the keyboard listens on it.
    ASSERT_TRUE(
        QTest::qWaitFor([] { return platform::writeMailslot(QStringLiteral("KVOSK1"), "ping"); }, 10000));
    EXPECT_EQ(keyboard.state(), QProcess::Running);
    ASSERT_TRUE(platform::writeMailslot(QStringLiteral("KVOSK1"), QByteArray("close", 6)));
    ASSERT_TRUE(keyboard.waitForFinished(10000));
    EXPECT_EQ(keyboard.exitCode(), 0);
}

TEST(Musosk, WithoutAnXServerItSaysSoAndEnds)
{
    QProcess keyboard;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    keyboard.setProcessEnvironment(environment);
    keyboard.start(kProgram, {QStringLiteral("192"), QStringLiteral("50"), QStringLiteral("35")});
    ASSERT_TRUE(keyboard.waitForFinished(10000));
    EXPECT_EQ(keyboard.exitCode(), 1);
    EXPECT_TRUE(keyboard.readAllStandardError().contains("no X server"));
}

} // namespace

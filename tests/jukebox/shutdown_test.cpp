// The kiosk panel's shutdown button on its three roads: minimise, hand the screen to a launcher,
// and quit (turning the machine off when asked, only once the settings are on disk).

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/bitmapactionbutton.h"
#include "fakesystem.h"
#include "numberstesting.h"
#include "platform/fatal.h"
#include "printers.h"

namespace {

class ShutdownTest : public NumberEntryTest
{
protected:
    void SetUp() override
    {
        NumberEntryTest::SetUp();
        addLibrary(2);
    }
    void TearDown() override
    {
        platform::setHaltHandler({});
        NumberEntryTest::TearDown();
    }

    // Queues and starts track 1 of album 1, as a guest would.
    void playSomething() { type("0001001"); }

    // The settings file as it stands on disk.
    QString settingsOnDisk() const
    {
        QFile file(program.path() + QStringLiteral("/Musetra.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    void pressShutdown() { QTest::mouseClick(window->Shutdownbut, Qt::LeftButton); }
};

TEST_F(ShutdownTest, MinimiseRoadKeepsTheProgramRunningSilentAndSavesTheSettings)
{
    open(QStringLiteral("ShowMinimize=1"));
    playSomething();
    library::config.jlastalbum = 2;
    pressShutdown();
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(fake().commands().last(), QStringLiteral("stop"));
    EXPECT_FALSE(form->play->isChecked());
    EXPECT_NE(player::mainform, nullptr);
    EXPECT_TRUE(settingsOnDisk().contains(QStringLiteral("jlastalbum=2"), Qt::CaseInsensitive));
}

TEST_F(ShutdownTest, LauncherRoadRejectsTheQueueAndRestoresOnlyTheLauncherWindow)
{
    FakeTopLevelWindows windows;
    windows.titles = {QStringLiteral("launcher notes"), QStringLiteral("My Launcher 2"),
                      QStringLiteral("Launcher 3")};
    open(QStringLiteral("ShowMinimize=2"));
    playSomething();
    pressShutdown();
    // The search ends at the first window that names itself "Launcher", in that letter case.
    EXPECT_EQ(windows.restored, QStringList{QStringLiteral("My Launcher 2")});
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
}

TEST_F(ShutdownTest, QuitRoadTurnsTheMachineOffOnlyAfterTheSettingsAreOnDisk)
{
    FakePower power;
    open(QStringLiteral("PowerOff=1"));
    library::config.jlastalbum = 2;
    QString settingsWhenAsked;
    platform::setHaltHandler([&](int code) {
        settingsWhenAsked = settingsOnDisk();
        throw platform::Halted(code);
    });
    EXPECT_THROW(window->ShutdownbutClick(window->Shutdownbut), platform::Halted);
    EXPECT_EQ(power.requests, 1);
    EXPECT_TRUE(settingsWhenAsked.contains(QStringLiteral("jlastalbum=2"), Qt::CaseInsensitive));
}

TEST_F(ShutdownTest, QuitRoadWithoutPowerOffStopsThePlayerAndRemovesTheSilentFile)
{
    FakePower power;
    open();
    playSomething();
    const QString silentFile = player::blankfilepath;
    ASSERT_TRUE(QFile::exists(silentFile));
    pressShutdown();
    EXPECT_EQ(power.requests, 0);
    EXPECT_TRUE(fake().commands().contains(QStringLiteral("stop")));
    EXPECT_FALSE(QFile::exists(silentFile));
}

} // namespace

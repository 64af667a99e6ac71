// The completion rules every media player keeps, checked on the libmpv player and on the fake that
// stands in for it in other tests, so the two cannot drift apart.

#include <functional>
#include <gtest/gtest.h>

#include "fakemediaplayer.h"
#include "playertesting.h"
#include "printers.h"

using namespace platform;

namespace {

enum class Kind { Fake, Mpv };

struct Tracks
{
    TempFolder folder;
    QString longTrack = writeTone(folder, QStringLiteral("long.mp3"), 8000);
    QString otherTrack = writeTone(folder, QStringLiteral("other.mp3"), 8000);
};

const Tracks& tracks()
{
    static const Tracks generated;
    return generated;
}

std::unique_ptr<MediaPlayer> makePlayer(Kind kind)
{
    // Played in real time, so a play command is still running when the next command comes.
    if (kind == Kind::Mpv) return makeMpvPlayer(false);
    return std::make_unique<FakeMediaPlayer>();
}

struct Interruption
{
    const char* name;
    std::function<void(MediaPlayer&)> command;
    NotifyValue value;
};

const Interruption kInterruptions[] = {
    {"PlayAgain", [](MediaPlayer& p) { p.play(); }, NotifyValue::Superseded},
    {"PlayToEndPoint", [](MediaPlayer& p) { p.play(6000); }, NotifyValue::Superseded},
    {"Stop", [](MediaPlayer& p) { p.stop(); }, NotifyValue::Aborted},
    {"Seek", [](MediaPlayer& p) { p.seek(1000); }, NotifyValue::Aborted},
    {"Close", [](MediaPlayer& p) { p.close(); }, NotifyValue::Aborted},
    {"OpenAnother",
     [](MediaPlayer& p) {
         p.setFileName(tracks().otherTrack);
         ASSERT_TRUE(p.open());
     },
     NotifyValue::Aborted},
};

class PlayInterrupted : public ::testing::TestWithParam<std::tuple<Kind, Interruption>>
{
};

TEST_P(PlayInterrupted, EndsTheRunningPlayOnceWithItsValue)
{
    const auto& [kind, interruption] = GetParam();
    auto player = makePlayer(kind);
    Completions completions(*player);
    player->setFileName(tracks().longTrack);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->play());
    EXPECT_EQ(player->mode(), PlayerMode::Playing);

    interruption.command(*player);
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{interruption.value});

    // A stop now ends only what is still running: nothing when the interruption was not a play.
    player->stop();
    QCoreApplication::processEvents();
    const bool playing = interruption.value == NotifyValue::Superseded;
    EXPECT_EQ(completions.values.size(), playing ? 2u : 1u);
    if (playing) {
        EXPECT_EQ(completions.values.back(), NotifyValue::Aborted);
    }
}

INSTANTIATE_TEST_SUITE_P(BothPlayers, PlayInterrupted,
                         ::testing::Combine(::testing::Values(Kind::Fake, Kind::Mpv),
                                            ::testing::ValuesIn(kInterruptions)),
                         [](const auto& test) {
                             return std::string(std::get<0>(test.param) == Kind::Fake ? "Fake" : "Mpv") +
                                    std::get<1>(test.param).name;
                         });

class PlayerRules : public ::testing::TestWithParam<Kind>
{
};

TEST_P(PlayerRules, PauseKeepsThePlayRunningAndAPlayResumesIt)
{
    auto player = makePlayer(GetParam());
    Completions completions(*player);
    player->setFileName(tracks().longTrack);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->play());
    ASSERT_TRUE(player->pause());
    EXPECT_EQ(player->mode(), PlayerMode::Paused);
    const int pausedAt = player->position();

    ASSERT_TRUE(player->play());
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    EXPECT_GE(player->position(), pausedAt);
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Superseded});
}

TEST_P(PlayerRules, NotificationSwitchAppliesToTheNextCommandOnly)
{
    auto player = makePlayer(GetParam());
    Completions completions(*player);
    player->setFileName(tracks().longTrack);

    // Switched off for the open, the play after it notifies again.
    player->setNotify(false);
    ASSERT_TRUE(player->open());
    EXPECT_TRUE(player->notify());
    ASSERT_TRUE(player->play());
    player->setNotify(false);
    ASSERT_TRUE(player->play()); // supersedes the first play, silently itself
    player->stop();
    ASSERT_TRUE(completions.waitFor(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Superseded});
}

TEST_P(PlayerRules, CommandsWithoutAnOpenFileFailAndAPlayReportsFailureOnce)
{
    auto player = makePlayer(GetParam());
    Completions completions(*player);
    EXPECT_EQ(player->mode(), PlayerMode::NotReady);
    EXPECT_FALSE(player->play());
    EXPECT_EQ(player->error(), MediaError::NotOpen);
    EXPECT_FALSE(player->stop());
    EXPECT_FALSE(player->seek(10));
    EXPECT_EQ(player->position(), 0);
    EXPECT_EQ(player->error(), MediaError::NotOpen);
    EXPECT_TRUE(player->close());
    ASSERT_TRUE(completions.waitFor(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Failure});
}

TEST_P(PlayerRules, MissingFileFailsToOpenAndKeepsItsName)
{
    auto player = makePlayer(GetParam());
    const QString missing = tracks().folder.file(QStringLiteral("TRACK09.MP3"));
    player->setFileName(missing);
    EXPECT_FALSE(player->open());
    EXPECT_EQ(player->error(), MediaError::FileNotFound);
    EXPECT_FALSE(player->errorMessage().isEmpty());
    EXPECT_EQ(player->fileName(), missing);
    EXPECT_EQ(player->mode(), PlayerMode::NotReady);
}

TEST_P(PlayerRules, StopKeepsThePositionAndSeekMovesIt)
{
    auto player = makePlayer(GetParam());
    player->setFileName(tracks().longTrack);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->seek(2500));
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_NEAR(player->position(), 2500, 30);
    ASSERT_TRUE(player->stop());
    EXPECT_NEAR(player->position(), 2500, 30);
    ASSERT_TRUE(player->seek(-40));
    EXPECT_NEAR(player->position(), 0, 30);
    ASSERT_TRUE(player->close());
    EXPECT_EQ(player->mode(), PlayerMode::NotReady);
    EXPECT_EQ(player->length(), 0);
    EXPECT_EQ(player->error(), MediaError::NotOpen);
}

TEST_P(PlayerRules, VolumeIsClampedAndKeptAcrossFiles)
{
    auto player = makePlayer(GetParam());
    EXPECT_EQ(player->volume(), 1000);
    EXPECT_TRUE(player->setVolume(500));
    EXPECT_EQ(player->volume(), 500);
    player->setFileName(tracks().longTrack);
    ASSERT_TRUE(player->open());
    EXPECT_EQ(player->volume(), 500);
    player->setVolume(1500);
    EXPECT_EQ(player->volume(), 1000);
    player->setVolume(-3);
    EXPECT_EQ(player->volume(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPlayers, PlayerRules, ::testing::Values(Kind::Fake, Kind::Mpv),
                         [](const auto& test) {
                             return std::string(test.param == Kind::Fake ? "Fake" : "Mpv");
                         });

} // namespace

// A sound server that stops answering (a private PulseAudio held with SIGSTOP): the window answers
// at a selection, at Play and at a change of tracks, tells the operator while the music cannot be
// heard, and a termination request still ends the program. Without any sound device the operator is
// told as a track starts, and a sound server that answers again is heard from the next track.

#include <QToolButton>
#include <csignal>

#include "library/global.h"
#include "platform/termination.h"
#include "queuetesting.h"
#include "soundserver.h"
#include "windowthreadwork.h"

using namespace soundtesting;

namespace {

constexpr int kTrackMs = 2500;
// Tracks 3 and 4 are long enough to stand still in and play on after.
constexpr int kLongTrackMs = 20000;
constexpr int kWatchMs = 1000;
constexpr qint64 kAnswerMs = 100;
// What the operator is to be told comes within this long on a busy machine too: the watch's timers
// and mpv's position reports may wait there for a CPU far beyond their own periods.
constexpr int kToldWithinMs = 20000;

// The window over the real media player.
class SoundRoad : public PlayerWindowTest
{
protected:
    // Queues track `track` and starts it, as a guest's selection on the jukebox does.
    void select(int track)
    {
        queueTrack(1, track);
        form->dplaylist->setCurrentRow(form->dplaylist->count() - 1);
        form->playClick(nullptr);
    }
};

class StoppedSoundServerRoad : public SoundRoad
{
protected:
    void SetUp() override
    {
        SoundRoad::SetUp();
        ASSERT_TRUE(server.waitReady());
        qputenv("PULSE_SERVER", server.address().toUtf8());
        addAlbum(QStringLiteral("Alpha__One"), strings({"Morning", "Evening", "Night", "Dawn"}),
                 [](const QString& path) {
                     tools::Tone tone;
                     tone.lengthMs =
                         path.endsWith(QStringLiteral("3.mp3")) || path.endsWith(QStringLiteral("4.mp3"))
                             ? kLongTrackMs
                             : kTrackMs;
                     ASSERT_TRUE(tools::writeToneMp3(path, tone));
                 });
        start([]() -> std::unique_ptr<MediaPlayer> { return makePulsePlayer(); });
        frontEnd.exists = frontEnd.visible = true;
        // Readied as once the window shows.
        ASSERT_TRUE(qobject_cast<MpvMediaPlayer*>(form->mediaPlayer())->isValid());
        baselineMs = windowThreadHeldWhile([] { QTest::qWait(kWatchMs); });
    }
    void TearDown() override
    {
        SoundRoad::TearDown();
        qunsetenv("PULSE_SERVER");
    }

    // `act`, then the window running for kWatchMs, holds the window thread (its work and its waits,
    // not the time a loaded machine keeps it from a CPU) no longer than its bare run did.
    void expectAnswering(const char* what, const std::function<void()>& act)
    {
        const qint64 held = windowThreadHeldWhile([&] {
            act();
            QTest::qWait(kWatchMs);
        });
        EXPECT_LT(held, baselineMs + kAnswerMs) << what;
    }
    // The operator reads `text` on the message line and in the caption within `ms`.
    [[nodiscard]] bool told(const QString& text, int ms)
    {
        return QTest::qWaitFor(
            [&] { return frontEnd.messages.contains(text) && form->windowTitle() == text; }, ms);
    }
    bool holds(int track) const
    {
        return form->mediaPlayer()->fileName().endsWith(
            QStringLiteral("track%1.mp3").arg(track, 2, 10, QLatin1Char('0')));
    }

    PrivateSoundServer server;
    qint64 baselineMs = 0;
};

// Held while a track plays: Play and a selection answer at once, the operator is told, and a
// termination request ends the program by its exit road.
TEST_F(StoppedSoundServerRoad, TheWindowAnswersAtPlayAndASelectionAndATerminationEndsIt)
{
    select(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->mediaPlayer()->position() > 300; }, 10000));
    StoppedServer stopped(server.processId());
    expectAnswering("play", [&] {
        QTest::mouseClick(form->pause, Qt::LeftButton);
        QTest::mouseClick(form->play, Qt::LeftButton);
    });
    expectAnswering("selection", [&] { select(2); });
    EXPECT_TRUE(told(QStringLiteral("The sound device does not answer"), kToldWithinMs));

    // The program ends while the server is still held: its end waits on no call into it.
    platform::onTerminationRequest(form.get(), [this] { form->fileexitClick(nullptr); });
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([] { return !QFile::exists(player::blankfilepath); }, kToldWithinMs));
    form.reset();
    EXPECT_TRUE(stopped.held());
}

// Held as a track ends: the next one starts while it is held.
TEST_F(StoppedSoundServerRoad, TheWindowAnswersAtATrackChange)
{
    select(1);
    queueTrack(1, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->mediaPlayer()->position() > kTrackMs - 150; }, 10000));
    StoppedServer stopped(server.processId());
    expectAnswering("track change", [] {});
    EXPECT_TRUE(holds(2));
}

// Held while a track plays and nothing is asked of the player: the music stands still, which the
// operator is told, again over a guest's selection, and no longer once the music plays again.
TEST_F(StoppedSoundServerRoad, MusicThatStopsIsToldWhileItLastsAndNoLongerOnceItPlaysAgain)
{
    const QString notAnswering = QStringLiteral("The sound device does not answer");
    select(3);
    queueTrack(1, 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->mediaPlayer()->position() > 1000; }, 10000));
    const QString caption = form->windowTitle();
    StoppedServer stopped(server.processId());
    ASSERT_TRUE(told(notAnswering, kToldWithinMs));

    frontEnd.messages.clear();
    queueTrack(1, 1);
    ASSERT_EQ(frontEnd.messages.size(), 1);
    ASSERT_TRUE(told(notAnswering, kToldWithinMs));

    stopped.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->windowTitle() == caption; }, kToldWithinMs))
        << form->windowTitle().toStdString();
    // Not told again while the music plays on for longer than the reminder's period.
    const int at = form->mediaPlayer()->position();
    frontEnd.messages.clear();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->mediaPlayer()->position() > at + MpvMediaPlayer::kDeviceAnswerMs + 1000; },
        kToldWithinMs));
    EXPECT_FALSE(frontEnd.messages.contains(notAnswering));
    EXPECT_EQ(form->windowTitle(), caption);
}

// No sound server and no sound card: mpv falls back to its null output, where the tracks would go by
// unheard; the operator is told as the first one starts.
class NoSoundDeviceRoad : public SoundRoad
{
protected:
    void SetUp() override
    {
        SoundRoad::SetUp();
        qputenv("PULSE_SERVER", "unix:/nonexistent/native");
        qputenv("ALSA_CONFIG_PATH", "/dev/null");
        addAlbum(QStringLiteral("Alpha__One"), strings({"Morning", "Evening"}), [](const QString& path) {
            tools::Tone tone;
            tone.lengthMs = kLongTrackMs;
            ASSERT_TRUE(tools::writeToneMp3(path, tone));
        });
        start([] { return std::make_unique<MpvMediaPlayer>(); });
        frontEnd.exists = frontEnd.visible = true;
        library::config.volume = 150;
        form->vol->setValue(library::config.volume);
    }
    void TearDown() override
    {
        SoundRoad::TearDown();
        qunsetenv("PULSE_SERVER");
        qunsetenv("ALSA_CONFIG_PATH");
    }

    [[nodiscard]] bool toldNoDevice()
    {
        return QTest::qWaitFor(
            [&] { return frontEnd.messages.contains(noDevice) && form->windowTitle() == noDevice; }, 5000);
    }

    const QString noDevice = QStringLiteral("No sound device: the music is not heard");
};

TEST_F(NoSoundDeviceRoad, ATrackThatStartsUnheardIsTold)
{
    select(1);
    EXPECT_TRUE(toldNoDevice()) << frontEnd.messages.join(u'|').toStdString();
}

// The sound server answers again (restarted after a crash): the next track is heard, and the
// caption names it again.
TEST_F(NoSoundDeviceRoad, TheNextTrackIsHeardOnceASoundServerAnswersAgain)
{
    select(1);
    ASSERT_TRUE(toldNoDevice());
    PrivateSoundServer server;
    ASSERT_TRUE(server.waitReady());
    qputenv("PULSE_SERVER", server.address().toUtf8());
    const double peak = server.peakWhile([&] {
        select(2);
        return QTest::qWaitFor([&] { return form->mediaPlayer()->position() > 1500; }, 10000);
    });
    EXPECT_GT(peak, 0.1);
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Evening")))
        << form->windowTitle().toStdString();
}

} // namespace

// The DJ on the operator's road with real sound: tracks played by libmpv and the espeak-ng voice,
// both heard through a private sound server, while the window keeps answering.

#include <QFile>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <optional>

#include "library/global.h"
#include "platform/speech.h"
#include "platform/termination.h"
#include "player/olespeech.h"
#include "queuetesting.h"
#include "soundserver.h"
#include "windowthreadwork.h"

using namespace soundtesting;

namespace {

constexpr double kTrackLevel = 0.1; // the tone's amplitude
constexpr int kAnnouncementMs = 3000;
constexpr qint64 kAnswerMs = 100;
// Far beyond the bounded waits of an end, far short of a sound output's own time-outs.
constexpr qint64 kEndHeldMs = 5000;

void expectAnswering(qint64 held, const QString& what)
{
    EXPECT_LT(held, kAnswerMs) << what.toStdString();
}

void pressAndWait(QAbstractButton* button, int ms)
{
    expectAnswering(windowThreadHeldWhile([&] {
                        QTest::mouseClick(button, Qt::LeftButton);
                        QTest::qWait(ms);
                    }),
                    button->toolTip());
}

class DjVoiceRoad : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        ASSERT_TRUE(server.waitReady());
        // Both the player and the voice open their audio output when they first sound.
        qputenv("PULSE_SERVER", server.address().toUtf8());
        addAlbum(QStringLiteral("Alpha__One"), strings({"Morning", "Evening", "Night"}),
                 [](const QString& path) {
                     tools::Tone tone;
                     tone.lengthMs = 15000;
                     tone.amplitude = kTrackLevel;
                     ASSERT_TRUE(tools::writeToneMp3(path, tone));
                 });
        start([]() -> std::unique_ptr<MediaPlayer> { return makePulsePlayer(); });
        // Readied as once the window shows.
        ASSERT_TRUE(qobject_cast<MpvMediaPlayer*>(form->mediaPlayer())->isValid());
        // The track at full volume, so its level is the tone's.
        library::config.volume = 150;
        form->vol->setValue(library::config.volume);
        for (int t = 1; t <= 3; ++t)
            queueTrack(1, t);
        platform::setSpeech(&*voice);
        ASSERT_TRUE(monitor.start(server));
    }
    void TearDown() override
    {
        PlayerWindowTest::TearDown();
        player::resetspeech();
        platform::setSpeech(nullptr);
        qunsetenv("PULSE_SERVER");
    }

    // Presses `button`, then lets the window run for `ms`: the press and every moment after it
    // must leave the window answering. When the press came, on the monitor's clock.
    qint64 press(QAbstractButton* button, int ms = kAnnouncementMs)
    {
        const qint64 at = monitor.now();
        pressAndWait(button, ms);
        return at;
    }
    // The DJ button pressed: the voice opens its sound output.
    void switchDjOn()
    {
        pressAndWait(form->dj, 0);
        ASSERT_TRUE(form->dj->isEnabled());
    }
    // The voice over the track: at least 6 dB above the track alone.
    void expectVoiceAfter(qint64 at)
    {
        EXPECT_GT(decibels(monitor.peak(at, at + kAnnouncementMs) / kTrackLevel), 6.0);
    }

    PrivateSoundServer server;
    MonitorRecording monitor;
    std::optional<platform::EspeakSpeech> voice{std::in_place};
};

TEST_F(DjVoiceRoad, EachTrackIsAnnouncedOverTheMusicAndTheWindowNeverWaitsForTheVoice)
{
    ASSERT_NO_FATAL_FAILURE(switchDjOn());
    form->dplaylist->setCurrentRow(0);
    expectVoiceAfter(press(form->play));
    expectVoiceAfter(press(form->fwd));

    // A stop in the middle of an announcement silences it with the track.
    press(form->fwd, 600);
    const qint64 stopped = press(form->Stop, 1500);
    EXPECT_LT(monitor.peak(stopped + 300, stopped + 1500), 0.01);

    // Played again, paused while the voice speaks, resumed: the track alone goes on.
    const qint64 playedAgain = press(form->play, 300);
    press(form->pause);
    expectVoiceAfter(playedAgain);
    const qint64 resumed = press(form->pause, 1500);
    EXPECT_NEAR(monitor.peak(resumed + 500, resumed + 1500), kTrackLevel, kTrackLevel / 2);

    // A termination request while the voice speaks ends the program by its exit road at once, and
    // the voice goes with it.
    platform::onTerminationRequest(form.get(), [this] { form->fileexitClick(nullptr); });
    press(form->fwd, 500);
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([] { return !QFile::exists(player::blankfilepath); }, 20000));
    EXPECT_LT(windowThreadHeldWhile([&] {
                  form.reset();
                  voice.reset();
              }),
              kEndHeldMs);
    const qint64 ended = monitor.now();
    EXPECT_LT(monitor.peak(ended + 300, ended + 1300), 0.01) << "the voice goes with the program";
}

// The voice goes with the music: silent with it on Mute, from the voice's first words on, and turned
// down with it to the same share.
TEST_F(DjVoiceRoad, TheVoiceFollowsTheVolumeAndIsSilentWhileMuted)
{
    // The same announcement each time: artist, album and title, in one style and speed.
    library::config.Dj_comment = false;
    player::setdjrandom([] { return 0.0; });
    form->dplaylist->setCurrentRow(0);
    const auto heardAfterPlay = [&] {
        const qint64 at = press(form->play);
        press(form->Stop, 1000);
        return monitor.peak(at, at + kAnnouncementMs);
    };
    // Muted before the voice opens its sound output.
    press(form->mutebut, 0);
    ASSERT_TRUE(form->mutebut->isChecked());
    ASSERT_NO_FATAL_FAILURE(switchDjOn());
    EXPECT_LT(heardAfterPlay(), 0.01);

    press(form->mutebut, 0);
    ASSERT_FALSE(form->mutebut->isChecked());
    const double full = heardAfterPlay();
    EXPECT_GT(decibels(full / kTrackLevel), 6.0);
    form->vol->setValue(50);
    EXPECT_NEAR(decibels(heardAfterPlay() / full), decibels(50.0 / 150.0), 2.0);
    player::setdjrandom({});
}

// A DJ whose voice cannot be heard: the press answers at once, and the button greys within a few
// seconds, as the voice finds no sound device or a sound server that never answers.
class DjWithoutSound : public PlayerWindowTest
{
protected:
    void TearDown() override
    {
        voice.reset();
        player::resetspeech();
        platform::setSpeech(nullptr);
        qunsetenv("PULSE_SERVER");
        qunsetenv("ALSA_CONFIG_PATH");
        PlayerWindowTest::TearDown();
    }

    // On the window shown in the play-list style with a track queued, so the DJ button is live,
    // presses it with the voice's sound server at `server` and no other sound device.
    void pressDjWithServerAt(const QString& server)
    {
        qputenv("PULSE_SERVER", server.toUtf8());
        qputenv("ALSA_CONFIG_PATH", "/dev/null");
        addAlbum(QStringLiteral("Alpha__One"), strings({"Morning"}));
        start();
        form->playlistbutClick(nullptr);
        queueTrack(1, 1);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(form->dj->isEnabled() && form->dj->isVisible());
        platform::setSpeech(&*voice);
        expectAnswering(windowThreadHeldWhile([&] {
                            QTest::mouseClick(form->dj, Qt::LeftButton);
                            EXPECT_TRUE(QTest::qWaitFor([&] { return !form->dj->isEnabled(); }, 10000));
                        }),
                        QStringLiteral("dj"));
    }

    std::optional<platform::EspeakSpeech> voice{std::in_place};
};

TEST_F(DjWithoutSound, NoSoundDeviceGreysTheDjButtonAndTheWindowNeverWaits)
{
    ASSERT_NO_FATAL_FAILURE(pressDjWithServerAt(QStringLiteral("unix:/nonexistent/native")));
}

TEST_F(DjWithoutSound, ASoundServerThatStoppedGreysTheDjButtonTellsTheOperatorAndLetsThePlayerEnd)
{
    PrivateSoundServer server;
    ASSERT_TRUE(server.waitReady());
    const StoppedServer stopped(server.processId());
    // Told on the jukebox's message line, which every start shows.
    frontEnd.exists = frontEnd.visible = true;
    ASSERT_NO_FATAL_FAILURE(pressDjWithServerAt(server.address()));
    EXPECT_TRUE(frontEnd.messages.contains(QStringLiteral("DJ off: the sound device does not answer")))
        << frontEnd.messages.join(u'|').toStdString();

    // The program and the voice end without waiting out the voice's stuck sound output: the window
    // thread is held only as long as their own short bounds allow.
    EXPECT_LT(windowThreadHeldWhile([&] {
                  form.reset();
                  voice.reset();
              }),
              kEndHeldMs);
}

} // namespace

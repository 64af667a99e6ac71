// The DJ on the operator's road with real sound: tracks played by libmpv and the espeak-ng voice,
// both heard through a private sound server, while the window keeps answering.

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

using namespace soundtesting;

namespace {

constexpr double kTrackLevel = 0.1; // the tone's amplitude
constexpr int kAnnouncementMs = 3000;
constexpr qint64 kAnswerMs = 100;

// The longest the window left a 10 ms timer waiting while events ran for `ms`.
qint64 longestStall(int ms)
{
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceTick.restart() - 10); });
    ticks.start(10);
    sinceTick.start();
    QTest::qWait(ms);
    return longest;
}

qint64 pressMs(QAbstractButton* button)
{
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(button, Qt::LeftButton);
    return clock.elapsed();
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
        start([] {
            MpvOptions options;
            options.audioOutput = QStringLiteral("pulse");
            return std::make_unique<MpvMediaPlayer>(nullptr, options);
        });
        // The track at full volume, so its level is the tone's.
        library::config.volume = 150;
        form->vol->setValue(library::config.volume);
        for (int t = 1; t <= 3; ++t)
            queueTrack(1, t);
        platform::setSpeech(&*voice);
        EXPECT_LT(pressMs(form->dj), kAnswerMs);
        ASSERT_TRUE(form->dj->isEnabled());
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
        QTest::mouseClick(button, Qt::LeftButton);
        const qint64 pressMs = monitor.now() - at;
        EXPECT_LT(std::max(pressMs, longestStall(ms)), kAnswerMs) << button->objectName().toStdString();
        return at;
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
    const qint64 quit = monitor.now();
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([] { return !QFile::exists(player::blankfilepath); }, 5000));
    form.reset();
    voice.reset();
    EXPECT_LT(monitor.now() - quit, 1000);
    EXPECT_LT(monitor.peak(quit + 1000, quit + 2000), 0.01);
}

// Without a sound device the DJ press still answers at once, and the button goes grey once the
// voice finds no device.
TEST_F(PlayerWindowTest, WithoutASoundDeviceTheDjButtonGoesGreyAndTheWindowNeverWaits)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/native");
    qputenv("ALSA_CONFIG_PATH", "/dev/null");
    start();
    platform::EspeakSpeech voice;
    platform::setSpeech(&voice);
    EXPECT_LT(pressMs(form->dj), kAnswerMs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->dj->isEnabled(); }, 5000));
    player::resetspeech();
    platform::setSpeech(nullptr);
    qunsetenv("PULSE_SERVER");
    qunsetenv("ALSA_CONFIG_PATH");
}

} // namespace

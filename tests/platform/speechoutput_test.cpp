// The espeak-ng voice speaking through the sound card, heard through a private sound server over a
// playing track. A program of its own that does not link libmpv: the voice and the player load it
// as the program does.

#include <QTest>
#include <optional>
#include <gtest/gtest.h>

#include "platform/speech.h"
#include "soundserver.h"

namespace {

using SpeechOverTrack = soundtesting::SoundServerTest;
using soundtesting::decibels;

constexpr int kFlags = platform::kSpeechStatement + platform::kSpeechHighPriority;

TEST_F(SpeechOverTrack, AnnouncementIsHeardAboveTheTrackAndEndsWithTheVoice)
{
    ASSERT_NO_FATAL_FAILURE(playThroughServer(2500));
    std::optional<platform::EspeakSpeech> voice(std::in_place);
    ASSERT_NO_THROW(voice->Register(QString(), QStringLiteral("Musetra")));
    voice->setEnabled(true);
    voice->setSpeed(160);
    const double track = peakAt(500);
    const double announced =
        peakAt(500, [&] { voice->Speak(QStringLiteral("Blue by the Musetra band"), kFlags); });
    EXPECT_GT(decibels(announced / track), 6.0);

    // Gone while it speaks, and while the engine still works at a long text behind: silent at once.
    soundtesting::MonitorRecording monitor;
    ASSERT_TRUE(monitor.start(server_));
    voice->Speak(QStringLiteral("Blue by the Musetra band. ").repeated(4), kFlags);
    voice->Speak(QStringLiteral("The announcement goes on and on tonight. ").repeated(300), kFlags);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const qint64 now = monitor.now();
            return monitor.peak(now - 100, now) > 0.05;
        },
        5000));
    const qint64 ended = monitor.now();
    voice.reset();
    EXPECT_LT(monitor.peak(ended + 500, ended + 1500), 0.01);
}

} // namespace

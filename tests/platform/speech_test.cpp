// The espeak-ng voice: synthesising into memory, and speaking through a private sound server over
// a playing track.

#include <gtest/gtest.h>

#include "platform/speech.h"
#include "soundserver.h"

namespace {

using SpeechOverTrack = soundtesting::SoundServerTest;
using soundtesting::decibels;

TEST(EspeakSpeech, SpeaksOneSentenceAtTheGivenSpeedOnlyWhileEnabled)
{
    platform::EspeakSpeech voice(platform::EspeakSpeech::Output::Memory);
    ASSERT_NO_THROW(voice.Register(QString(), QStringLiteral("Musetra")));
    ASSERT_GT(voice.sampleRate(), 0);
    voice.setSpeed(160);
    voice.Speak(QStringLiteral("Silent"), platform::kSpeechStatement + platform::kSpeechHighPriority);
    EXPECT_TRUE(voice.samples().empty());

    voice.setEnabled(true);
    voice.Speak(QStringLiteral("Blue by the Musetra band"),
                platform::kSpeechWarning + platform::kSpeechHighPriority);
    const double seconds = double(voice.samples().size()) / voice.sampleRate();
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 4.0);
    const auto loudest = std::max_element(voice.samples().begin(), voice.samples().end());
    EXPECT_GT(*loudest, 1000);
}

// espeak-ng cannot end a synchronous engine once an asynchronous one has ended in the process, so
// this test of the sound card voice stays the last of the program.
TEST_F(SpeechOverTrack, AnnouncementIsHeardAboveTheTrack)
{
    ASSERT_NO_FATAL_FAILURE(playThroughServer(2500));
    platform::EspeakSpeech voice;
    ASSERT_NO_THROW(voice.Register(QString(), QStringLiteral("Musetra")));
    voice.setEnabled(true);
    voice.setSpeed(160);
    const double track = peakAt(500);
    const double announced = peakAt(500, [&] {
        voice.Speak(QStringLiteral("Blue by the Musetra band"),
                    platform::kSpeechStatement + platform::kSpeechHighPriority);
    });
    EXPECT_GT(decibels(announced / track), 6.0);
}

} // namespace

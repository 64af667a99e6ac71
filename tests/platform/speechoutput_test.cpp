// The espeak-ng voice speaking through the sound card, heard through a private sound server over a
// playing track. A program of its own that does not link libmpv: the voice and the player load it
// as the program does.

#include <gtest/gtest.h>

#include "platform/speech.h"
#include "soundserver.h"

namespace {

using SpeechOverTrack = soundtesting::SoundServerTest;
using soundtesting::decibels;

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

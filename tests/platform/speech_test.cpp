// The espeak-ng voice, synthesising into memory so no sound card is needed.

#include <gtest/gtest.h>

#include "platform/speech.h"

namespace {

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

} // namespace

// The espeak-ng voice, synthesising into memory so no sound card is needed.

#include <QTest>
#include <gtest/gtest.h>

#include "platform/speech.h"

namespace {

TEST(EspeakSpeech, SpeaksOneSentenceAtTheGivenSpeedOnlyWhileEnabled)
{
    platform::EspeakSpeech voice(platform::EspeakSpeech::Output::Memory);
    ASSERT_NO_THROW(voice.Register(QString(), QStringLiteral("Musetra")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return voice.sampleRate() > 0; }));
    voice.setSpeed(160);
    voice.Speak(QStringLiteral("Silent"), platform::kSpeechStatement + platform::kSpeechHighPriority);

    voice.setEnabled(true);
    voice.Speak(QStringLiteral("Blue by the Musetra band"),
                platform::kSpeechWarning + platform::kSpeechHighPriority);
    // Spoken on the engine's worker: the samples arrive whole.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !voice.samples().empty(); }));
    const std::vector<int16_t> samples = voice.samples();
    const double seconds = double(samples.size()) / voice.sampleRate();
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 4.0);
    EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 1000);
}

} // namespace

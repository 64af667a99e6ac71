// The espeak-ng voice, synthesising into memory so no sound card is needed.

#include <QTest>
#include <gtest/gtest.h>

#include "platform/speech.h"

namespace {

// Only stops a hang: a machine busy with other work may take seconds to synthesise a sentence.
constexpr int kSpokenWithinMs = 60000;

TEST(EspeakSpeech, SpeaksOneSentenceAtTheGivenSpeedOnlyWhileEnabledAndNothingAStopCut)
{
    platform::EspeakSpeech voice(platform::EspeakSpeech::Output::Memory);
    ASSERT_NO_THROW(voice.Register(QString(), QStringLiteral("Musetra")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return voice.sampleRate() > 0; }, kSpokenWithinMs));
    voice.setSpeed(160);
    const QString sentence = QStringLiteral("Blue by the Musetra band");
    const int flags = platform::kSpeechWarning + platform::kSpeechHighPriority;
    voice.setEnabled(true);
    voice.Speak(sentence, flags);
    // Spoken on the engine's worker: the samples arrive whole.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !voice.samples().empty(); }, kSpokenWithinMs));
    const std::vector<int16_t> samples = voice.samples();
    const double seconds = double(samples.size()) / voice.sampleRate();
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 4.0);
    EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 1000);

    // A long text stopped as it was given, and a text given while not enabled, are never heard:
    // the sentence said once more is all that follows.
    voice.Speak(QStringLiteral("Words cut short by a stop ").repeated(20), flags);
    voice.stop();
    voice.setEnabled(false);
    voice.Speak(QStringLiteral("Silent"), flags);
    voice.setEnabled(true);
    voice.Speak(sentence, flags);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return voice.samples().size() >= 2 * samples.size(); }, kSpokenWithinMs));
    // The engine's state between texts may shift the second by a few samples.
    EXPECT_NEAR(double(voice.samples().size()), 2.0 * double(samples.size()), voice.sampleRate() / 20.0);
}

} // namespace

#pragma once

// The speech synthesis object of the DJ announcements: register with the engine, switch it on,
// set its speed in words per minute, say a text with a style and a priority flag, stop. The real
// one is espeak-ng: in production it speaks through the sound card on the engine's own thread, so
// `Speak` returns at once and the texts follow one another in order; for checks without a sound
// card it can synthesise into memory instead. Tests install a fake. GUI thread only; the seam object
// is owned by whoever installs it.

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace platform {

// Speaking styles of `Speak`'s flags, and the high-priority flag added to them.
constexpr int kSpeechStatement = 1;
constexpr int kSpeechCommand = 4;
constexpr int kSpeechWarning = 8;
constexpr int kSpeechReading = 16;
constexpr int kSpeechHighPriority = 128;

// The engine is missing (no voice data, no audio output) or refused a call.
class SpeechError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Speech
{
public:
    virtual ~Speech() = default;

    // Connects to the engine for `application`; throws SpeechError when there is none to use.
    virtual void Register(const QString& site, const QString& application) = 0;
    virtual void setEnabled(bool on) = 0;
    virtual void setSpeed(int wordsPerMinute) = 0;
    // Says `text` (nothing while not enabled); `flags` is a style value plus the priority flag.
    // Throws SpeechError when the engine refuses it.
    virtual void Speak(const QString& text, int flags) = 0;
    // Silences what is being said and drops what is waiting.
    virtual void stop() = 0;
};

// The espeak-ng voice.
class EspeakSpeech final : public Speech
{
public:
    enum class Output { SoundCard, Memory };

    explicit EspeakSpeech(Output output = Output::SoundCard);
    ~EspeakSpeech() override;
    EspeakSpeech(const EspeakSpeech&) = delete;
    EspeakSpeech& operator=(const EspeakSpeech&) = delete;

    void Register(const QString& site, const QString& application) override;
    void setEnabled(bool on) override { enabled_ = on; }
    void setSpeed(int wordsPerMinute) override { speed_ = wordsPerMinute; }
    void Speak(const QString& text, int flags) override;
    void stop() override;

    // With memory output: the 16-bit mono samples synthesised so far, and their rate.
    const std::vector<int16_t>& samples() const { return samples_; }
    int sampleRate() const { return sampleRate_; }

private:
    void applyStyle(int flags);

    Output output_;
    bool registered_ = false;
    bool enabled_ = false;
    int speed_ = 0;
    int sampleRate_ = 0;
    std::vector<int16_t> samples_;
};

// The speech object in force: the espeak-ng one unless a test installed another.
Speech& speech();
// Installs another speech object (not owned); nullptr restores the espeak-ng one.
void setSpeech(Speech* replacement);

} // namespace platform

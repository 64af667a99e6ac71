#pragma once

// The speech synthesis object of the DJ announcements: register with the engine, switch it on,
// set its speed in words per minute, say a text with a style and a priority flag, stop. The real
// one is espeak-ng, which only synthesises, into memory, on one worker thread of the process; the
// samples play through an output the program owns (a sound device, or memory for checks without a
// sound card). So `Speak` and `stop` return at once, the texts follow one another in order, and a
// stop silences the voice at once. Tests install a fake. GUI thread only; the seam object is owned
// by whoever installs it.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
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

// Why an engine found after `Register` cannot be heard: no voice data or no sound device, or a sound
// device that did not answer within a few seconds.
enum class SpeechMissing { NoEngine, DeviceSilent };

class Speech
{
public:
    virtual ~Speech() = default;

    // Connects to the engine for `application`; throws SpeechError when there is none to use. An
    // engine that is found missing only after this returned runs the handler of `setUnavailable`.
    virtual void Register(const QString& site, const QString& application) = 0;
    // What runs on the window thread when the engine turns out to be missing after `Register`.
    virtual void setUnavailable(std::function<void(SpeechMissing)> handler) { (void)handler; }
    virtual void setEnabled(bool on) = 0;
    virtual void setSpeed(int wordsPerMinute) = 0;
    // The voice's amplitude, what is being said included: 1 as synthesised, 0 silent.
    virtual void setVolume(double gain) = 0;
    // Says `text` after what is still being said (nothing while not enabled); `flags` is a style
    // value plus the priority flag. Throws SpeechError when the engine refuses it.
    virtual void Speak(const QString& text, int flags) = 0;
    // Silences what is being said and drops what is waiting.
    virtual void stop() = 0;
};

class SpeechOutput;
class MemorySpeechOutput;

// The espeak-ng voice. Everything returns at once: registering loads the engine and probes the
// output on the worker, texts said meanwhile wait behind it, and a missing engine or output is told
// through the unavailable handler. Destroyed, it silences the voice and waits for the engine at most
// a moment.
class EspeakSpeech final : public Speech
{
public:
    enum class Output { SoundCard, Memory };

    explicit EspeakSpeech(Output output = Output::SoundCard);
    ~EspeakSpeech() override;
    EspeakSpeech(const EspeakSpeech&) = delete;
    EspeakSpeech& operator=(const EspeakSpeech&) = delete;

    void Register(const QString& site, const QString& application) override;
    void setUnavailable(std::function<void(SpeechMissing)> handler) override
    {
        unavailable_ = std::move(handler);
    }
    void setEnabled(bool on) override { enabled_ = on; }
    void setSpeed(int wordsPerMinute) override { speed_ = wordsPerMinute; }
    void setVolume(double gain) override;
    void Speak(const QString& text, int flags) override;
    void stop() override;

    // With memory output: the 16-bit mono samples spoken so far, and their rate (0 until the
    // engine is loaded).
    std::vector<int16_t> samples() const;
    int sampleRate() const;

private:
    struct Engine;

    std::shared_ptr<MemorySpeechOutput> memory_;
    std::shared_ptr<SpeechOutput> output_;
    std::shared_ptr<Engine> engine_;
    std::function<void(SpeechMissing)> unavailable_;
    bool registered_ = false;
    bool enabled_ = false;
    int speed_ = 0;
};

// The speech object in force: the espeak-ng one unless a test installed another.
Speech& speech();
// Installs another speech object (not owned); nullptr restores the espeak-ng one.
void setSpeech(Speech* replacement);

} // namespace platform

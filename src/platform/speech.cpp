#include "platform/speech.h"

#include <QByteArray>

#include "platform/seam.h"

#include <espeak-ng/espeak_ng.h>

namespace platform {

namespace {

constexpr int kBufferMs = 200;
constexpr int kNormalPitch = 50;
constexpr int kNormalRange = 50;
const char* const kVoice = "en";

// The one engine of the process and the object that opened it (espeak-ng keeps global state).
EspeakSpeech* engineOwner = nullptr;
std::vector<int16_t>* memorySink = nullptr;

int collectSamples(short* wave, int count, espeak_EVENT*)
{
    if (wave && memorySink) memorySink->insert(memorySink->end(), wave, wave + count);
    return 0; // go on synthesising
}

void check(espeak_ng_STATUS status, const char* what)
{
    if (status != ENS_OK) throw SpeechError(std::string("speech engine: ") + what);
}

// Pitch and pitch range of each speaking style: a plain statement, a firm command, an excited
// warning and a calm reading.
void setStyle(int pitch, int range)
{
    check(espeak_ng_SetParameter(espeakPITCH, pitch, 0), "pitch");
    check(espeak_ng_SetParameter(espeakRANGE, range, 0), "pitch range");
}

void loadEngine()
{
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS loaded = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    check(loaded, "no voice data");
    check(espeak_ng_SetVoiceByName(kVoice), "no English voice");
}

// The engine opens the sound card only when it first speaks, and on its own thread, where a failure
// is lost. So one silent sound is spoken here, waiting for it, to learn whether there is a card.
// The engine keeps that device open and cannot open it again for its speaking thread, so it is
// shut down and loaded afresh afterwards (which also restores the full volume).
void probeSoundCard()
{
    check(espeak_ng_InitializeOutput(
              espeak_ng_OUTPUT_MODE(ENOUTPUT_MODE_SYNCHRONOUS | ENOUTPUT_MODE_SPEAK_AUDIO), 0, nullptr),
          "no audio output");
    check(espeak_ng_SetParameter(espeakVOLUME, 0, 0), "volume");
    static const char kSound[] = "a";
    const espeak_ng_STATUS spoken =
        espeak_ng_Synthesize(kSound, sizeof kSound, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    check(spoken, "no audio output");
    (void)espeak_ng_Terminate();
    loadEngine();
}

} // namespace

EspeakSpeech::EspeakSpeech(Output output) : output_(output) {}

EspeakSpeech::~EspeakSpeech()
{
    if (engineOwner != this) return;
    (void)espeak_ng_Cancel();
    (void)espeak_ng_Terminate();
    engineOwner = nullptr;
    memorySink = nullptr;
}

void EspeakSpeech::Register(const QString&, const QString&)
{
    if (registered_) return;
    if (engineOwner) throw SpeechError("speech engine: already in use");
    engineOwner = this;
    const bool memory = output_ == Output::Memory;
    const auto mode = memory ? ENOUTPUT_MODE_SYNCHRONOUS : ENOUTPUT_MODE_SPEAK_AUDIO;
    try {
        loadEngine();
        if (!memory) probeSoundCard();
        check(espeak_ng_InitializeOutput(mode, kBufferMs, nullptr), "no audio output");
    } catch (const SpeechError&) {
        (void)espeak_ng_Terminate();
        engineOwner = nullptr;
        throw;
    }
    if (memory) {
        memorySink = &samples_;
        espeak_SetSynthCallback(collectSamples);
    }
    sampleRate_ = espeak_ng_GetSampleRate();
    registered_ = true;
}

void EspeakSpeech::applyStyle(int flags)
{
    switch (flags & ~kSpeechHighPriority) {
    case kSpeechCommand:
        setStyle(40, 30);
        break;
    case kSpeechWarning:
        setStyle(65, 85);
        break;
    case kSpeechReading:
        setStyle(45, 40);
        break;
    default:
        setStyle(kNormalPitch, kNormalRange);
        break;
    }
}

void EspeakSpeech::Speak(const QString& text, int flags)
{
    if (!registered_ || !enabled_) return;
    // The engine queues its settings with the texts, so each text keeps the speed and style it was
    // given even while an earlier one is still being spoken.
    if (speed_ > 0) check(espeak_ng_SetParameter(espeakRATE, speed_, 0), "speed");
    applyStyle(flags);
    const QByteArray utf8 = text.toUtf8();
    check(espeak_ng_Synthesize(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                               espeakCHARS_UTF8, nullptr, nullptr),
          "speak");
}

void EspeakSpeech::stop()
{
    if (registered_) (void)espeak_ng_Cancel();
}

Speech& speech()
{
    return Seam<Speech, EspeakSpeech>::get();
}

void setSpeech(Speech* replacement)
{
    Seam<Speech, EspeakSpeech>::set(replacement);
}

} // namespace platform

#include "platform/speech.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/libraryfunctions.h"
#include "platform/seam.h"
#include "platform/speechoutput.h"

#include <espeak-ng/espeak_ng.h>

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcEspeak, "musetra.platform.speech")

constexpr int kBufferMs = 50; // how often synthesis looks whether it was stopped
constexpr auto kShutdownTimeout = std::chrono::milliseconds(500);
// How long the engine and its sound device may take to load and answer before the voice is given up.
constexpr int kOpenTimeout = 5000;
constexpr int kNormalPitch = 50;
constexpr int kNormalRange = 50;
const char* const kVoice = "en";

// The one thread that calls espeak-ng (the engine keeps global state): runs its tasks in order. It
// is made on first use and lives for the rest of the process, so a task still running at exit
// finds everything it touches; nothing ever waits on it without a bound.
class SpeechWorker
{
public:
    static SpeechWorker& instance()
    {
        static SpeechWorker* const worker = new SpeechWorker;
        return *worker;
    }

    // Queues `task` after those before it.
    void post(std::function<void()> task)
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        wake_.notify_one();
    }
    // Queues `task`; the future is ready once it has run.
    std::future<void> run(std::function<void()> task)
    {
        auto packaged = std::make_shared<std::packaged_task<void()>>(std::move(task));
        std::future<void> done = packaged->get_future();
        post([packaged] { (*packaged)(); });
        return done;
    }

    // Every stop starts a new generation: synthesis of an older one ends, and its sound is dropped.
    quint64 generation() const { return generation_; }
    // Stops everything said so far: `silence` runs in step with deliveries, so nothing said before
    // it can still reach the output after it.
    void stopAll(const std::function<void()>& silence)
    {
        const std::lock_guard lock(delivery_);
        ++generation_;
        silence();
    }
    // Hands synthesised sound to `deliver` unless a stop came since `generation`.
    void deliver(quint64 generation, const std::function<void()>& deliver)
    {
        const std::lock_guard lock(delivery_);
        if (generation == generation_) deliver();
    }

private:
    SpeechWorker()
    {
        std::thread([this] { loop(); }).detach();
    }

    void loop()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return !tasks_.empty(); });
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::mutex delivery_;
    std::atomic<quint64> generation_{0};
};

// The eSpeak NG functions the engine calls, loaded with the library when it first speaks.
struct Espeak
{
    decltype(&espeak_ng_InitializePath) initializePath = nullptr;
    decltype(&espeak_ng_Initialize) initialize = nullptr;
    decltype(&espeak_ng_ClearErrorContext) clearErrorContext = nullptr;
    decltype(&espeak_ng_InitializeOutput) initializeOutput = nullptr;
    decltype(&espeak_ng_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_ng_GetSampleRate) getSampleRate = nullptr;
    decltype(&espeak_ng_SetParameter) setParameter = nullptr;
    decltype(&espeak_ng_Synthesize) synthesize = nullptr;
};
Espeak espeak; // worker thread only; complete once loadEngine has loaded the library

// What the synthesis running on the worker collects, and the generation it belongs to.
struct Synthesis
{
    quint64 generation;
    std::vector<int16_t> samples;
};
Synthesis* running = nullptr; // worker thread only

int collectSamples(short* wave, int count, espeak_EVENT*)
{
    if (!running || running->generation != SpeechWorker::instance().generation()) return 1; // stopped
    if (wave) running->samples.insert(running->samples.end(), wave, wave + count);
    return 0;
}

void check(espeak_ng_STATUS status, const char* what)
{
    if (status != ENS_OK) throw SpeechError(std::string("speech engine: ") + what);
}

// Pitch and pitch range of each speaking style: a plain statement, a firm command, an excited
// warning and a calm reading.
void setStyle(int pitch, int range)
{
    check(espeak.setParameter(espeakPITCH, pitch, 0), "pitch");
    check(espeak.setParameter(espeakRANGE, range, 0), "pitch range");
}

void applyStyle(int flags)
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

// Worker: the library's functions, or why they cannot be had.
void loadLibrary()
{
    LibraryFunctions library(QStringLiteral(MUSETRA_LIBESPEAK));
    Espeak found;
    library.resolve(found.initializePath, "espeak_ng_InitializePath");
    library.resolve(found.initialize, "espeak_ng_Initialize");
    library.resolve(found.clearErrorContext, "espeak_ng_ClearErrorContext");
    library.resolve(found.initializeOutput, "espeak_ng_InitializeOutput");
    library.resolve(found.setVoiceByName, "espeak_ng_SetVoiceByName");
    library.resolve(found.setSynthCallback, "espeak_SetSynthCallback");
    library.resolve(found.getSampleRate, "espeak_ng_GetSampleRate");
    library.resolve(found.setParameter, "espeak_ng_SetParameter");
    library.resolve(found.synthesize, "espeak_ng_Synthesize");
    if (!library.complete()) throw SpeechError("speech engine: " + library.errorString().toStdString());
    espeak = found;
}

// Worker: loads the engine once for the process, synthesising into memory; its sample rate.
int loadEngine()
{
    static bool loaded = false;
    if (!loaded) {
        loadLibrary();
        espeak.initializePath(nullptr);
        espeak_ng_ERROR_CONTEXT context = nullptr;
        const espeak_ng_STATUS status = espeak.initialize(&context);
        espeak.clearErrorContext(&context);
        check(status, "no voice data");
        check(espeak.initializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kBufferMs, nullptr), "no output");
        check(espeak.setVoiceByName(kVoice), "no English voice");
        espeak.setSynthCallback(collectSamples);
        loaded = true;
    }
    return espeak.getSampleRate();
}

// Worker: says `text` into `output` unless a stop comes first or the engine never loaded.
void synthesise(const QByteArray& utf8, int speed, int flags, quint64 generation,
                const std::shared_ptr<SpeechOutput>& output, bool loaded)
{
    SpeechWorker& worker = SpeechWorker::instance();
    if (!loaded || generation != worker.generation()) return;
    try {
        if (speed > 0) check(espeak.setParameter(espeakRATE, speed, 0), "speed");
        applyStyle(flags);
        Synthesis synthesis{generation, {}};
        running = &synthesis;
        const espeak_ng_STATUS status =
            espeak.synthesize(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                              espeakCHARS_UTF8, nullptr, nullptr);
        running = nullptr;
        if (status == ENS_SPEECH_STOPPED) return; // a stop cut it: nothing went wrong
        check(status, "speak");
        const int rate = espeak.getSampleRate();
        worker.deliver(generation, [&] { output->play(synthesis.samples, rate); });
    } catch (const SpeechError& error) {
        running = nullptr;
        qCWarning(lcEspeak) << "announcement not spoken:" << error.what();
    }
}

// Worker: loads the engine and opens `output`; on success sets `sampleRate`, else says why not.
std::optional<SpeechMissing> openEngine(SpeechOutput& output, std::atomic<int>& sampleRate)
{
    try {
        const int rate = loadEngine();
        switch (output.open()) {
        case SpeechOutput::Opened::Heard:
            sampleRate = rate;
            return std::nullopt;
        case SpeechOutput::Opened::NoAnswer:
            qCWarning(lcEspeak) << "no speech: the sound device does not answer";
            return SpeechMissing::DeviceSilent;
        case SpeechOutput::Opened::NoDevice:
            break;
        }
        qCWarning(lcEspeak) << "no speech: no sound device";
    } catch (const SpeechError& error) {
        qCWarning(lcEspeak) << "no speech:" << error.what();
    }
    return SpeechMissing::NoEngine;
}

// The voice whose output is in use (one at a time: the engine has one set of parameters).
EspeakSpeech* engineOwner = nullptr;

} // namespace

// What the worker learns of the engine, shared with it so that a task outliving the voice finds it.
struct EspeakSpeech::Engine
{
    std::atomic<int> sampleRate{0};
    std::atomic<bool> missing{false};
    std::atomic<bool> settled{false};

    // Ends the opening: true for the first caller only (the worker, the watchdog, the voice's end).
    bool settle() { return !settled.exchange(true); }
    // Forgets the engine and tells `unavailable` why, on the window thread.
    void giveUp(SpeechMissing why, const std::function<void(SpeechMissing)>& unavailable)
    {
        missing = true;
        if (unavailable && qApp)
            QMetaObject::invokeMethod(
                qApp, [unavailable, why] { unavailable(why); }, Qt::QueuedConnection);
    }
};

EspeakSpeech::EspeakSpeech(Output output) : engine_(std::make_shared<Engine>())
{
    if (output == Output::Memory) {
        memory_ = std::make_shared<MemorySpeechOutput>();
        output_ = memory_;
    } else {
        output_ = makeDeviceSpeechOutput();
    }
}

EspeakSpeech::~EspeakSpeech()
{
    if (engineOwner == this) engineOwner = nullptr;
    if (!registered_) return;
    (void)engine_->settle(); // an opening still under way tells no one
    stop();
    // The output goes on the worker, after what it still does for it; a worker busy for longer is
    // left behind.
    (void)SpeechWorker::instance()
        .run([output = std::move(output_)]() mutable { output.reset(); })
        .wait_for(kShutdownTimeout);
}

void EspeakSpeech::Register(const QString&, const QString&)
{
    if (engine_->missing) throw SpeechError("speech engine: missing");
    if (registered_) return;
    if (engineOwner) throw SpeechError("speech engine: already in use");
    // libmpv refuses to start under any other numeric locale; only the window thread sets it.
    std::setlocale(LC_NUMERIC, "C");
    SpeechWorker::instance().post([output = output_, engine = engine_, unavailable = unavailable_] {
        std::atomic<int> rate{0};
        const std::optional<SpeechMissing> missing = openEngine(*output, rate);
        if (!engine->settle()) return;
        engine->sampleRate = rate.load();
        if (missing) engine->giveUp(*missing, unavailable);
    });
    // The engine itself reaches for the sound server as it loads, and may wait on it for good.
    QTimer::singleShot(kOpenTimeout, qApp, [engine = engine_, unavailable = unavailable_] {
        if (!engine->settle()) return;
        qCWarning(lcEspeak) << "no speech: the engine does not answer";
        engine->giveUp(SpeechMissing::DeviceSilent, unavailable);
    });
    engineOwner = this;
    registered_ = true;
}

void EspeakSpeech::Speak(const QString& text, int flags)
{
    if (!registered_ || !enabled_) return;
    SpeechWorker& worker = SpeechWorker::instance();
    worker.post([utf8 = text.toUtf8(), speed = speed_, flags, generation = worker.generation(),
                 output = output_,
                 engine = engine_] { synthesise(utf8, speed, flags, generation, output, !engine->missing); });
}

void EspeakSpeech::stop()
{
    if (registered_) SpeechWorker::instance().stopAll([this] { output_->stop(); });
}

void EspeakSpeech::setVolume(double gain)
{
    output_->setVolume(gain);
}

int EspeakSpeech::sampleRate() const
{
    return engine_->sampleRate;
}

std::vector<int16_t> EspeakSpeech::samples() const
{
    return memory_ ? memory_->samples() : std::vector<int16_t>();
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

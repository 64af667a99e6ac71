#include "platform/speechoutput.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <thread>

#include <mpv/client.h>
#include <mpv/render.h>

#include "platform/libmpv.h"

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcSpeechOutput, "musetra.platform.speechoutput")

constexpr int kProbeRate = 22050;
constexpr int kProbeMs = 50;
// How long the first sound may take to be heard (or refused) through the sound server.
constexpr int kProbeTimeoutMs = 2000;
// How long the end of a core is waited for: one whose sound server stopped answering never ends.
constexpr auto kDestroyTimeout = std::chrono::milliseconds(300);

template<class T> void append(QByteArray& bytes, T value)
{
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// A mono 16-bit PCM WAV file of `samples`.
QByteArray wavFile(const std::vector<int16_t>& samples, int rate)
{
    const auto dataBytes = quint32(samples.size() * sizeof(int16_t));
    QByteArray wav;
    wav.reserve(44 + int(dataBytes));
    wav.append("RIFF");
    append<quint32>(wav, 36 + dataBytes);
    wav.append("WAVEfmt ");
    append<quint32>(wav, 16);
    append<quint16>(wav, 1); // PCM
    append<quint16>(wav, 1); // mono
    append<quint32>(wav, quint32(rate));
    append<quint32>(wav, quint32(rate) * 2);
    append<quint16>(wav, 2);
    append<quint16>(wav, 16);
    wav.append("data");
    append<quint32>(wav, dataBytes);
    for (const int16_t sample : samples)
        append<qint16>(wav, sample);
    return wav;
}

// Ends `core` on a thread of its own and waits for it a bounded time; a core still waiting on its
// sound server is left to end there, or with the process.
void destroyWithin(const Libmpv* mpv, mpv_handle* core)
{
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> done = ended->get_future();
    std::thread([mpv, core, ended] {
        mpv->terminateDestroy(core);
        ended->set_value();
    }).detach();
    (void)done.wait_for(kDestroyTimeout);
}

class DeviceSpeechOutput final : public SpeechOutput
{
public:
    ~DeviceSpeechOutput() override
    {
        if (handle_) destroyWithin(mpv_, handle_);
    }

    Opened open() override
    {
        if (handle_) return Opened::Heard;
        mpv_ = loadedLibmpv();
        mpv_handle* const core = mpv_ ? mpv_->create() : nullptr;
        if (!core) return Opened::NoDevice;
        static const MpvOption settings[] = {
            {"vid", "no"},
            {"audio-display", "no"},
            // The sound server names the stream after the title, which would be the whole sound.
            {"force-media-title", "Announcement"},
            // Only real devices: without one the probe fails rather than playing into nothing.
            {"ao", "pulse,alsa"},
        };
        setCoreOptions(*mpv_, core, settings);
        const Opened opened = mpv_->initialize(core) < 0 ? Opened::NoDevice : probe(core);
        if (opened != Opened::Heard) {
            destroyWithin(mpv_, core);
            return opened;
        }
        // Published only once it is heard, so a stop meanwhile never meets a core half made.
        const std::lock_guard lock(handleLock_);
        handle_ = core;
        applyVolume();
        return opened;
    }

    void play(const std::vector<int16_t>& samples, int rate) override
    {
        drainEvents();
        load(handle_, samples, rate, "append-play");
    }

    void stop() override
    {
        const char* command[] = {"stop", nullptr};
        const std::lock_guard lock(handleLock_);
        if (handle_) mpv_->commandAsync(handle_, 0, command);
    }

    void setVolume(double gain) override
    {
        const std::lock_guard lock(handleLock_);
        // mpv's volume v scales the wave by (v / 100)^3.
        volume_ = QByteArray::number(100.0 * std::cbrt(std::clamp(gain, 0.0, 1.0)), 'f', 3);
        if (handle_) applyVolume();
    }

private:
    // With `handleLock_` held.
    void applyVolume()
    {
        const char* command[] = {"set", "volume", volume_.constData(), nullptr};
        mpv_->commandAsync(handle_, 0, command);
    }

    void load(mpv_handle* core, const std::vector<int16_t>& samples, int rate, const char* how)
    {
        // From memory: mpv reads the sound from the hex text of its file name.
        const QByteArray url = "hex://" + wavFile(samples, rate).toHex();
        const char* command[] = {"loadfile", url.constData(), how, nullptr};
        if (mpv_->commandAsync(core, 0, command) < 0) qCWarning(lcSpeechOutput) << "announcement refused";
    }

    // Plays a moment of silence: it ends at its end only when a device took the sound, and not at
    // all while the sound server does not answer.
    Opened probe(mpv_handle* core)
    {
        load(core, std::vector<int16_t>(kProbeRate * kProbeMs / 1000), kProbeRate, "replace");
        QElapsedTimer waited;
        waited.start();
        for (qint64 left = kProbeTimeoutMs; left > 0; left = kProbeTimeoutMs - waited.elapsed()) {
            const mpv_event* event = mpv_->waitEvent(core, double(left) / 1000.0);
            if (event->event_id == MPV_EVENT_END_FILE)
                return static_cast<const mpv_event_end_file*>(event->data)->reason == MPV_END_FILE_REASON_EOF
                           ? Opened::Heard
                           : Opened::NoDevice;
        }
        qCWarning(lcSpeechOutput) << "the sound device does not answer";
        return Opened::NoAnswer;
    }

    // Nothing waits for the events of this core: they are dropped so they do not pile up.
    void drainEvents()
    {
        while (mpv_->waitEvent(handle_, 0)->event_id != MPV_EVENT_NONE) {
        }
    }

    const Libmpv* mpv_ = nullptr;
    // Made, used and destroyed on the speech worker; `stop` and `setVolume` may come from the window
    // thread and read it under `handleLock_`, which also guards `volume_`.
    std::mutex handleLock_;
    mpv_handle* handle_ = nullptr;
    QByteArray volume_ = "100";
};

} // namespace

std::unique_ptr<SpeechOutput> makeDeviceSpeechOutput()
{
    return std::make_unique<DeviceSpeechOutput>();
}

void MemorySpeechOutput::play(const std::vector<int16_t>& samples, int rate)
{
    const std::lock_guard lock(mutex_);
    samples_.insert(samples_.end(), samples.begin(), samples.end());
    rate_ = rate;
}

std::vector<int16_t> MemorySpeechOutput::samples() const
{
    const std::lock_guard lock(mutex_);
    return samples_;
}

int MemorySpeechOutput::rate() const
{
    const std::lock_guard lock(mutex_);
    return rate_;
}

} // namespace platform

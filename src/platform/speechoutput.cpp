#include "platform/speechoutput.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QtEndian>

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

class DeviceSpeechOutput final : public SpeechOutput
{
public:
    ~DeviceSpeechOutput() override
    {
        if (handle_) mpv_->terminateDestroy(handle_);
    }

    bool open(std::string& reason) override
    {
        if (handle_) return true;
        mpv_ = loadedLibmpv();
        mpv_handle* const core = mpv_ ? mpv_->create() : nullptr;
        if (!core) {
            reason = "no audio player";
            return false;
        }
        static const MpvOption settings[] = {
            {"vid", "no"},
            {"audio-display", "no"},
            // The sound server names the stream after the title, which would be the whole sound.
            {"force-media-title", "Announcement"},
            // Only real devices: without one the probe fails rather than playing into nothing.
            {"ao", "pulse,alsa"},
        };
        setCoreOptions(*mpv_, core, settings);
        if (mpv_->initialize(core) < 0 || !probe(core)) {
            reason = "no audio output";
            mpv_->terminateDestroy(core);
            return false;
        }
        // Published only once it is heard, so a stop meanwhile never meets a core half made.
        const std::lock_guard lock(handleLock_);
        handle_ = core;
        return true;
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

private:
    void load(mpv_handle* core, const std::vector<int16_t>& samples, int rate, const char* how)
    {
        // From memory: mpv reads the sound from the hex text of its file name.
        const QByteArray url = "hex://" + wavFile(samples, rate).toHex();
        const char* command[] = {"loadfile", url.constData(), how, nullptr};
        if (mpv_->commandAsync(core, 0, command) < 0) qCWarning(lcSpeechOutput) << "announcement refused";
    }

    // Plays a moment of silence: it ends at its end only when a device took the sound.
    bool probe(mpv_handle* core)
    {
        load(core, std::vector<int16_t>(kProbeRate * kProbeMs / 1000), kProbeRate, "replace");
        QElapsedTimer waited;
        waited.start();
        for (qint64 left = kProbeTimeoutMs; left > 0; left = kProbeTimeoutMs - waited.elapsed()) {
            const mpv_event* event = mpv_->waitEvent(core, double(left) / 1000.0);
            if (event->event_id == MPV_EVENT_END_FILE)
                return static_cast<const mpv_event_end_file*>(event->data)->reason == MPV_END_FILE_REASON_EOF;
        }
        return false;
    }

    // Nothing waits for the events of this core: they are dropped so they do not pile up.
    void drainEvents()
    {
        while (mpv_->waitEvent(handle_, 0)->event_id != MPV_EVENT_NONE) {
        }
    }

    const Libmpv* mpv_ = nullptr;
    // Made, used and destroyed on the speech worker; `stop` may come from the window thread and
    // reads it under `handleLock_`.
    std::mutex handleLock_;
    mpv_handle* handle_ = nullptr;
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

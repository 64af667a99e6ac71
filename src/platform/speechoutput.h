#pragma once

// Where the voice of the announcements is heard. The device output is a libmpv core of its own,
// beside the media player's, so the voice mixes over the music in the sound server and can be
// silenced at once without touching the track; the memory output keeps the samples (checks without
// a sound card). `open` and `play` run on the speech worker; `stop` and `setVolume` may come from
// any thread and never wait. Owned by the speech object that uses it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class SpeechOutput
{
public:
    virtual ~SpeechOutput() = default;

    // What opening found: the output is heard, there is no sound device, or the device never
    // answered within the bound.
    enum class Opened { Heard, NoDevice, NoAnswer };

    // Readies the output and learns whether it is heard. Waits a bounded time.
    virtual Opened open() = 0;
    // Queues 16-bit mono samples at `rate` after whatever is still playing.
    virtual void play(const std::vector<int16_t>& samples, int rate) = 0;
    // Silences what is playing and drops what waits.
    virtual void stop() = 0;
    // Scales the sound's amplitude by `gain` (0 silent, 1 as synthesised), what plays now included.
    virtual void setVolume(double gain) = 0;
};

// Through the sound server or card, never a null device, so a machine without one says so.
std::unique_ptr<SpeechOutput> makeDeviceSpeechOutput();

class MemorySpeechOutput final : public SpeechOutput
{
public:
    Opened open() override { return Opened::Heard; }
    void play(const std::vector<int16_t>& samples, int rate) override;
    void stop() override {}
    void setVolume(double) override {}

    // Everything played so far as synthesised, whatever the volume, and the rate of the last samples.
    std::vector<int16_t> samples() const;
    int rate() const;

private:
    mutable std::mutex mutex_;
    std::vector<int16_t> samples_;
    int rate_ = 0;
};

} // namespace platform

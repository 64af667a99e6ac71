#pragma once

// The media player over libmpv. One mpv core plays one file at a time; its events are drained on
// the GUI thread. Video is drawn by mpv's software renderer into a VideoSurface placed inside the
// display widget, so it works on any Qt platform (X11, Wayland, offscreen) and needs no GL.
//
// How the device-style rules of MediaPlayer map onto mpv:
// - No call of the window thread waits on mpv's core: properties are set and commands given
//   asynchronously, in order, and positions, lengths and video sizes are the values mpv last
//   reported. A core that stops answering (a sound server that hangs, a stuck sink) leaves the
//   window answering.
// - The music itself is watched: `soundTroubleChanged` tells NotAnswering when a request has waited
//   kDeviceAnswerMs or the position of a playing file stands still for a few seconds (a sound
//   server that hangs mid-track answers requests but takes no sound), NoDevice while a file plays
//   through the null output that mpv falls back to when no device opens or the one in use is lost,
//   and None once the music plays again.
// - `open` gives the file to mpv and returns at once: the length is 0 until mpv has loaded the
//   file, and a file mpv cannot play closes then, failing its play command (Failure).
// - The file is unloaded by mpv when playback reaches its end (keep-open is off, so every end is an
//   explicit end-file event of that file); the player then stays "open" at the end position, and a
//   later play loads the file again at that position (or at the start, when it was at the end).
// - Volume is mpv's software volume (the `volume` property), never the system mixer. The 0..1000
//   volume is an amplitude (500 halves the wave, about -6 dB); mpv's property is cubic in amplitude,
//   so it gets the cube root. Changes while audio flows glide over a short time in amplitude, so a
//   stepped fade has no zipper noise.
//
// libmpv (and the decoders it links) is loaded, and the mpv core made, by `prepare` on a worker, or
// else by the first command that needs them, so a program that has not played yet holds neither;
// volume and display given before are applied then. `openWhenNeeded` names a file without loading
// either. Destruction waits for the core at most kShutdownMs; a core that does not end by then is
// left to the end of the process.
//
// GUI thread only. Owned by its QObject parent.

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <atomic>
#include <deque>
#include <future>
#include <map>
#include <memory>

#include "platform/mediaplayer.h"
#include "platform/videosurface.h"

class QTimer;
struct mpv_handle;
struct mpv_event;
struct mpv_render_context;

namespace platform {

struct MpvOptions
{
    QString audioOutput = QStringLiteral("pulse,alsa,null");
    // The null audio output plays as fast as it can (tests).
    bool untimed = false;
};

class MpvMediaPlayer final : public MediaPlayer
{
    Q_OBJECT

public:
    // A request mpv has not answered for this long means its sound device does not answer.
    static constexpr int kDeviceAnswerMs = 3000;
    static constexpr int kShutdownMs = 2000;

    explicit MpvMediaPlayer(QObject* parent = nullptr, const MpvOptions& options = {});
    ~MpvMediaPlayer() override;

    // False when the mpv core could not be made; every command then fails with error Device.
    // Asking makes the core.
    bool isValid() { return makeCore(); }
    // Loads libmpv and makes the core on a worker, then gives mpv a parked file: the first play
    // finds them ready.
    void prepare() override;

    bool open() override;
    bool openWhenNeeded() override;
    bool play(std::optional<int> endMs = std::nullopt) override;
    bool pause() override;
    bool stop() override;
    bool close() override;
    bool seek(int ms) override;

    int position() const override;
    int length() const override;
    PlayerMode mode() const override;

    int volume() const override { return volume_; }
    bool setVolume(int volume) override;

    void setDisplay(QWidget* widget) override;
    QWidget* display() const override { return display_; }
    void setDisplayRect(const QRect& rect) override;
    QRect displayRect() const override { return displayRect_; }

    // The widget that shows the video inside the display (null without a display).
    VideoSurface* videoSurface() const { return surface_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HandleDeleter
    {
        void operator()(mpv_handle* handle) const;
    };
    struct RenderDeleter
    {
        void operator()(mpv_render_context* context) const;
    };
    // Parked: named by openWhenNeeded, stopped at its start, not given to mpv yet.
    enum class FileState { Closed, Parked, Loaded, Ended };
    enum class LoadResult { Pending, Loaded, Failed };
    struct Core
    {
        mpv_handle* handle = nullptr;
        mpv_render_context* renderer = nullptr;
    };

    bool makeCore();         // false (error Device) when the core cannot be made
    bool coreUsable() const; // false (error Device) when making the core failed
    static Core startCore(const MpvOptions& options, double amplitude, MpvMediaPlayer* self);
    static mpv_render_context* startRenderer(mpv_handle* handle, MpvMediaPlayer* self);
    void adoptCore(Core core);
    void adoptPreparedCore();
    bool ready(); // error Device when the core could not be made, else drains what mpv has queued
    // Every command but play: uses up the notification switch, drains, checks for a file if needed.
    bool beginCommand(bool needsFile);

    // Events: the wakeup callback queues one drain; the drain handles everything mpv has queued.
    void queueDrain();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleReply(const mpv_event& event);
    void handleLoadReply(const mpv_event& event);
    void handleLengthReply(const mpv_event& event);
    void handleEndFile(const mpv_event& event);
    void handleLoadFailure(const QString& message);
    void handlePropertyChange(const mpv_event& event);
    void showVideoSize();

    bool nameOpenedFile(bool replacing);
    bool loadParked();
    bool loadToPlay();
    bool loadFile(int startMs);
    void unload(bool stopMpv = true);
    void startPlayback(std::optional<int> endMs);
    int playEndMs() const;
    void sendSeek(int ms);
    void reachedEnd();

    // Requests to mpv; each answer is awaited by the device watch, never by the caller.
    void track(quint64 replyId, const char* what);
    bool command(std::initializer_list<const char*> words, quint64 replyId, const char* what);
    void setFlag(const char* name, bool on);
    void setText(const char* name, const QString& value);
    void sendProperty(const char* name, int format, void* data);

    // The watch of the music: what keeps it from being heard now, told as it changes.
    void watchSound();
    SoundTrouble soundTrouble() const;
    bool requestOverdue() const;
    bool musicStalled() const;
    bool playsIntoNothing() const;
    bool musicPlays() const; // a loaded file plays, not paused
    void sampleProgress();

    void applyVolume();
    void sendVolume();
    void glideTimerTimeout();

    void queueRender();
    void renderVideo();
    void placeSurface();

    std::unique_ptr<mpv_handle, HandleDeleter> handle_;
    std::unique_ptr<mpv_render_context, RenderDeleter> renderer_;
    std::future<Core> prepared_; // the core `prepare` is making
    std::atomic<bool> drainQueued_{false};
    std::atomic<bool> renderQueued_{false};
    MpvOptions options_;
    bool coreFailed_ = false;

    FileState state_ = FileState::Closed;
    QString openedPath_; // the file of the last open, whatever the name says now
    bool playing_ = false;
    bool paused_ = false;
    quint64 loadSerial_ = 0;                // serial of the latest load (reply id of its loadfile)
    std::map<qint64, quint64> entrySerial_; // mpv playlist entry id -> load serial
    LoadResult loadResult_ = LoadResult::Pending;
    int lengthMs_ = 0;
    int positionMs_ = 0;              // mpv's last reported position in the loaded file
    bool startReached_ = false;       // mpv has played the loaded file from its start position
    int endPositionMs_ = 0;           // where playback stopped when mpv unloaded the file
    bool endedAtFileEnd_ = false;     // it stopped at the end of the file
    std::optional<int> playEnd_;      // the end point of the running play command
    std::optional<int> seekTargetMs_; // a seek mpv has not carried out yet
    quint64 seekSerial_ = 0;
    bool seekArmed_ = false;        // mpv has taken the latest seek: its playback restart is the next
    bool seekWaitsForLoad_ = false; // the seek goes to mpv once the file has loaded
    qint64 currentEntry_ = 0;       // mpv playlist entry of the file being loaded or played

    // Requests mpv has not answered yet: reply id -> when it was sent, and what it asked.
    std::map<quint64, std::pair<qint64, const char*>> unanswered_;
    quint64 requestSerial_ = 0;
    QTimer* soundWatch_;
    SoundTrouble soundTrouble_ = SoundTrouble::None; // as last told
    QString audioOutput_; // the output mpv plays through ("pulse", "null"...); empty without one
    std::deque<std::pair<qint64, int>> progress_; // (when, playing position) at the latest watches

    int volume_ = kMaxVolume;
    double appliedVolume_ = kMaxVolume; // the amplitude given to mpv now, 0..kMaxVolume
    double glideFrom_ = kMaxVolume;
    QTimer* glideTimer_;
    QElapsedTimer clock_;
    qint64 glideStartMs_ = 0;
    qint64 playStartedMs_ = 0;

    QPointer<QWidget> display_;
    QPointer<VideoSurface> surface_;
    QRect displayRect_;
    qint64 videoWidth_ = 0, videoHeight_ = 0; // as mpv reports them; 0 without video
    QSize videoSize_;                         // of the video now loaded; empty without video
    QImage scratch_;                          // frames go here while nothing shows them
};

} // namespace platform

#pragma once

// The media player over libmpv. One mpv core plays one file at a time; its events are drained on
// the GUI thread. Video is drawn by mpv's software renderer into a VideoSurface placed inside the
// display widget, so it works on any Qt platform (X11, Wayland, offscreen) and needs no GL.
//
// How the device-style rules of MediaPlayer map onto mpv:
// - `open` loads the file paused and waits (with a time limit) until mpv has loaded it or given up.
// - The file is unloaded by mpv when playback reaches its end (keep-open is off, so every end is an
//   explicit end-file event of that file); the player then stays "open" at the end position, and a
//   later play loads the file again at that position (or at the start, when it was at the end).
// - Volume is mpv's software volume (the `volume` property), never the system mixer. The 0..1000
//   volume is an amplitude (500 halves the wave, about -6 dB); mpv's property is cubic in amplitude,
//   so it gets the cube root. Changes while audio flows glide over a short time in amplitude, so a
//   stepped fade has no zipper noise.
//
// libmpv (and the decoders it links) is loaded, and the mpv core made, by the first command that
// needs them, so a program that has not played yet holds neither; volume and display given before
// are applied then. `openWhenNeeded` names a file without loading either.
//
// GUI thread only. Owned by its QObject parent. The mpv core is destroyed with the player.

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <atomic>
#include <functional>
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
    // How long `open` waits for mpv to load a file.
    int openTimeoutMs = 5000;
};

class MpvMediaPlayer final : public MediaPlayer
{
    Q_OBJECT

public:
    explicit MpvMediaPlayer(QObject* parent = nullptr, const MpvOptions& options = {});
    ~MpvMediaPlayer() override;

    // False when the mpv core could not be made; every command then fails with error Device.
    // Asking makes the core.
    bool isValid() { return makeCore(); }

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

    bool makeCore();         // false (error Device) when the core cannot be made
    bool coreUsable() const; // false (error Device) when making the core failed
    void createCore();
    void createRenderer();
    bool ready(); // error Device when the core could not be made, else drains what mpv has queued
    // Every command but play: uses up the notification switch, drains, checks for a file if needed.
    bool beginCommand(bool needsFile);

    // Events: the wakeup callback queues one drain; the drain handles everything mpv has queued.
    void queueDrain();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleEndFile(const mpv_event& event);
    void handleVideoReconfig();

    bool nameOpenedFile();
    bool loadParked();
    bool loadToPlay();
    bool loadFile(int startMs);
    void waitForEvents(const std::function<bool()>& done, int timeoutMs);
    void unload();
    void startPlayback(std::optional<int> endMs);
    void reachedEnd();

    void setFlag(const char* name, bool on);
    void setText(const char* name, const QString& value);
    double readDouble(const char* name, double fallback) const;

    void applyVolume();
    void sendVolume();
    void glideTimerTimeout();

    void queueRender();
    void renderVideo();
    void placeSurface();

    std::unique_ptr<mpv_handle, HandleDeleter> handle_;
    std::unique_ptr<mpv_render_context, RenderDeleter> renderer_;
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
    MediaError loadError_ = MediaError::None;
    QString loadErrorText_;
    int lengthMs_ = 0;
    int endPositionMs_ = 0;           // where playback stopped when mpv unloaded the file
    int playEndMs_ = 0;               // the end point of the running play command
    std::optional<int> seekTargetMs_; // a seek mpv has not carried out yet
    quint64 seekSerial_ = 0;
    bool seekArmed_ = false;  // mpv has taken the latest seek: its playback restart is the next
    qint64 currentEntry_ = 0; // mpv playlist entry of the file being loaded or played

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
    QSize videoSize_; // of the video now loaded; empty without video
    QImage scratch_;  // frames go here while nothing shows them
};

} // namespace platform

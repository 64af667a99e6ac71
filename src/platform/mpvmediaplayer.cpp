#include "platform/mpvmediaplayer.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <optional>

#include <mpv/client.h>
#include <mpv/render.h>

#include "platform/libmpv.h"
#include "platform/videosurface.h"

namespace platform {

namespace {

// mpv's own messages are info: decoders report damaged frames that playback survives.
Q_LOGGING_CATEGORY(lcMpv, "musetra.platform.mpv", QtWarningMsg)

// A volume change while audio flows is spread over this time, in steps of the glide timer.
constexpr int kGlideMs = 100;
constexpr int kGlideStepMs = 10;
// Right after a play command no audio has reached the output yet: the volume applies at once.
constexpr int kGlideAfterPlayMs = 250;
constexpr int kSeekTimeoutMs = 2000;
// Reply ids of seeks carry this bit; those of loads are the plain load serials.
constexpr quint64 kSeekReply = quint64{1} << 63;

QByteArray seconds(int ms)
{
    return QByteArray::number(ms / 1000.0, 'f', 3);
}

// mpv's volume v scales the wave by (v / 100)^3: the 0..1000 amplitude becomes its cube root.
double mpvVolume(double amplitude)
{
    return 100.0 * std::cbrt(amplitude / MediaPlayer::kMaxVolume);
}

int toMs(double seconds)
{
    return static_cast<int>(std::lround(seconds * 1000.0));
}

// The playlist entry id in the result of a loadfile command.
qint64 playlistEntryId(const mpv_node& result)
{
    if (result.format != MPV_FORMAT_NODE_MAP) return 0;
    for (int i = 0; i < result.u.list->num; ++i) {
        const mpv_node& value = result.u.list->values[i];
        if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 && value.format == MPV_FORMAT_INT64)
            return value.u.int64;
    }
    return 0;
}

// Only a player with a core calls into mpv, and a core means the library is loaded.
const Libmpv& libmpv()
{
    Q_ASSERT(loadedLibmpv());
    return *loadedLibmpv();
}

} // namespace

void MpvMediaPlayer::HandleDeleter::operator()(mpv_handle* handle) const
{
    libmpv().terminateDestroy(handle);
}

void MpvMediaPlayer::RenderDeleter::operator()(mpv_render_context* context) const
{
    libmpv().renderContextFree(context);
}

MpvMediaPlayer::MpvMediaPlayer(QObject* parent, const MpvOptions& options)
    : MediaPlayer(parent), options_(options), glideTimer_(new QTimer(this))
{
    clock_.start();
    glideTimer_->setInterval(kGlideStepMs);
    connect(glideTimer_, &QTimer::timeout, this, &MpvMediaPlayer::glideTimerTimeout);
}

MpvMediaPlayer::~MpvMediaPlayer()
{
    // Nothing discards a raw callback into a dead object: silence both before anything goes.
    if (renderer_) libmpv().renderContextSetUpdateCallback(renderer_.get(), nullptr, nullptr);
    if (handle_) libmpv().setWakeupCallback(handle_.get(), nullptr, nullptr);
    renderer_.reset(); // the render context must go before its core
    handle_.reset();
    delete surface_.data();
}

bool MpvMediaPlayer::makeCore()
{
    if (!handle_ && !coreFailed_) {
        createCore();
        coreFailed_ = !handle_;
    }
    return coreUsable();
}

bool MpvMediaPlayer::coreUsable() const
{
    if (coreFailed_) setError(MediaError::Device, QStringLiteral("The media player could not be started"));
    return !coreFailed_;
}

void MpvMediaPlayer::createCore()
{
    if (!loadedLibmpv()) return;
    // mpv parses numbers in the C locale and refuses to start under any other; Qt set the user's.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* handle = libmpv().create();
    if (!handle) {
        qCWarning(lcMpv) << "mpv_create failed";
        return;
    }
    handle_.reset(handle);
    const QByteArray audioOutput = options_.audioOutput.toUtf8();
    // What was set before the core existed.
    const QByteArray volume = QByteArray::number(mpvVolume(appliedVolume_), 'f', 3);
    const MpvOption settings[] = {
        {"input-vo-keyboard", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"keep-open", "no"}, // every end of a file is an explicit end-file event
        {"pause", "yes"},
        {"ao", audioOutput.constData()},
        {"ao-null-untimed", options_.untimed ? "yes" : "no"},
        {"vo", "libmpv"},
        {"vid", display_ ? "auto" : "no"}, // no video decoding until a display is given
        {"audio-display", "no"},           // cover pictures inside MP3 files are not video
        {"hr-seek", "yes"},
        {"hr-seek-demuxer-offset", "1"}, // MPEG-1 program streams otherwise land after the target
        {"volume-max", "100"},
        {"volume", volume.constData()},
    };
    setCoreOptions(libmpv(), handle, settings);
    libmpv().requestLogMessages(handle, "error");
    libmpv().setWakeupCallback(
        handle, [](void* self) { static_cast<MpvMediaPlayer*>(self)->queueDrain(); }, this);
    if (const int error = libmpv().initialize(handle); error < 0) {
        qCWarning(lcMpv) << "mpv_initialize failed:" << libmpv().errorString(error);
        libmpv().setWakeupCallback(handle, nullptr, nullptr);
        handle_.reset();
        return;
    }
    createRenderer();
}

void MpvMediaPlayer::createRenderer()
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    if (const int error = libmpv().renderContextCreate(&context, handle_.get(), params); error < 0) {
        qCWarning(lcMpv) << "no video renderer:" << libmpv().errorString(error);
        setText("vo", QStringLiteral("null"));
        return;
    }
    renderer_.reset(context);
    libmpv().renderContextSetUpdateCallback(
        context, [](void* self) { static_cast<MpvMediaPlayer*>(self)->queueRender(); }, this);
}

bool MpvMediaPlayer::ready()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (!coreUsable()) return false;
    drainEvents(); // commands act on the state mpv has reached, not on a stale one
    return true;
}

// --- commands ---------------------------------------------------------------------------------

bool MpvMediaPlayer::beginCommand(bool needsFile)
{
    takeCommand();
    if (!ready()) return false;
    if (needsFile && state_ == FileState::Closed) {
        setError(MediaError::NotOpen, QStringLiteral("No file is open"));
        return false;
    }
    clearError();
    return true;
}

bool MpvMediaPlayer::open()
{
    return nameOpenedFile() && loadParked();
}

bool MpvMediaPlayer::openWhenNeeded()
{
    return nameOpenedFile();
}

// The start of every open: whatever was open is closed and the named file, if it exists, waits
// parked for mpv.
bool MpvMediaPlayer::nameOpenedFile()
{
    if (!beginCommand(false)) return false;
    endPlay(NotifyValue::Aborted);
    unload();
    const QFileInfo file(fileName());
    if (!file.exists()) {
        setError(MediaError::FileNotFound, QStringLiteral("File not found: %1").arg(fileName()));
        return false;
    }
    if (!file.isFile()) {
        setError(MediaError::CannotOpen, QStringLiteral("Not a file: %1").arg(fileName()));
        return false;
    }
    openedPath_ = file.absoluteFilePath();
    state_ = FileState::Parked;
    return true;
}

// Gives a parked file to mpv, making the core first when there is none; true for any other state.
bool MpvMediaPlayer::loadParked()
{
    if (state_ != FileState::Parked) return true;
    if (!makeCore()) {
        state_ = FileState::Closed;
        return false;
    }
    return loadFile(0);
}

bool MpvMediaPlayer::play(std::optional<int> endMs)
{
    // Events first: a play that has just reached its end completes as Successful, not Superseded.
    const bool usable = ready();
    const quint64 serial = beginPlay();
    if (!usable || state_ == FileState::Closed) {
        if (usable) setError(MediaError::NotOpen, QStringLiteral("No file is open"));
        endPlay(NotifyValue::Failure, serial);
        return false;
    }
    clearError();
    if (!loadToPlay()) {
        endPlay(NotifyValue::Failure, serial);
        return false;
    }
    if (endMs && *endMs <= position()) {
        playing_ = paused_ = false;
        setFlag("pause", true);
        endPlay(NotifyValue::Successful, serial);
        return true;
    }
    startPlayback(endMs);
    return true;
}

// mpv has no file to play when it is parked or has ended: it gets it again.
bool MpvMediaPlayer::loadToPlay()
{
    if (state_ == FileState::Parked) return loadParked();
    if (state_ != FileState::Ended) return true;
    // A play at the end starts again from the beginning.
    return loadFile(endPositionMs_ >= lengthMs_ ? 0 : endPositionMs_);
}

void MpvMediaPlayer::startPlayback(std::optional<int> endMs)
{
    playEndMs_ = endMs ? std::min(*endMs, lengthMs_) : lengthMs_;
    setText("end", endMs ? QString::fromLatin1(seconds(*endMs)) : QStringLiteral("none"));
    setFlag("pause", false);
    playing_ = true;
    paused_ = false;
    playStartedMs_ = clock_.elapsed();
}

bool MpvMediaPlayer::pause()
{
    if (!beginCommand(true)) return false;
    if (state_ == FileState::Loaded && playing_) {
        setFlag("pause", true);
        playing_ = false;
        paused_ = true;
    }
    return true;
}

bool MpvMediaPlayer::stop()
{
    if (!beginCommand(true)) return false;
    endPlay(NotifyValue::Aborted);
    if (state_ == FileState::Loaded) setFlag("pause", true);
    playing_ = paused_ = false;
    return true;
}

bool MpvMediaPlayer::close()
{
    if (!beginCommand(false)) return false;
    endPlay(NotifyValue::Aborted);
    unload();
    return true;
}

bool MpvMediaPlayer::seek(int ms)
{
    if (!beginCommand(true) || !loadParked()) return false;
    endPlay(NotifyValue::Aborted);
    const int target = std::clamp(ms, 0, lengthMs_);
    playing_ = paused_ = false;
    if (state_ == FileState::Ended) {
        endPositionMs_ = target;
        return true;
    }
    setFlag("pause", true);
    const QByteArray to = seconds(target);
    const char* command[] = {"seek", to.constData(), "absolute+exact", nullptr};
    if (libmpv().commandAsync(handle_.get(), kSeekReply | ++seekSerial_, command) < 0) {
        setError(MediaError::Device, QStringLiteral("Seek failed"));
        return false;
    }
    // Like a waited device seek: the position is the new one when seek returns. Should mpv take
    // longer, the target stands in for the position until it is there.
    seekTargetMs_ = target;
    seekArmed_ = false;
    waitForEvents([this] { return !seekTargetMs_; }, kSeekTimeoutMs);
    return true;
}

// --- queries ----------------------------------------------------------------------------------

int MpvMediaPlayer::position() const
{
    if (state_ == FileState::Closed) {
        setError(MediaError::NotOpen, QStringLiteral("No file is open"));
        return 0;
    }
    clearError();
    if (state_ == FileState::Parked) return 0;
    if (state_ == FileState::Ended) return endPositionMs_;
    if (seekTargetMs_) return *seekTargetMs_;
    // Without a position mpv has just let go of the file at its end; the end-file event follows.
    const double at = readDouble("time-pos", playing_ ? playEndMs_ / 1000.0 : 0.0);
    return std::clamp(toMs(at), 0, lengthMs_);
}

int MpvMediaPlayer::length() const
{
    // Only mpv knows the length of a parked file: the query opens it, as a command would.
    if (state_ == FileState::Parked && !const_cast<MpvMediaPlayer*>(this)->loadParked()) return 0;
    if (state_ == FileState::Closed) {
        setError(MediaError::NotOpen, QStringLiteral("No file is open"));
        return 0;
    }
    clearError();
    return lengthMs_;
}

PlayerMode MpvMediaPlayer::mode() const
{
    switch (state_) {
    case FileState::Closed:
        return PlayerMode::NotReady;
    case FileState::Parked:
    case FileState::Ended:
        return PlayerMode::Stopped;
    case FileState::Loaded:
        break;
    }
    if (playing_) return PlayerMode::Playing;
    return paused_ ? PlayerMode::Paused : PlayerMode::Stopped;
}

// --- loading ----------------------------------------------------------------------------------

bool MpvMediaPlayer::loadFile(int startMs)
{
    // Options set at run time stay for later files: give both ends every time.
    setText("end", QStringLiteral("none"));
    setText("start", startMs > 0 ? QString::fromLatin1(seconds(startMs)) : QStringLiteral("none"));
    setFlag("pause", true);
    playing_ = paused_ = false;
    seekTargetMs_.reset();
    loadResult_ = LoadResult::Pending;
    // The file that was opened: a name given since then waits for the next open.
    const QByteArray path = QFile::encodeName(openedPath_);
    const char* command[] = {"loadfile", path.constData(), "replace", nullptr};
    if (libmpv().commandAsync(handle_.get(), ++loadSerial_, command) < 0) {
        setError(MediaError::Device, QStringLiteral("The media player refused the file"));
        return false;
    }
    // Length and position must be known when open returns, so wait here for the outcome.
    waitForEvents([this] { return loadResult_ != LoadResult::Pending; }, options_.openTimeoutMs);
    if (loadResult_ != LoadResult::Loaded) {
        if (loadResult_ == LoadResult::Pending) {
            loadResult_ = LoadResult::Failed;
            const char* stopCommand[] = {"stop", nullptr};
            libmpv().command(handle_.get(), stopCommand);
            setError(MediaError::TimedOut, QStringLiteral("Timed out opening %1").arg(openedPath_));
        } else {
            setError(loadError_, loadErrorText_);
        }
        unload();
        return false;
    }
    state_ = FileState::Loaded;
    lengthMs_ = std::max(0, toMs(readDouble("duration", 0.0)));
    clearError();
    return true;
}

void MpvMediaPlayer::waitForEvents(const std::function<bool()>& done, int timeoutMs)
{
    // Events of the wait are handled as the drain would handle them.
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        const qint64 left = timeoutMs - waited.elapsed();
        if (left <= 0) return;
        const mpv_event* event = libmpv().waitEvent(handle_.get(), static_cast<double>(left) / 1000.0);
        if (event->event_id != MPV_EVENT_NONE) handleEvent(*event);
    }
}

void MpvMediaPlayer::unload()
{
    if (state_ == FileState::Loaded) {
        const char* command[] = {"stop", nullptr};
        libmpv().command(handle_.get(), command);
    }
    state_ = FileState::Closed;
    playing_ = paused_ = false;
    seekTargetMs_.reset();
    lengthMs_ = 0;
    videoSize_ = QSize();
    if (surface_) {
        surface_->clearFrame();
        surface_->hide();
    }
}

void MpvMediaPlayer::reachedEnd()
{
    state_ = FileState::Ended;
    endPositionMs_ = playing_ ? playEndMs_ : lengthMs_;
    playing_ = paused_ = false;
    seekTargetMs_.reset();
    endPlay(NotifyValue::Successful);
}

// --- events -----------------------------------------------------------------------------------

void MpvMediaPlayer::queueDrain()
{
    // Any mpv thread. One queued drain is enough however often mpv wakes us.
    if (!drainQueued_.exchange(true))
        QMetaObject::invokeMethod(this, &MpvMediaPlayer::drainEvents, Qt::QueuedConnection);
}

void MpvMediaPlayer::drainEvents()
{
    Q_ASSERT(QThread::currentThread() == thread());
    drainQueued_ = false;
    if (!handle_) return;
    for (;;) {
        const mpv_event* event = libmpv().waitEvent(handle_.get(), 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        handleEvent(*event);
    }
}

void MpvMediaPlayer::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY: {
        // The reply of a loadfile comes before any event of its entry: mpv runs the command and
        // its play loop on one thread.
        if (event.reply_userdata == 0) break;
        if (event.reply_userdata == (kSeekReply | seekSerial_)) {
            // Playback restarts reported before this reply belong to earlier seeks or loads.
            seekArmed_ = true;
            break;
        }
        if (event.error < 0) {
            if (event.reply_userdata == loadSerial_ && loadResult_ == LoadResult::Pending) {
                loadResult_ = LoadResult::Failed;
                loadError_ = MediaError::CannotOpen;
                loadErrorText_ = QString::fromUtf8(libmpv().errorString(event.error));
            }
            break;
        }
        const auto* reply = static_cast<const mpv_event_command*>(event.data);
        if (const qint64 entry = playlistEntryId(reply->result)) entrySerial_[entry] = event.reply_userdata;
        break;
    }
    case MPV_EVENT_START_FILE:
        currentEntry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED: {
        const auto entry = entrySerial_.find(currentEntry_);
        if (entry != entrySerial_.end() && entry->second == loadSerial_ && loadResult_ == LoadResult::Pending)
            loadResult_ = LoadResult::Loaded;
        break;
    }
    case MPV_EVENT_END_FILE:
        handleEndFile(event);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (seekArmed_) seekTargetMs_.reset();
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        handleVideoReconfig();
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        qCInfo(lcMpv).noquote() << message->prefix << QString::fromUtf8(message->text).trimmed();
        break;
    }
    default:
        break;
    }
}

void MpvMediaPlayer::handleEndFile(const mpv_event& event)
{
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    const auto entry = entrySerial_.find(end->playlist_entry_id);
    if (entry == entrySerial_.end()) return;
    const quint64 serial = entry->second;
    entrySerial_.erase(entry);
    if (serial != loadSerial_) return; // a file that an earlier open replaced
    if (loadResult_ == LoadResult::Pending) {
        // Missing, unreadable or corrupt: mpv gives up before the file is loaded.
        loadResult_ = LoadResult::Failed;
        loadError_ = MediaError::CannotOpen;
        loadErrorText_ = QStringLiteral("Cannot play %1: %2")
                             .arg(openedPath_, QString::fromUtf8(libmpv().errorString(end->error)));
        return;
    }
    if (state_ != FileState::Loaded || loadResult_ != LoadResult::Loaded) return;
    if (end->reason == MPV_END_FILE_REASON_EOF) {
        reachedEnd();
        return;
    }
    qCWarning(lcMpv) << "playback ended:" << openedPath_ << libmpv().errorString(end->error);
    // The file is gone from mpv: the player is closed, and a position query says so.
    const bool failed = end->reason == MPV_END_FILE_REASON_ERROR;
    unload();
    endPlay(failed ? NotifyValue::Failure : NotifyValue::Aborted);
}

// --- properties -------------------------------------------------------------------------------

void MpvMediaPlayer::setFlag(const char* name, bool on)
{
    int flag = on ? 1 : 0;
    if (handle_ && libmpv().setProperty(handle_.get(), name, MPV_FORMAT_FLAG, &flag) < 0)
        qCWarning(lcMpv) << "mpv property refused:" << name;
}

void MpvMediaPlayer::setText(const char* name, const QString& value)
{
    if (handle_ && libmpv().setPropertyString(handle_.get(), name, value.toUtf8().constData()) < 0)
        qCWarning(lcMpv) << "mpv property refused:" << name << value;
}

double MpvMediaPlayer::readDouble(const char* name, double fallback) const
{
    double value = 0;
    if (!handle_ || libmpv().getProperty(handle_.get(), name, MPV_FORMAT_DOUBLE, &value) < 0) return fallback;
    return value;
}

// --- volume -----------------------------------------------------------------------------------

bool MpvMediaPlayer::setVolume(int volume)
{
    volume_ = std::clamp(volume, 0, kMaxVolume);
    if (!coreUsable()) return false;
    clearError();
    applyVolume();
    return true;
}

void MpvMediaPlayer::applyVolume()
{
    const bool audioFlows = playing_ && clock_.elapsed() - playStartedMs_ >= kGlideAfterPlayMs;
    if (!audioFlows || volume_ == appliedVolume_) {
        glideTimer_->stop();
        appliedVolume_ = volume_;
        sendVolume();
        return;
    }
    // mpv multiplies each block of samples by one gain, so a jump is a step in the waveform: a
    // click, and a fade of such steps buzzes. Gliding in small steps keeps every step inaudible.
    glideFrom_ = appliedVolume_;
    glideStartMs_ = clock_.elapsed();
    glideTimer_->start();
    glideTimerTimeout();
}

void MpvMediaPlayer::glideTimerTimeout()
{
    const double target = volume_;
    const double done = std::min(1.0, static_cast<double>(clock_.elapsed() - glideStartMs_) / kGlideMs);
    appliedVolume_ = done >= 1.0 ? target : glideFrom_ + (target - glideFrom_) * done;
    if (done >= 1.0) glideTimer_->stop();
    sendVolume();
}

void MpvMediaPlayer::sendVolume()
{
    if (!handle_) return;
    double volume = mpvVolume(appliedVolume_);
    libmpv().setProperty(handle_.get(), "volume", MPV_FORMAT_DOUBLE, &volume);
}

// --- video ------------------------------------------------------------------------------------

void MpvMediaPlayer::setDisplay(QWidget* widget)
{
    if (widget == display_) return;
    if (display_) display_->removeEventFilter(this);
    delete surface_.data();
    display_ = widget;
    if (widget) {
        surface_ = new VideoSurface(widget);
        widget->installEventFilter(this);
        placeSurface();
        surface_->setVisible(videoSize_.isValid());
    }
    setText("vid", widget ? QStringLiteral("auto") : QStringLiteral("no"));
}

void MpvMediaPlayer::setDisplayRect(const QRect& rect)
{
    displayRect_ = rect;
    placeSurface();
}

bool MpvMediaPlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == display_ && event->type() == QEvent::Resize && displayRect_.isEmpty()) placeSurface();
    return MediaPlayer::eventFilter(watched, event);
}

void MpvMediaPlayer::placeSurface()
{
    if (surface_ && display_) surface_->setGeometry(displayRect_.isEmpty() ? display_->rect() : displayRect_);
}

void MpvMediaPlayer::handleVideoReconfig()
{
    qint64 w = 0, h = 0;
    if (libmpv().getProperty(handle_.get(), "dwidth", MPV_FORMAT_INT64, &w) < 0 ||
        libmpv().getProperty(handle_.get(), "dheight", MPV_FORMAT_INT64, &h) < 0) {
        w = h = 0;
    }
    videoSize_ = w > 0 && h > 0 ? QSize(static_cast<int>(w), static_cast<int>(h)) : QSize();
    if (surface_) {
        surface_->setVisible(videoSize_.isValid());
        if (!videoSize_.isValid()) surface_->clearFrame();
    }
}

void MpvMediaPlayer::queueRender()
{
    // mpv's video thread; the render itself happens on the GUI thread.
    if (!renderQueued_.exchange(true))
        QMetaObject::invokeMethod(this, &MpvMediaPlayer::renderVideo, Qt::QueuedConnection);
}

void MpvMediaPlayer::renderVideo()
{
    renderQueued_ = false;
    if (!renderer_ || !(libmpv().renderContextUpdate(renderer_.get()) & MPV_RENDER_UPDATE_FRAME)) return;
    // Frames are rendered at the video's own size; the surface scales them when it paints. A frame
    // nobody shows is still rendered (into the scratch image) so mpv's timing goes on.
    const bool shown = surface_ && videoSize_.isValid();
    QImage& image = shown ? surface_->frame(videoSize_) : scratch_;
    if (image.isNull()) image = QImage(16, 16, QImage::Format_RGB32);
    int size[2] = {image.width(), image.height()};
    size_t stride = static_cast<size_t>(image.bytesPerLine());
    // QImage::Format_RGB32 in memory order.
    const char* format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "bgr0" : "0rgb";
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},      {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride}, {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    libmpv().renderContextRender(renderer_.get(), params);
    if (!shown) return;
    // The fourth byte is undefined after rendering; RGB32 wants it opaque.
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    surface_->update();
}

} // namespace platform

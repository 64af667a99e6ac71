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
#include <chrono>
#include <clocale>
#include <cmath>
#include <optional>
#include <thread>
#include <vector>

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
constexpr int kSoundWatchMs = 500;
// Music that has moved on less than kStallProgressMs in kStallMs of playing stands still. The
// first sound of a file over a sound server can take two seconds to move the position.
constexpr int kStallMs = 4000;
constexpr int kStallProgressMs = 1000;
// Reply ids: those of loads are the plain load serials; the others carry one of these bits.
constexpr quint64 kSeekReply = quint64{1} << 63;
constexpr quint64 kRequestReply = quint64{1} << 62;
constexpr quint64 kLengthReply = quint64{1} << 61;
constexpr quint64 kReplyKinds = kSeekReply | kRequestReply | kLengthReply;
// Ids of the properties mpv reports as they change.
enum Observed : quint64 { kTimePos = 1, kVideoWidth, kVideoHeight, kAudioOutput };

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

// Ends a core on a thread of its own and waits for it at most kShutdownMs: a core stuck on its
// sound device stays behind and goes with the process.
void endCore(mpv_render_context* renderer, mpv_handle* handle)
{
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> done = ended->get_future();
    std::thread([renderer, handle, ended] {
        if (renderer) libmpv().renderContextFree(renderer); // the render context goes before its core
        libmpv().terminateDestroy(handle);
        ended->set_value();
    }).detach();
    if (done.wait_for(std::chrono::milliseconds(MpvMediaPlayer::kShutdownMs)) != std::future_status::ready)
        qCWarning(lcMpv) << "the media player's sound device does not answer; its core is left behind";
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
    : MediaPlayer(parent), options_(options), soundWatch_(new QTimer(this)), glideTimer_(new QTimer(this))
{
    clock_.start();
    soundWatch_->setInterval(kSoundWatchMs);
    connect(soundWatch_, &QTimer::timeout, this, &MpvMediaPlayer::watchSound);
    glideTimer_->setInterval(kGlideStepMs);
    connect(glideTimer_, &QTimer::timeout, this, &MpvMediaPlayer::glideTimerTimeout);
}

MpvMediaPlayer::~MpvMediaPlayer()
{
    // A core still being made is finished first: making one never waits on a sound device.
    if (prepared_.valid()) {
        const Core core = prepared_.get();
        handle_.reset(core.handle);
        renderer_.reset(core.renderer);
    }
    // Nothing discards a raw callback into a dead object: silence both before anything goes.
    if (renderer_) libmpv().renderContextSetUpdateCallback(renderer_.get(), nullptr, nullptr);
    if (handle_) libmpv().setWakeupCallback(handle_.get(), nullptr, nullptr);
    delete surface_.data();
    if (handle_) endCore(renderer_.release(), handle_.release());
}

void MpvMediaPlayer::prepare()
{
    if (handle_ || coreFailed_ || prepared_.valid()) return;
    // mpv parses numbers in the C locale and refuses to start under any other; Qt set the user's.
    std::setlocale(LC_NUMERIC, "C");
    prepared_ = std::async(std::launch::async, [this, options = options_, amplitude = appliedVolume_] {
        const Core core = startCore(options, amplitude, this);
        QMetaObject::invokeMethod(this, &MpvMediaPlayer::adoptPreparedCore, Qt::QueuedConnection);
        return core;
    });
}

void MpvMediaPlayer::adoptPreparedCore()
{
    if (!prepared_.valid() || handle_) return;
    adoptCore(prepared_.get());
    // A parked file goes to mpv now, so its audio output and decoder are ready for the first play.
    (void)loadParked();
}

bool MpvMediaPlayer::makeCore()
{
    if (!handle_ && !coreFailed_) {
        if (prepared_.valid()) {
            adoptCore(prepared_.get());
        } else {
            std::setlocale(LC_NUMERIC, "C");
            adoptCore(startCore(options_, appliedVolume_, this));
        }
    }
    return coreUsable();
}

bool MpvMediaPlayer::coreUsable() const
{
    if (coreFailed_) setError(MediaError::Device, QStringLiteral("The media player could not be started"));
    return !coreFailed_;
}

void MpvMediaPlayer::adoptCore(Core core)
{
    handle_.reset(core.handle);
    renderer_.reset(core.renderer);
    coreFailed_ = !core.handle;
    if (!handle_) return;
    // What was set while the core was being made.
    setText("vid", display_ ? QStringLiteral("auto") : QStringLiteral("no"));
    sendVolume();
    queueDrain(); // events mpv queued before the player held the core
}

// Any thread: makes, starts and returns a core that reports to `self`; none when mpv cannot start.
MpvMediaPlayer::Core MpvMediaPlayer::startCore(const MpvOptions& options, double amplitude,
                                               MpvMediaPlayer* self)
{
    if (!loadedLibmpv()) return {};
    mpv_handle* handle = libmpv().create();
    if (!handle) {
        qCWarning(lcMpv) << "mpv_create failed";
        return {};
    }
    const QByteArray audioOutput = options.audioOutput.toUtf8();
    const QByteArray volume = QByteArray::number(mpvVolume(amplitude), 'f', 3);
    const MpvOption settings[] = {
        {"input-vo-keyboard", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"keep-open", "no"}, // every end of a file is an explicit end-file event
        {"pause", "yes"},
        {"ao", audioOutput.constData()},
        {"ao-null-untimed", options.untimed ? "yes" : "no"},
        {"vo", "libmpv"},
        {"vid", "no"},           // no video decoding until a display is given
        {"audio-display", "no"}, // cover pictures inside MP3 files are not video
        {"hr-seek", "yes"},
        {"hr-seek-demuxer-offset", "1"}, // MPEG-1 program streams otherwise land after the target
        {"volume-max", "100"},
        {"volume", volume.constData()},
    };
    setCoreOptions(libmpv(), handle, settings);
    libmpv().requestLogMessages(handle, "error");
    libmpv().setWakeupCallback(
        handle, [](void* player) { static_cast<MpvMediaPlayer*>(player)->queueDrain(); }, self);
    if (const int error = libmpv().initialize(handle); error < 0) {
        qCWarning(lcMpv) << "mpv_initialize failed:" << libmpv().errorString(error);
        libmpv().setWakeupCallback(handle, nullptr, nullptr);
        libmpv().terminateDestroy(handle);
        return {};
    }
    libmpv().observeProperty(handle, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    libmpv().observeProperty(handle, kVideoWidth, "dwidth", MPV_FORMAT_INT64);
    libmpv().observeProperty(handle, kVideoHeight, "dheight", MPV_FORMAT_INT64);
    libmpv().observeProperty(handle, kAudioOutput, "current-ao", MPV_FORMAT_STRING);
    return {handle, startRenderer(handle, self)};
}

mpv_render_context* MpvMediaPlayer::startRenderer(mpv_handle* handle, MpvMediaPlayer* self)
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    if (const int error = libmpv().renderContextCreate(&context, handle, params); error < 0) {
        qCWarning(lcMpv) << "no video renderer:" << libmpv().errorString(error);
        const char* nullOutput = "null";
        libmpv().setPropertyAsync(handle, 0, "vo", MPV_FORMAT_STRING, &nullOutput);
        return nullptr;
    }
    libmpv().renderContextSetUpdateCallback(
        context, [](void* player) { static_cast<MpvMediaPlayer*>(player)->queueRender(); }, self);
    return context;
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
    return nameOpenedFile(true) && loadParked();
}

bool MpvMediaPlayer::openWhenNeeded()
{
    return nameOpenedFile(false);
}

// The start of every open: whatever was open is closed and the named file, if it exists, waits
// parked for mpv. A file that goes to mpv at once (`replacing`) replaces mpv's without a stop
// before, so mpv keeps its audio output for it.
bool MpvMediaPlayer::nameOpenedFile(bool replacing)
{
    if (!beginCommand(false)) return false;
    endPlay(NotifyValue::Aborted);
    const QFileInfo file(fileName());
    unload(!(replacing && file.isFile()));
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
    return loadFile(endedAtFileEnd_ ? 0 : endPositionMs_);
}

void MpvMediaPlayer::startPlayback(std::optional<int> endMs)
{
    playEnd_ = endMs;
    setText("end", endMs ? QString::fromLatin1(seconds(*endMs)) : QStringLiteral("none"));
    // A seek waiting for the file to load goes first, so the file plays from its target.
    if (!seekWaitsForLoad_) setFlag("pause", false);
    playing_ = true;
    paused_ = false;
    playStartedMs_ = clock_.elapsed();
    progress_.clear();
    if (!soundWatch_->isActive()) soundWatch_->start();
}

// The end point of the running play. The length is known once mpv has answered for the loaded
// file; a file played faster than that ends at the end point given.
int MpvMediaPlayer::playEndMs() const
{
    if (lengthMs_ <= 0) return playEnd_.value_or(0);
    return playEnd_ ? std::min(*playEnd_, lengthMs_) : lengthMs_;
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
    const int target = lengthMs_ > 0 ? std::clamp(ms, 0, lengthMs_) : std::max(ms, 0);
    playing_ = paused_ = false;
    if (state_ == FileState::Ended) {
        endPositionMs_ = target;
        endedAtFileEnd_ = lengthMs_ > 0 && target >= lengthMs_;
        return true;
    }
    setFlag("pause", true);
    // Like a waited device seek: the position is the new one when seek returns, the target
    // standing in until mpv is there. mpv seeks only in a loaded file.
    seekTargetMs_ = target;
    seekArmed_ = false;
    seekWaitsForLoad_ = loadResult_ != LoadResult::Loaded;
    if (!seekWaitsForLoad_) sendSeek(target);
    return true;
}

void MpvMediaPlayer::sendSeek(int ms)
{
    const QByteArray to = seconds(ms);
    command({"seek", to.constData(), "absolute+exact"}, kSeekReply | ++seekSerial_, "seek");
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
    return lengthMs_ > 0 ? std::clamp(positionMs_, 0, lengthMs_) : positionMs_;
}

int MpvMediaPlayer::length() const
{
    // Only mpv knows the length of a parked file: the query has it loaded, as a command would.
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
    seekWaitsForLoad_ = false;
    loadResult_ = LoadResult::Pending;
    positionMs_ = startMs;
    startReached_ = false;
    // The file that was opened: a name given since then waits for the next open.
    const QByteArray path = QFile::encodeName(openedPath_);
    if (!command({"loadfile", path.constData(), "replace"}, ++loadSerial_, "loadfile")) {
        setError(MediaError::Device, QStringLiteral("The media player refused the file"));
        unload();
        return false;
    }
    state_ = FileState::Loaded;
    return true;
}

void MpvMediaPlayer::unload(bool stopMpv)
{
    if (stopMpv && state_ == FileState::Loaded) command({"stop"}, kRequestReply | ++requestSerial_, "stop");
    state_ = FileState::Closed;
    loadResult_ = LoadResult::Failed; // what mpv still reports of the file is no failure to load
    playing_ = paused_ = false;
    seekTargetMs_.reset();
    seekWaitsForLoad_ = false;
    lengthMs_ = 0;
    videoWidth_ = videoHeight_ = 0;
    showVideoSize();
}

void MpvMediaPlayer::reachedEnd()
{
    state_ = FileState::Ended;
    // A play with an end point short of the file's end stopped there (the length may not be known
    // yet when mpv played faster than it answered); any other end is the file's.
    const bool atEndPoint = playing_ && playEnd_ && (lengthMs_ <= 0 || *playEnd_ < lengthMs_);
    endPositionMs_ = atEndPoint ? *playEnd_ : lengthMs_;
    endedAtFileEnd_ = !atEndPoint;
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
    case MPV_EVENT_COMMAND_REPLY:
    case MPV_EVENT_SET_PROPERTY_REPLY:
    case MPV_EVENT_GET_PROPERTY_REPLY:
        handleReply(event);
        break;
    case MPV_EVENT_START_FILE:
        currentEntry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED: {
        const auto entry = entrySerial_.find(currentEntry_);
        if (entry == entrySerial_.end() || entry->second != loadSerial_ || loadResult_ != LoadResult::Pending)
            break;
        loadResult_ = LoadResult::Loaded;
        if (handle_ && libmpv().getPropertyAsync(handle_.get(), kLengthReply | loadSerial_, "duration",
                                                 MPV_FORMAT_DOUBLE) >= 0)
            track(kLengthReply | loadSerial_, "duration");
        if (seekWaitsForLoad_ && seekTargetMs_) {
            sendSeek(*seekTargetMs_);
            if (playing_) setFlag("pause", false);
        }
        seekWaitsForLoad_ = false;
        break;
    }
    case MPV_EVENT_END_FILE:
        handleEndFile(event);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (loadResult_ == LoadResult::Loaded) startReached_ = true;
        if (seekArmed_ && seekTargetMs_) {
            positionMs_ = *seekTargetMs_;
            seekTargetMs_.reset();
        }
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        handlePropertyChange(event);
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

void MpvMediaPlayer::handleReply(const mpv_event& event)
{
    const auto request = unanswered_.find(event.reply_userdata);
    if (request == unanswered_.end()) return;
    const char* what = request->second.second;
    unanswered_.erase(request);
    if (event.reply_userdata == (kSeekReply | seekSerial_)) {
        // Playback restarts reported before this reply belong to earlier seeks or loads.
        seekArmed_ = true;
        return;
    }
    if (event.reply_userdata & kLengthReply) {
        handleLengthReply(event);
        return;
    }
    if (event.reply_userdata & kReplyKinds) {
        if (event.error < 0) qCWarning(lcMpv) << "mpv refused:" << what << libmpv().errorString(event.error);
        return;
    }
    handleLoadReply(event);
}

void MpvMediaPlayer::handleLoadReply(const mpv_event& event)
{
    // The reply of a loadfile comes before any event of its entry: mpv runs the command and its
    // play loop on one thread.
    if (event.error < 0) {
        if (event.reply_userdata == loadSerial_ && loadResult_ == LoadResult::Pending)
            handleLoadFailure(QString::fromUtf8(libmpv().errorString(event.error)));
        return;
    }
    const auto* reply = static_cast<const mpv_event_command*>(event.data);
    if (const qint64 entry = playlistEntryId(reply->result)) entrySerial_[entry] = event.reply_userdata;
}

void MpvMediaPlayer::handleLengthReply(const mpv_event& event)
{
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    if (event.reply_userdata != (kLengthReply | loadSerial_) || state_ != FileState::Loaded ||
        event.error < 0 || property->format != MPV_FORMAT_DOUBLE)
        return;
    lengthMs_ = std::max(0, toMs(*static_cast<const double*>(property->data)));
}

// Missing, unreadable or corrupt: mpv gives up on the file, which closes, and its play fails.
void MpvMediaPlayer::handleLoadFailure(const QString& message)
{
    loadResult_ = LoadResult::Failed;
    qCWarning(lcMpv).noquote() << message;
    unload();
    endPlay(NotifyValue::Failure);
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
        handleLoadFailure(QStringLiteral("Cannot play %1: %2")
                              .arg(openedPath_, QString::fromUtf8(libmpv().errorString(end->error))));
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

void MpvMediaPlayer::handlePropertyChange(const mpv_event& event)
{
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    const bool known = property->format != MPV_FORMAT_NONE;
    switch (event.reply_userdata) {
    case kTimePos:
        // Positions of a file being replaced are stale, and those before the start position is
        // reached are where decoding began; without one mpv has let go of the file at its end, and
        // the end-file event follows.
        if (state_ != FileState::Loaded || loadResult_ != LoadResult::Loaded || !startReached_) break;
        positionMs_ =
            known ? toMs(*static_cast<const double*>(property->data)) : (playing_ ? playEndMs() : 0);
        break;
    case kAudioOutput:
        audioOutput_ =
            known ? QString::fromUtf8(*static_cast<const char* const*>(property->data)) : QString();
        break;
    case kVideoWidth:
        videoWidth_ = known ? *static_cast<const qint64*>(property->data) : 0;
        showVideoSize();
        break;
    case kVideoHeight:
        videoHeight_ = known ? *static_cast<const qint64*>(property->data) : 0;
        showVideoSize();
        break;
    default:
        break;
    }
}

// --- requests ---------------------------------------------------------------------------------

void MpvMediaPlayer::track(quint64 replyId, const char* what)
{
    unanswered_[replyId] = {clock_.elapsed(), what};
    if (!soundWatch_->isActive()) soundWatch_->start();
}

bool MpvMediaPlayer::command(std::initializer_list<const char*> words, quint64 replyId, const char* what)
{
    std::vector<const char*> arguments(words);
    arguments.push_back(nullptr);
    if (!handle_ || libmpv().commandAsync(handle_.get(), replyId, arguments.data()) < 0) {
        qCWarning(lcMpv) << "mpv command refused:" << what;
        return false;
    }
    track(replyId, what);
    return true;
}

void MpvMediaPlayer::sendProperty(const char* name, int format, void* data)
{
    if (!handle_) return;
    const quint64 replyId = kRequestReply | ++requestSerial_;
    if (libmpv().setPropertyAsync(handle_.get(), replyId, name, static_cast<mpv_format>(format), data) < 0)
        qCWarning(lcMpv) << "mpv property refused:" << name;
    else
        track(replyId, name);
}

void MpvMediaPlayer::setFlag(const char* name, bool on)
{
    int flag = on ? 1 : 0;
    sendProperty(name, MPV_FORMAT_FLAG, &flag);
}

void MpvMediaPlayer::setText(const char* name, const QString& value)
{
    const QByteArray text = value.toUtf8();
    const char* data = text.constData();
    sendProperty(name, MPV_FORMAT_STRING, &data);
}

// --- the watch of the music ------------------------------------------------------------------

// Tells what keeps the music from being heard as it changes; rests while there is nothing to watch.
void MpvMediaPlayer::watchSound()
{
    sampleProgress();
    const SoundTrouble trouble = soundTrouble();
    if (trouble == SoundTrouble::None && unanswered_.empty() && !playing_) soundWatch_->stop();
    if (trouble == soundTrouble_) return;
    soundTrouble_ = trouble;
    if (trouble == SoundTrouble::NotAnswering) qCWarning(lcMpv) << "the sound device does not answer";
    if (trouble == SoundTrouble::NoDevice)
        qCWarning(lcMpv) << "no sound device: the music plays into nothing";
    Q_EMIT soundTroubleChanged(trouble);
}

SoundTrouble MpvMediaPlayer::soundTrouble() const
{
    if (requestOverdue() || musicStalled()) return SoundTrouble::NotAnswering;
    if (playsIntoNothing()) return SoundTrouble::NoDevice;
    return SoundTrouble::None;
}

bool MpvMediaPlayer::requestOverdue() const
{
    const qint64 now = clock_.elapsed();
    return std::any_of(unanswered_.begin(), unanswered_.end(),
                       [now](const auto& request) { return now - request.second.first >= kDeviceAnswerMs; });
}

// The playing position at each watch, back to kStallMs ago; none while no music plays.
void MpvMediaPlayer::sampleProgress()
{
    if (!musicPlays()) {
        progress_.clear();
        return;
    }
    const qint64 now = clock_.elapsed();
    progress_.emplace_back(now, positionMs_);
    while (progress_.size() > 1 && progress_[1].first <= now - kStallMs)
        progress_.pop_front();
}

// mpv counts the position by the sound the device has taken: a device that takes none holds it,
// give or take what still goes into the sound server's buffers.
bool MpvMediaPlayer::musicStalled() const
{
    return progress_.size() > 1 && progress_.back().first - progress_.front().first >= kStallMs &&
           progress_.back().second - progress_.front().second < kStallProgressMs;
}

// The null output is mpv's last resort when no device of the list opens (or the one in use is lost);
// only a list of that output alone means it.
bool MpvMediaPlayer::playsIntoNothing() const
{
    return musicPlays() && audioOutput_ == QLatin1String("null") &&
           options_.audioOutput != QLatin1String("null");
}

bool MpvMediaPlayer::musicPlays() const
{
    return state_ == FileState::Loaded && playing_ && loadResult_ == LoadResult::Loaded;
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
    double volume = mpvVolume(appliedVolume_);
    sendProperty("volume", MPV_FORMAT_DOUBLE, &volume);
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

void MpvMediaPlayer::showVideoSize()
{
    const bool shown = videoWidth_ > 0 && videoHeight_ > 0;
    videoSize_ = shown ? QSize(static_cast<int>(videoWidth_), static_cast<int>(videoHeight_)) : QSize();
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

// Playback: loading queue entries and album tracks into the media player, starting them, the end of
// a track, stop, forward and back.

#include "player/mainform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <limits>

#include "library/global.h"
#include "library/names.h"
#include "platform/mediaplayer.h"
#include "player/frontend.h"
#include "player/olespeech.h"
#include "player/video.h"

namespace player {

namespace {

constexpr int kMsPerSecond = 1000;

// The last character of a video file name ("TRACK01.MPG").
bool isVideoFile(const QString& fileName)
{
    return fileName.endsWith(QLatin1Char('G'), Qt::CaseInsensitive);
}

} // namespace

// Minutes and two-digit seconds: "3:07".
QString Tmainform::minutesAndSeconds(int seconds)
{
    seconds = std::max(seconds, 0);
    return QString::number(seconds / 60) + QLatin1Char(':') +
           QString::number(seconds % 60).rightJustified(2, QLatin1Char('0'));
}

bool Tmainform::playlistStyle() const
{
    return playlistbut->isChecked();
}

void Tmainform::applyVolume()
{
    // Through the mute button while it is down, so the mute stays.
    volChange(mutebut->isChecked() ? static_cast<QObject*>(mutebut) : this);
}

void Tmainform::showStopped()
{
    Stop->setChecked(true);
    Timers->stop();
    playmode = 0;
}

void Tmainform::showTrackLength()
{
    counter->setText(minutesAndSeconds(mp->length() / kMsPerSecond));
    trlabel->setText(QStringLiteral("LEN"));
    trlabel->repaint();
}

void Tmainform::showNoTrack()
{
    counter->setText(QStringLiteral("---"));
    setWindowTitle(QStringLiteral("No track"));
}

void Tmainform::playClick(QObject*)
{
    playbutmod->hide();
    if (paused) {
        if (mpplay()) applyVolume();
        paused = false;
        return;
    }
    const int row = queueRow();
    dcurrentlyplayingtrack = std::max(row, 0);
    playingEntryRemoved_ = false;
    queueRanOut_ = false;
    frontend().setQueuePanelPlayingRow(row);

    if (playlistStyle()) {
        const QString folder = setuptrackname(dcurrentlyplayingtrack);
        if (loadFailed_) return;
        startLoadedEntry(folder);
    } else {
        if (loadFailed_) {
            showStopped();
            return;
        }
        playmode = 1;
        sorttimemode();
        if (!mpplay()) {
            showStopped();
            return;
        }
        applyVolume();
        Timers->start();
    }
}

void Tmainform::startLoadedEntry(const QString& folder)
{
    if (!folder.isEmpty()) {
        if (dj->isChecked()) doDJ(folder);
        if (showcover->isChecked()) frontend().covershow(folder);
    }
    playmode = 1;
    sorttimemode();
    play->setChecked(true);
    if (!mpplay()) {
        showStopped();
        return;
    }
    applyVolume();
    Timers->start();
}

QString Tmainform::setuptrackname(int num)
{
    loadFailed_ = true;
    if (library::albumcount == 0 || num < 0 || num >= dplaylist->count()) return {};
    killspeech();
    moveProgress(0);

    // A run of missing files is skipped one after another, as forward would, until a file loads or
    // the queue ends.
    for (int n = num;; ++n) {
        // A row without its entry (a caller that let them drift apart) plays as "No track".
        const bool hasEntry = n < dPlayListMatrixAlb.size() && n < dPlayListMatrixTrk.size();
        const QString folder = hasEntry ? dPlayListMatrixAlb.at(n) : QString();
        const QString file = folder.isEmpty() ? QString() : queuetrackfile(folder, dPlayListMatrixTrk.at(n));
        Timers->stop();
        selectQueueRow(n);
        if (file.isEmpty()) {
            showNoTrack();
            frontend().domessage(QString());
            return {};
        }
        mp->setFileName(file);
        mp->setNotify(false);
        if (QFileInfo::exists(file)) return openQueueEntry(n, folder);

        showerror(file, 0);
        if (n + 1 >= dplaylist->count()) {
            StopClick(nullptr);
            return {};
        }
        vol->setValue(library::config.volume);
        selectQueueRow(n + 1);
        dplaylistClick(nullptr);
        dcurrentlyplayingtrack = n + 1;
        frontend().setQueuePanelPlayingRow(n + 1);
    }
}

QString Tmainform::openQueueEntry(int row, const QString& folder)
{
    if (!mp->open()) {
        // The silent file takes its place, so the queue goes on when it ends.
        showerror(mp->fileName(), 1);
        loadblankmp3file();
        play->setChecked(true);
        loadFailed_ = false;
        return {};
    }
    if (isVideoFile(mp->fileName())) {
        if (library::config.videomonitor == 0) {
            mp->setDisplay(frontend().coverimagepanel());
            mp->setDisplayRect(QRect());
            frontend().jbcovershow(QString());
        } else {
            videoshow();
        }
    }
    setupfrequency();
    showTrackLength();
    Stop->setChecked(true);
    for (QWidget* control :
         std::initializer_list<QWidget*>{progress, skipforward, skipback, play, fwd, bck, pause})
        control->setEnabled(true);

    QString album;
    QString artist;
    library::extractalbumartist(folder, album, artist);
    const QString caption =
        dplaylist->item(row)->text() + QStringLiteral(" - ") + album + QStringLiteral(" - ") + artist;
    setWindowTitle(caption);
    frontend().domessage(QStringLiteral("Now playing ") + caption);
    loadFailed_ = false;
    return folder;
}

void Tmainform::tracklistClick(QObject*)
{
    loadFailed_ = true;
    moveProgress(0);
    const int row = tracklist->currentRow();
    QString file;
    if (row >= 0) {
        file = cdtrackfile(library::currentalbumpath, row, tracklist->item(row)->text());
        Timers->stop();
    }
    if (file.isEmpty()) {
        showNoTrack();
        return;
    }
    mp->setFileName(file);
    mp->setNotify(false);
    if (!QFileInfo::exists(file)) {
        showerror(file, 0);
        return;
    }
    if (!mp->open()) {
        showerror(file, 1);
        return;
    }
    setupfrequency();
    showTrackLength();
    Stop->setChecked(true);
    for (QWidget* control :
         std::initializer_list<QWidget*>{play, fwd, bck, pause, skipforward, skipback, progress})
        control->setEnabled(true);
    if (albumlist->count() > 0) {
        const QString caption =
            albumlist->currentText() + QStringLiteral(" : ") + tracklist->item(row)->text();
        setWindowTitle(caption);
        if (frontend().jukeboxExists()) frontend().domessage(QStringLiteral("Now playing: ") + caption);
    }
    loadFailed_ = false;
}

bool Tmainform::mpplay()
{
    if (!QFileInfo::exists(mp->fileName())) {
        showerror(mp->fileName(), 0);
        Stop->setChecked(true);
        return false;
    }
    counter->setText(QStringLiteral("---"));
    const qint64 endMs = qint64(library::config.auditiontimeout) * kMsPerSecond;
    // A time-out of no seconds would drain the whole queue at once: such a setting plays whole tracks.
    if (audition_mode && endMs > 0)
        (void)mp->play(int(std::min<qint64>(endMs, std::numeric_limits<int>::max())));
    else
        (void)mp->play();
    return true;
}

void Tmainform::MPNotify(platform::NotifyValue value)
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (paused) return;
    const bool backgroundTrackEnded = frontend().autoplaying();
    const bool successful = value == platform::NotifyValue::Successful;
    if (successful) frontend().setAutoplaying(false);

    if (successful && playmode == 1) {
        if (playlistStyle())
            playNextQueueEntry(backgroundTrackEnded);
        else
            playNextAlbumTrack();
    }
    if (value == platform::NotifyValue::Failure && playmode == 1 && playlistStyle() &&
        mp->fileName() != blankfilepath)
        playSilenceForFailedEntry();
    mp->setNotify(true);
}

// A queued track the player found unplayable only once it loaded: as for one that fails to open,
// the error is told and the silent file plays in its place, so the queue goes on when it ends.
void Tmainform::playSilenceForFailedEntry()
{
    showerror(mp->fileName(), 1);
    loadblankmp3file();
    startLoadedEntry(QString());
}

void Tmainform::playNextQueueEntry(bool backgroundTrackEnded)
{
    // When the playing entry was removed, the entry that took its row comes next.
    const int next = playingEntryRemoved_ ? dcurrentlyplayingtrack : dcurrentlyplayingtrack + 1;
    if (next >= 0 && next < dplaylist->count()) {
        dcurrentlyplayingtrack = next;
        playingEntryRemoved_ = false;
        frontend().setQueuePanelPlayingRow(next);
        const QString folder = setuptrackname(next);
        playmode = 0;
        if (loadFailed_) {
            showStopped();
            return;
        }
        mp->setNotify(true);
        startLoadedEntry(folder);
        return;
    }
    // The queue has run out: the idle time goes back to background play.
    queueRanOut_ = true;
    Stop->setChecked(true);
    Timers->stop();
    moveProgress(0);
    showNoTrack();
    if (frontend().jukeboxVisible()) frontend().domessage(QString());
    vol->setValue(library::config.volume);
    frontend().restartBackgroundRest();
    if (backgroundTrackEnded && library::autoplaymode) frontend().startautoplay();
}

void Tmainform::playNextAlbumTrack()
{
    const int next = tracklist->currentRow() + 1;
    if (next >= tracklist->count()) {
        Stop->setChecked(true);
        Timers->stop();
        moveProgress(0);
        vol->setValue(library::config.volume);
        if (library::autoplaymode) frontend().startautoplay();
        return;
    }
    tracklist->setCurrentRow(next);
    tracklistClick(nullptr);
    playmode = 0;
    if (loadFailed_) {
        showStopped();
        return;
    }
    mp->setNotify(true);
    sorttimemode();
    if (dj->isChecked()) doDJ(library::currentalbumpath);
    startAlbumTrack();
}

void Tmainform::startAlbumTrack()
{
    if (!mpplay()) {
        showStopped();
        return;
    }
    applyVolume();
    Timers->start();
    playmode = 1;
    play->setChecked(true);
}

void Tmainform::StopClick(QObject* Sender)
{
    if (video && video->isVisible()) video->hide();
    if (QWidget* panel = frontend().coverimagepanel(); panel && panel->isVisible()) panel->hide();
    moveProgress(0);
    paused = false;
    killspeech();
    if (playlistStyle()) {
        dcurrentlyplayingtrack = std::max(queueRow(), 0);
        playingEntryRemoved_ = false;
        // The silent file releases a video, so its picture does not stay on the display.
        if (isVideoFile(mp->fileName())) loadblankmp3file();
        playmode = 0;
        QCoreApplication::processEvents();
        (void)mp->stop();
        dtracklistClick(Sender);
        Timers->stop();
        // Stopped, the window names no track and no time of one.
        showNoTrack();
    } else {
        playmode = 0;
        (void)mp->stop();
        Timers->stop();
        tracklistClick(Sender);
    }
}

void Tmainform::fwdClick(QObject* Sender)
{
    stepTrack(Sender, +1);
}

void Tmainform::bckClick(QObject* Sender)
{
    stepTrack(Sender, -1);
}

void Tmainform::stepTrack(QObject* Sender, int step)
{
    vol->setValue(library::config.volume);
    if (playlistStyle()) {
        const bool wasPlaying = playmode == 1;
        const int target = queueRow() + step;
        if (target >= 0 && target < dplaylist->count()) selectQueueRow(target);
        dplaylistClick(Sender);
        if (wasPlaying) {
            // A paused track is left for the chosen one, not resumed.
            paused = false;
            playClick(Sender);
        }
    } else {
        const int target = tracklist->currentRow() + step;
        if (target >= 0 && target < tracklist->count()) {
            const bool wasPlaying = playmode == 1;
            tracklist->setCurrentRow(target);
            tracklistClick(Sender);
            if (wasPlaying) {
                playmode = 0;
                if (!loadFailed_) {
                    mp->setNotify(true);
                    sorttimemode();
                    startAlbumTrack();
                }
            }
        }
    }
    if (playmode == 1)
        play->setChecked(true);
    else
        Stop->setChecked(true);
}

void Tmainform::pauseClick(QObject*)
{
    if (paused) {
        paused = false;
        play->setChecked(true);
        (void)mp->play();
    } else {
        paused = true;
        (void)mp->pause();
    }
}

} // namespace player

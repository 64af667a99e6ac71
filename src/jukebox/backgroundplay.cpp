#include "jukebox/backgroundplay.h"

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QSlider>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "controls/bitmapcheckbox.h"
#include "controls/ticker.h"
#include "jukebox/coverform.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/tags.h"
#include "library/global.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/programfolder.h"
#include "platform/textcodec.h"
#include "player/mainform.h"

namespace jukebox {

namespace {

// Tries before the done list is given up (and before an album without titles is accepted).
constexpr int kMaxTries = 250;
// Four digits number the albums, so no list needs more names; a longer line is no folder name.
constexpr qsizetype kMaxListNames = 9999;
constexpr qsizetype kMaxListNameBytes = 1024;
constexpr int kMaxVolumePosition = 150;

QRandomGenerator* installedRandom = nullptr;

QRandomGenerator& ownRandom()
{
    static QRandomGenerator generator;
    return generator;
}

QRandomGenerator& backgroundRandom()
{
    return installedRandom ? *installedRandom : ownRandom();
}

// Album folder names ("artist__album") of "background.list", as the album list shows them.
QStringList readListFile()
{
    const QString path = platform::findNoCase(platform::programFolder(), QStringLiteral("background.list"));
    if (path.isEmpty()) return {};
    QStringList names;
    if (!platform::readTextLines(path, kMaxListNames, kMaxListNameBytes, names)) return {};
    for (QString& name : names) {
        const qsizetype cut = name.indexOf(QStringLiteral("__"));
        if (cut >= 0) name.replace(cut, 2, QStringLiteral(" - "));
    }
    return names;
}

// Each name of the list adds the first album row that reads the same without regard to case.
void readBackgroundList(const QComboBox& albums)
{
    const QStringList names = readListFile();
    if (names.isEmpty()) return;
    // Walked backwards, so of equal texts the first row stays.
    QHash<QString, int32_t> firstRow;
    for (int row = albums.count() - 1; row >= 0; --row)
        firstRow.insert(albums.itemText(row).toCaseFolded(), row);
    for (const QString& name : names) {
        const auto found = firstRow.constFind(name.toCaseFolded());
        if (found != firstRow.constEnd()) backgroundlist.append(found.value());
    }
}

bool alreadyDone(const tdonelist& pair)
{
    return std::any_of(donelist.cbegin(), donelist.cend(), [&pair](const tdonelist& done) {
        return done.album == pair.album && done.track == pair.track;
    });
}

// Plays row `track` of the album the player's CD-player style has loaded, then hands the player
// back to the play-list style, so the end of the track reaches the queue (and from there the next
// background track). False when the track could not be started.
bool playAlbumTrack(player::Tmainform& mf, int32_t track)
{
    mf.CdplayerbutClick(nullptr);
    mf.Cdplayerbut->setChecked(true);
    mf.tracklist->setCurrentRow(track);
    mf.tracklistClick(mf.tracklist);
    mf.playClick(nullptr);
    mf.playlistbut->setChecked(true);
    return player::playmode == 1;
}

// The chosen track did not start: nothing plays in the background, at the normal volume.
void nothingPlays(player::Tmainform& mf)
{
    autoplaying = false;
    mf.vol->setValue(library::config.volume);
}

} // namespace

void resetBackgroundPlay()
{
    autoplaying = false;
    donelist.clear();
    donelistcount = 0;
    backgroundlist.clear();
    installedRandom = nullptr;
}

void setBackgroundRandom(QRandomGenerator* source)
{
    installedRandom = source;
}

void initautoplay()
{
    backgroundlist.clear();
    donelist.clear();
    donelistcount = 0;
    library::autoplaymode = true;
    ownRandom().seed(static_cast<quint32>(platform::clock().now().toMSecsSinceEpoch()));
    // The check box shows that background play is on, so the play and rest cycle (which stops when
    // the box is unchecked) runs for a start-up with background play as well.
    if (jukebox && jukebox->autoplaycb) jukebox->autoplaycb->setchecked(true);
    if (player::mainform) readBackgroundList(*player::mainform->albumlist);
}

bool chooseBackgroundTrack(int32_t albumcount, const std::function<int(int32_t)>& loadalbum,
                           QRandomGenerator& random, tdonelist& chosen)
{
    // Rows beyond the album list are passed over; a list left with none means any album.
    QVector<int32_t> rows;
    for (const int32_t row : std::as_const(backgroundlist)) {
        if (row >= 0 && row < albumcount) rows.append(row);
    }
    if (rows.isEmpty() && albumcount <= 0) return false;

    for (int tries = 1;; ++tries) {
        const int32_t album = rows.isEmpty() ? static_cast<int32_t>(random.bounded(albumcount))
                                             : rows.at(random.bounded(static_cast<quint32>(rows.size())));
        const int titles = loadalbum(album);
        if (titles <= 0) {
            if (tries < kMaxTries) continue;
            return false;
        }
        const tdonelist pair{album, static_cast<int32_t>(random.bounded(titles))};
        if (tries >= kMaxTries) {
            // Every pair within reach has been played: start the round again.
            donelist.clear();
        } else if (alreadyDone(pair)) {
            continue;
        }
        donelist.append(pair);
        donelistcount = static_cast<int32_t>(donelist.size());
        chosen = pair;
        return true;
    }
}

void startautoplay()
{
    player::Tmainform* mf = player::mainform;
    if (!mf) return;
    if (jukebox && !jukebox->BackGroundCanAutoPlay) return;
    autoplaying = true;
    // The maximum may have been lowered below the stored background volume since it was stored.
    mf->vol->setValue(std::min(library::config.bgvolume, library::config.bgvolumemax));

    const auto loadalbum = [mf](int32_t row) {
        mf->albumlist->setCurrentIndex(row);
        mf->albumlistChange(mf->albumlist);
        return mf->tracklist->count();
    };
    tdonelist chosen;
    if (!chooseBackgroundTrack(mf->albumlist->count(), loadalbum, backgroundRandom(), chosen) ||
        !playAlbumTrack(*mf, chosen.track)) {
        nothingPlays(*mf);
        return;
    }
    if (coverform && coverform->isVisible()) coverform->covershow(library::currentalbumpath);
    if (jukebox) {
        setTag(jukebox->BackgroundTimer, 0);
        jukebox->BackGroundTimerCount = 0;
        jukebox->BackgroundTimer->setEnabled(true);
    }
}

void stopautoplay()
{
    player::Tmainform* mf = player::mainform;
    if (mf) mf->vol->setValue(library::config.volume);
    library::autoplaymode = false;
    autoplaying = false;
    if (mf) mf->StopClick(nullptr);
}

void backgroundAlbumRemoved(int index)
{
    backgroundlist.removeAll(index);
    for (int32_t& row : backgroundlist) {
        if (row > index) --row;
    }
    donelist.removeIf([index](const tdonelist& done) { return done.album == index; });
    for (tdonelist& done : donelist) {
        if (done.album > index) --done.album;
    }
    donelistcount = static_cast<int32_t>(donelist.size());
}

void stepVolume(int step)
{
    player::Tmainform* mf = player::mainform;
    if (!mf) return;
    int position = std::clamp(mf->vol->value() + step, 0, kMaxVolumePosition);
    if (autoplaying) {
        position = std::max(0, std::min(position, library::config.bgvolumemax));
        library::config.bgvolume = position;
    } else {
        library::config.volume = position;
    }
    {
        // Applied once below, whether or not the bar moved.
        const QSignalBlocker quiet(mf->vol);
        mf->vol->setValue(position);
    }
    mf->volChange(mf->vol);
    mf->showVolume();
}

} // namespace jukebox

// Selections made by touching a list rather than typing: a row of a page's or the prism's track
// list, a search result and "Add All". Each is turned into the digits a guest would type, so
// credits, fades and the queue work the same whichever way a track was chosen. Control + a row
// copies the track to the copy destination instead.

#include "jukebox/jukeboxform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QScopeGuard>
#include <QToolButton>
#include <optional>

#include "controls/rowrenderer.h"
#include "controls/scrolllistbox.h"
#include "controls/ticker.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/picturebox.h"
#include "jukebox/tags.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "platform/files.h"
#include "platform/textcodec.h"
#include "player/mainform.h"
#include "view3d/gllistbox.h"
#include "view3d/glui.h"

namespace jukebox {

namespace {

// The largest numbers the four album and three track digits can carry.
constexpr int kLargestTypedAlbum = 9999;
constexpr int kLargestTypedTrack = 999;
// A copied track's name before ".mp3", so that the whole name stays within one file name's 255 bytes.
constexpr int kCopyNameBytes = 255 - 4;

// A page list or a prism list as the row handlers see it: its album, its chosen row (-1 for
// none) and the track each row stands for (rows skip empty title lines, so a track may differ
// from the row's place + 1).
struct ListRows
{
    int album = 0;
    int itemindex = -1;
    QVector<int> tracks;
};

std::optional<ListRows> listRows(const QObject* list)
{
    ListRows rows;
    const controls::ListItems* items = nullptr;
    if (const auto* page = qobject_cast<const controls::TScrollListbox*>(list)) {
        rows.album = tagOf(page);
        rows.itemindex = page->itemindex();
        items = &page->items();
    } else if (const auto* prism = qobject_cast<const view3d::tglListBox*>(list)) {
        rows.album = prism->tag();
        rows.itemindex = prism->itemindex();
        items = &prism->items();
    } else {
        return std::nullopt;
    }
    for (int row = 0; row < items->count(); ++row) {
        const controls::TScrollListItemAdditonalInfo* info = items->object(row);
        rows.tracks << (info ? info->TrackNumber() : row + 1);
    }
    return rows;
}

bool controlHeld()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

} // namespace

void Tjukebox::lsbClick(QObject* Sender)
{
    const std::optional<ListRows> list = listRows(Sender);
    if (!list) return;
    const int row = list->itemindex;
    const bool rowChosen = row >= 0 && row < list->tracks.size();
    if (rowChosen && controlHeld() && !library::config.copytrackdest.isEmpty()) {
        copytrack(list->album, list->tracks[row]);
    } else if (rowChosen && !keypadlocked && !errortimer->isEnabled() && entryBusy_ == 0) {
        keyinselection(list->album, list->tracks[row]);
    }
    if (auto* page = qobject_cast<QWidget*>(Sender)) page->clearFocus();
}

void Tjukebox::searchpanellbclick(int album, int track)
{
    if (entryBusy_ > 0) return;
    // The upper page always shows an odd album number; an even one stands on the lower page.
    currentalbum = album % 2 == 0 ? album - 1 : album;
    drawalbum(currentalbum);
    drawalbum3D(currentalbum, 0);
    drawalbum3D(currentalbum, -1);
    if (tagOf(panel_searchbut_image) == 1) panel_searchbut_imageClick(panel_searchbut_image);
    if (track < 0) return;
    keyinselection(album, track);
}

void Tjukebox::keyinselection(int albumNumber, int track)
{
    ++entryBusy_;
    const auto done = qScopeGuard([this] { endEntryStep(); });
    dolcd(-1, lcddelay);
    if (albumNumber < 0 || track < 0) return;
    if (albumNumber > kLargestTypedAlbum) {
        // Five digits would run over into the track number: such an album is chosen directly.
        if (isvalidalbum(albumNumber)) selectAlbumRow(albumNumber);
    } else {
        feedDigits(QString::asprintf("%04d", albumNumber));
    }
    if (albumNumber <= kLargestTypedAlbum && track <= kLargestTypedTrack) {
        feedDigits(QString::asprintf("%03d", track));
        return;
    }
    // A number the digits cannot carry is queued directly, without a credit.
    clearKey();
    autoplaying = false;
    if (isvalidalbum(albumNumber) && isvalidtrack(track)) queueTrackRow(track - 1, false);
}

void Tjukebox::feedDigits(const QString& digits)
{
    for (const QChar digit : digits)
        dolcd(digit.digitValue(), lcddelay);
}

void Tjukebox::playall(QObject* lsb)
{
    const std::optional<ListRows> list = listRows(lsb);
    if (!list || noinput || entryBusy_ > 0) return;
    const int albumNumber = list->album;
    // A list of no real album (the filler beside the last album) has nothing to add.
    if (!isvalidalbum(albumNumber)) return;
    ++entryBusy_;
    noinput = true;
    const auto done = qScopeGuard([this] {
        noinput = false;
        --entryBusy_;
    });
    lcddelay = 1;
    domessage(QStringLiteral("Adding Album"));
    QCoreApplication::processEvents();

    selectAlbumRow(albumNumber);
    clearKey();
    autoplaying = false;
    player::Tmainform* mf = player::mainform;
    bool first = true;
    for (const int track : list->tracks) {
        if (!isvalidtrack(track)) continue;
        mf->dtracklist->setCurrentRow(track - 1);
        mf->AddClick(this, false);
        if (first) startWhenIdle();
        first = false;
    }

    lcddelay = 0;
    domessage(QStringLiteral("Added Album"));
    QCoreApplication::processEvents();
}

// Only the prism's labels count, each for the track list of its own side.
void Tjukebox::playall3d(QObject* Sender)
{
    const auto* label = qobject_cast<const view3d::tglLabel*>(Sender);
    if (!label || !ThreeDPanel) return;
    static const QStringList kSides{QStringLiteral("AddAll_Front"), QStringLiteral("AddAll_Right"),
                                    QStringLiteral("AddAll_Back"), QStringLiteral("AddAll_Left")};
    const int side = int(kSides.indexOf(label->Name()));
    if (side >= 0) playall(ThreeDPanel->titleList(side));
}

// Copies track `track` of album `albumNumber` to the copy destination, named after its title and
// album, without queueing it.
void Tjukebox::copytrack(int albumNumber, int track)
{
    player::Tmainform* mf = player::mainform;
    if (!mf || albumNumber < 1 || albumNumber > library::albumcount || albumNumber >= library::album.size())
        return;
    const library::talbumtype& entry = library::album.at(albumNumber);
    const QString folder = library::albumfolderpath(entry);
    const QString wanted = platform::joinPath(folder, QString::asprintf("track%02d.mp3", track));
    const QString found = platform::resolveNoCase(wanted);
    const QString source = found.isEmpty() ? wanted : found;

    mf->albumlist->setCurrentIndex(albumNumber - 1);
    mf->albumlistChange(mf->albumlist);
    const QListWidgetItem* titleRow = mf->tracklist->item(track - 1);
    const QString title = titleRow ? titleRow->text() : QString();
    const QString name = platform::cutToUtf8Bytes(
        library::stripbadchars(title + QStringLiteral("-") + mf->albumlist->itemText(albumNumber - 1)),
        kCopyNameBytes);
    const QString target = platform::joinPath(library::config.copytrackdest, name + QStringLiteral(".mp3"));

    domessage(QStringLiteral("Copying track to ") + target);
    QCoreApplication::processEvents();
    QFile file;
    const bool copied =
        platform::openRegularFile(file, source) && platform::writeFileAtomically(target, file.readAll());
    domessage(
        (copied ? QStringLiteral("Finished copying track to ") : QStringLiteral("Could not copy track to ")) +
        target);
}

} // namespace jukebox

// The queue panel: opening it over the album area and its five keys, which drive the desktop
// player's queue through the player's own handlers.

#include "jukebox/jukeboxform.h"

#include <QCoreApplication>
#include <QHash>
#include <QListWidget>
#include <QSignalBlocker>

#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/tags.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "player/mainform.h"

namespace jukebox {

namespace {

// Album numbers by album folder, so each queue row finds its album at once.
QHash<QString, int> albumsByFolder()
{
    QHash<QString, int> numbers;
    for (int n = library::albumcount; n >= 1; --n)
        numbers.insert(library::albumfolderpath(library::album.at(n)), n);
    return numbers;
}

// The queue row the panel has marked, or -1 when none is marked or it is no queue row.
int markedQueueRow()
{
    const int m = playlistpanel->lb->highlighteditem();
    return player::mainform && m >= 0 && m < player::mainform->dplaylist->count() ? m : -1;
}

// Selects queue row `row` in code and runs the queue's selection handler.
void selectInQueue(player::Tmainform& mf, int row, QObject* sender)
{
    {
        const QSignalBlocker quiet(mf.dplaylist);
        mf.dplaylist->setCurrentRow(row);
    }
    mf.dplaylistClick(sender);
}

} // namespace

// The panel's list as a copy of the queue: "artist - album -  title" per row, with the album's
// thumbnail while the thumbnails show; `marked` and `playing` are the rows to highlight.
void Tjukebox::fillQueueList(int marked, int playing)
{
    controls::TScrollListbox* lb = playlistpanel->lb;
    const int top = lb->topmost();
    lb->setdrawmode(false);
    lb->clear();
    const player::Tmainform* mf = player::mainform;
    const QHash<QString, int> numbers = albumsByFolder();
    setThumbnailPictures(*lb);
    for (int k = 0; mf && k < mf->dplaylist->count() && k < player::dPlayListMatrixAlb.size(); ++k) {
        const QString& folder = player::dPlayListMatrixAlb.at(k);
        const int number = numbers.value(folder, 0);
        QString album;
        QString artist;
        library::extractalbumartist(folder, album, artist);
        const QString text =
            artist + QStringLiteral(" - ") + album + QStringLiteral(" -  ") + mf->dplaylist->item(k)->text();
        lb->additemandinfo(text, number, player::dPlayListMatrixTrk.value(k), QImage(), QString(), QString());
    }
    lb->sethighlighteditem(marked);
    lb->sethighlighteditem2(playing);
    lb->settopmost(top);
    lb->setdrawmode(true);
    lb->Paint();
}

void Tjukebox::goplaylistviewClick(QObject*)
{
    if (!playlistpanel) return;
    playlistpanel->lb->clear();
    if (tagOf(kioskpanel) == 1) kioskpanelClick(kioskpanel);
    QCoreApplication::processEvents();
    playlistpanel->raise();
    // A hidden panel hears of its size only when shown; it is laid out before it shows.
    placeSearchAndQueuePanels();
    playlistpanel->Resize();
    const int selected = player::mainform ? player::mainform->dplaylist->currentRow() : -1;
    fillQueueList(-1, selected);
    playlistpanel->show();
    playlistpanel->lb->settopmost(std::max(selected, 0));
    playlistpanel->lb->Paint();
}

void Tjukebox::playlistPlayClick(QObject*)
{
    const int m = markedQueueRow();
    if (m < 0) return;
    player::Tmainform& mf = *player::mainform;
    selectInQueue(mf, m, this);
    mf.dplaylistDblClick(this);
}

void Tjukebox::playlistPurgeClick(QObject*)
{
    if (!player::mainform || !playlistpanel) return;
    player::mainform->clearlistClick(this);
    playlistpanel->lb->clear();
    playlistpanel->lb->Paint();
    domessage(QStringLiteral("Playlist Deleted"));
    if (library::autoplaymode) startautoplay();
}

void Tjukebox::playlistRemoveClick(QObject*)
{
    const int m = markedQueueRow();
    if (m < 0) return;
    player::Tmainform& mf = *player::mainform;
    const bool wasPlaying = m == player::dcurrentlyplayingtrack && player::playmode == 1;
    selectInQueue(mf, m, this);
    if (mf.dplaylist->currentRow() < 0) return;
    mf.DelClick(this);
    const int rows = mf.dplaylist->count();
    fillQueueList(-1, wasPlaying ? -1 : player::dcurrentlyplayingtrack);
    if (!wasPlaying) return;
    if (m < rows) {
        // The row that moved into the removed one's place plays now.
        selectInQueue(mf, m, this);
        mf.dplaylistDblClick(this);
        return;
    }
    // The last row played: the queue has nothing after it, so it ends here instead of going back
    // to an earlier row.
    mf.StopClick(this);
    if (library::autoplaymode) startautoplay();
}

void Tjukebox::moveitems(bool up)
{
    const int m = markedQueueRow();
    const int d = up ? -1 : 1;
    if (m < 0 || m + d < 0 || m + d >= player::mainform->dplaylist->count()) return;
    // The player keeps its playing row on the entry that plays.
    player::mainform->swapQueueEntries(m, m + d);
    int playing = playlistpanel->lb->highlighteditem2();
    if (playing == m)
        playing = m + d;
    else if (playing == m + d)
        playing = m;
    fillQueueList(m + d, playing);
}

void Tjukebox::playlistMoveUpClick(QObject*)
{
    if (markedQueueRow() < 1) return;
    moveitems(true);
    controls::TScrollListbox* lb = playlistpanel->lb;
    if (lb->highlighteditem() < lb->topmost()) lb->settopmost(lb->highlighteditem());
    lb->Paint();
}

void Tjukebox::playlistMoveDownClick(QObject*)
{
    const int m = markedQueueRow();
    if (m < 0 || m >= player::mainform->dplaylist->count() - 1) return;
    moveitems(false);
    controls::TScrollListbox* lb = playlistpanel->lb;
    if (lb->highlighteditem() == lb->topmost() + lb->displayitems()) lb->settopmost(lb->topmost() + 1);
    lb->Paint();
}

void Tjukebox::queuePanelPlayingRow(int row)
{
    if (!playlistpanel || playlistpanel->isHidden()) return;
    playlistpanel->lb->sethighlighteditem2(row);
    playlistpanel->lb->Paint();
}

void Tjukebox::connectQueuePanel()
{
    connect(playlistpanel->moveup, &PictureBox::OnClick, this, &Tjukebox::playlistMoveUpClick);
    connect(playlistpanel->movedown, &PictureBox::OnClick, this, &Tjukebox::playlistMoveDownClick);
    connect(playlistpanel->remove, &PictureBox::OnClick, this, &Tjukebox::playlistRemoveClick);
    connect(playlistpanel->play, &PictureBox::OnClick, this, &Tjukebox::playlistPlayClick);
    connect(playlistpanel->purge, &PictureBox::OnClick, this, &Tjukebox::playlistPurgeClick);
}

} // namespace jukebox

// The play queue: rows of `dplaylist` with their entries in `dPlayListMatrixAlb` and
// `dPlayListMatrixTrk`, kept in step by every operation here.

#include "player/mainform.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "library/global.h"
#include "library/names.h"
#include "platform/mediaplayer.h"
#include "player/frontend.h"

namespace player {

namespace {

// The arrays grow with the rows and never shrink; entries beyond the row count are stale.
void growEntries(qsizetype rows)
{
    if (dPlayListMatrixAlb.size() < rows + 1) dPlayListMatrixAlb.resize(rows + 1);
    if (dPlayListMatrixTrk.size() < rows + 1) dPlayListMatrixTrk.resize(rows + 1);
}

} // namespace

int Tmainform::queueRow() const
{
    const int row = dplaylist->currentRow();
    if (row < 0 || !dplaylist->item(row)->isSelected()) return -1;
    return row;
}

void Tmainform::selectQueueRow(int row)
{
    // Choosing a row in code runs no handler, as a click would.
    const QSignalBlocker quiet(dplaylist);
    dplaylist->setCurrentRow(row);
}

bool Tmainform::alreadyQueued(int fromRow, const QString& folder, int track) const
{
    const qsizetype rows =
        std::min<qsizetype>({dplaylist->count(), dPlayListMatrixAlb.size(), dPlayListMatrixTrk.size()});
    for (int r = fromRow; r < rows; ++r) {
        if (dPlayListMatrixTrk.at(r) == track && dPlayListMatrixAlb.at(r) == folder) return true;
    }
    return false;
}

void Tmainform::AddClick(QObject* Sender, bool creditTaken)
{
    audition->setEnabled(true);
    const int selected = queueRow();
    const int trackRow = dtracklist->currentRow();
    // Once the queue has run out, its selected last entry has been played and no longer counts.
    const int firstWaitingRow = queueRanOut_ ? selected + 1 : selected;
    if (selected >= 0 && library::config.norepeat &&
        alreadyQueued(firstWaitingRow, library::dcurrentalbumpath, trackRow + 1)) {
        // Only a credit this selection used is given back: the desktop, the random playlist and
        // a jukebox without credits took none.
        if (creditTaken) frontend().RefundCredit();
        frontend().domessage(QStringLiteral("NO CREDIT TAKEN - TRACK ALREADY IN QUEUE"));
        return;
    }
    if (trackRow >= 0) {
        const QString title = dtracklist->item(trackRow)->text();
        dplaylist->addItem(title);
        const int row = dplaylist->count() - 1;
        growEntries(dplaylist->count());
        dPlayListMatrixAlb[row] = library::dcurrentalbumpath;
        dPlayListMatrixTrk[row] = trackRow + 1;
        dCurrentTrack = dplaylist->count();

        if (frontend().jukeboxExists()) {
            frontend().domessage(QStringLiteral("Added Track: ") + title);
            if (!library::config.trackslogfile.isEmpty()) {
                QString album;
                QString artist;
                library::extractalbumartist(library::dcurrentalbumpath, album, artist);
                frontend().writeentry(artist, album, title);
            }
        }
        if (dplaylist->count() > 0) {
            for (QWidget* control : std::initializer_list<QWidget*>{play, fwd, bck, pause})
                control->setEnabled(true);
        }
        if (queueRow() < 0) {
            selectQueueRow(0);
            dplaylistClick(Sender);
        }
    }
    clearlist->setEnabled(dplaylist->count() > 0);
}

void Tmainform::insertClick(QObject* Sender)
{
    const int trackRow = dtracklist->currentRow();
    if (trackRow < 0) return;
    const int selected = queueRow();
    const int rows = dplaylist->count();
    if (rows == 0 || selected == rows - 1) {
        AddClick(Sender);
        return;
    }
    const int p = selected + 1;
    growEntries(rows);
    for (int r = rows; r > p; --r) {
        dPlayListMatrixAlb[r] = dPlayListMatrixAlb.at(r - 1);
        dPlayListMatrixTrk[r] = dPlayListMatrixTrk.at(r - 1);
    }
    {
        const QSignalBlocker quiet(dplaylist);
        dplaylist->insertItem(p, dtracklist->item(trackRow)->text());
    }
    dPlayListMatrixAlb[p] = library::dcurrentalbumpath;
    dPlayListMatrixTrk[p] = trackRow + 1;
    dCurrentTrack = dplaylist->count();
    if (p <= dcurrentlyplayingtrack) ++dcurrentlyplayingtrack;
}

void Tmainform::DelClick(QObject*)
{
    const int r = queueRow();
    if (r < 0) return;
    removeQueueRow(r);
    showQueueRows(r < dplaylist->count() ? r : r - 1);
}

void Tmainform::removeQueueRow(int row)
{
    const int oldRows = dplaylist->count();
    growEntries(oldRows - 1);
    {
        const QSignalBlocker quiet(dplaylist);
        delete dplaylist->takeItem(row);
    }
    for (int i = row; i + 1 < oldRows; ++i) {
        dPlayListMatrixAlb[i] = dPlayListMatrixAlb.at(i + 1);
        dPlayListMatrixTrk[i] = dPlayListMatrixTrk.at(i + 1);
    }
    followRemovedRow(row, dplaylist->count());
}

void Tmainform::showQueueRows(int row)
{
    const int rows = dplaylist->count();
    if (rows > 0) {
        selectQueueRow(row);
        dCurrentTrack = rows;
        return;
    }
    del->setEnabled(false);
    clearlist->setEnabled(false);
    dCurrentTrack = 0;
    for (QWidget* control : std::initializer_list<QWidget*>{progress, skipforward, skipback, play, bck, fwd})
        control->setEnabled(false);
    pause->setEnabled(true);
}

void Tmainform::followRemovedRow(int removed, int rows)
{
    if (removed < dcurrentlyplayingtrack) {
        --dcurrentlyplayingtrack;
    } else if (removed == dcurrentlyplayingtrack) {
        // The playing entry is gone: the entry that moved into its row plays next; when it was
        // the last row, the queue ends after the track that plays now.
        playingEntryRemoved_ = removed < rows;
        if (!playingEntryRemoved_) dcurrentlyplayingtrack = std::max(rows - 1, 0);
    }
}

void Tmainform::clearlistClick(QObject* Sender)
{
    StopClick(Sender);
    Stop->setChecked(true);
    dCurrentTrack = 0;
    dcurrentlyplayingtrack = 0;
    playingEntryRemoved_ = false;
    queueRanOut_ = false;
    {
        const QSignalBlocker quiet(dplaylist);
        dplaylist->clear();
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{progress, skipforward, skipback, play, bck, fwd, del, clearlist})
        control->setEnabled(false);
    pause->setEnabled(true);
}

void Tmainform::swapQueueEntries(int a, int b)
{
    const int rows = dplaylist->count();
    if (a < 0 || b < 0 || a >= rows || b >= rows || a == b) return;
    growEntries(rows - 1);
    QListWidgetItem* first = dplaylist->item(a);
    QListWidgetItem* second = dplaylist->item(b);
    const QString text = first->text();
    first->setText(second->text());
    second->setText(text);
    std::swap(dPlayListMatrixAlb[a], dPlayListMatrixAlb[b]);
    std::swap(dPlayListMatrixTrk[a], dPlayListMatrixTrk[b]);
    if (dcurrentlyplayingtrack == a)
        dcurrentlyplayingtrack = b;
    else if (dcurrentlyplayingtrack == b)
        dcurrentlyplayingtrack = a;
}

bool Tmainform::holdsFileOf(const QString& folder) const
{
    return mp->fileName().startsWith(folder + QLatin1Char('/'));
}

void Tmainform::followAlbumFolder(const QString& from, const QString& to)
{
    for (QString& folder : dPlayListMatrixAlb)
        if (folder == from) folder = to;
    for (QString* shown : {&library::currentalbumpath, &library::dcurrentalbumpath})
        if (*shown == from) *shown = to;
    // The open file plays on from its handle; its name follows, so a resume after a pause finds it.
    if (holdsFileOf(from)) mp->setFileName(to + mp->fileName().mid(from.size()));
}

void Tmainform::removeQueuedAlbum(const QString& folder)
{
    const bool held = holdsFileOf(folder);
    const int rows = int(std::min<qsizetype>(dplaylist->count(), dPlayListMatrixAlb.size()));
    bool removed = false;
    for (int r = rows - 1; r >= 0; --r) {
        const bool playing = held && r == dcurrentlyplayingtrack && !playingEntryRemoved_;
        if (playing || dPlayListMatrixAlb.at(r) != folder) continue;
        removeQueueRow(r);
        removed = true;
    }
    if (removed) showQueueRows(std::min(dcurrentlyplayingtrack, dplaylist->count() - 1));
}

void Tmainform::dplaylistDragOver(QObject*, QObject* Source, int, int, bool& Accept)
{
    Accept = qobject_cast<QListWidget*>(Source) != nullptr;
}

void Tmainform::dplaylistDragDrop(QObject* Sender, QObject* Source, int X, int Y)
{
    if (Source == dtracklist) {
        AddClick(Sender);
        return;
    }
    if (Source != dplaylist) return;
    const int dragged = queueRow();
    const QModelIndex target = dplaylist->indexAt(QPoint(X, Y));
    if (dragged >= 0 && target.isValid()) swapQueueEntries(dragged, target.row());
}

void Tmainform::dplaylistClick(QObject* Sender)
{
    vol->setValue(library::config.volume);
    const int row = queueRow();
    if (row >= 0) {
        del->setToolTip(QStringLiteral("Remove \"") + dplaylist->item(row)->text() +
                        QStringLiteral("\" from playlist"));
        del->setEnabled(true);
    } else {
        del->setEnabled(false);
    }
    if (Sender == dplaylist) playbutmod->setVisible(row != dcurrentlyplayingtrack);
}

void Tmainform::dplaylistDblClick(QObject* Sender)
{
    playbutmod->hide();
    if (queueRow() >= 0) playClick(Sender);
}

void Tmainform::numberoftracksTimer(QObject*)
{
    const QString rows = QString::number(dplaylist->count());
    if (playmode == 0)
        playlistcaption->setText(rows + QStringLiteral(" tracks"));
    else
        playlistcaption->setText(QString::number(queueRow() + 1) + QLatin1Char('/') + rows +
                                 QStringLiteral(" tracks"));
    // The caption blinks: hidden on one tick, shown on the next.
    playlistcaption->setVisible(captionBlinkPhase_ != 0);
    captionBlinkPhase_ = 1 - captionBlinkPhase_;
}

bool Tmainform::queueDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        bool accept = false;
        const QPoint at = drag->position().toPoint();
        dplaylistDragOver(dplaylist, drag->source(), at.x(), at.y(), accept);
        if (!accept) {
            drag->ignore();
            return true;
        }
        // A copy, so the list the row came from never removes it itself.
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QPoint at = drop->position().toPoint();
        dplaylistDragDrop(dplaylist, drop->source(), at.x(), at.y());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    default:
        return false;
    }
}

} // namespace player

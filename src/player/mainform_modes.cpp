// The two play styles of the player window: CD-player style (one album, its own transport) and
// play-list style (the queue, which the jukebox drives).

#include "player/mainform.h"

#include <QAction>
#include <QComboBox>
#include <QTimer>
#include <QToolButton>

namespace player {

void Tmainform::CdplayerbutClick(QObject*)
{
    dj->setEnabled(false);
    numberoftracks->stop();
    Cdplayerbut->setChecked(true);
    Playlist->hide();
    buttonsMouseMove(nullptr);
}

void Tmainform::playlistbutClick(QObject*)
{
    dj->setEnabled(true);
    playlistbut->setChecked(true);
    if (Dalbumlist->currentIndex() < 0 && albumlist->currentIndex() >= 0) {
        Dalbumlist->setCurrentIndex(albumlist->currentIndex());
        DalbumlistChange(Dalbumlist);
    }
    numberoftracks->start();
    Playlist->show();
    buttonsMouseMove(nullptr);
}

} // namespace player

#pragma once

// The loader of the thumbnail panel's covers: after the jukebox window first opens, a worker
// thread walks the album list and hands each album's folder over to the window thread in batches,
// which only add them to the thumbnail scroller. No cover is looked for or read here: the scroller
// decodes a cell when it shows and makes a small copy when a list row first asks for it, so a
// start costs no work for covers nobody sees. Until the load ends the thumbnail corner and the
// desktop player's cover-pick button stay hidden. The worker reads only a copy of the album list
// taken when it is made; `requestInterruption` stops it between albums.
// Made, started and waited for on the window thread; the jukebox window owns it, and it frees
// itself when it ends.

#include <QString>
#include <QThread>
#include <QVector>

#include "controls/picturescroller.h"
#include "library/global.h"

namespace jukebox {

class Tjukebox;

class loadcovers : public QThread
{
    Q_OBJECT

public:
    explicit loadcovers(Tjukebox& window);

    // The cover controls are to show.
    bool vis = false;

protected:
    // The load (the thread body).
    void run() override;

private:
    // Run on the window thread by hand-over.
    void controlsvisible();
    void setlast();
    void handOver(void (loadcovers::*step)());
    void handOverBatch();

    // Album folders not yet handed over.
    QVector<controls::FolderCover> batch_;

    Tjukebox& window_;
    const library::albumtype albums_;
    const QString root_;
    const bool wraponunderscore_;
};

} // namespace jukebox

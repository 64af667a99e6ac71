#pragma once

// The loader of the thumbnail panel's covers: after the jukebox window first opens, a worker
// thread walks the album list and hands each album over to the window thread, which decodes a
// small copy of its cover (reduced in the DCT) and adds it to the thumbnail scroller; the
// scroller decodes full cells only for what it shows. Until the load ends the thumbnail corner
// and the desktop player's cover-pick button stay hidden. The worker reads only a copy of the
// album list taken when it is made; `requestInterruption` stops it between albums.
// Made, started and waited for on the window thread; the jukebox window owns it, and it frees
// itself when it ends.

#include <QImage>
#include <QString>
#include <QThread>
#include <cstdint>

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
    // The album folder whose cover is being loaded, and its album number.
    QString spp;
    int32_t alb = 0;
    // The cover being loaded (window thread only).
    QImage o;

protected:
    // The load (the thread body).
    void run() override;

private:
    // Run on the window thread by hand-over.
    void controlsvisible();
    void addthumb();
    void setlast();
    void handOver(void (loadcovers::*step)());

    Tjukebox& window_;
    const library::albumtype albums_;
    const QString root_;
    const bool wraponunderscore_;
};

} // namespace jukebox

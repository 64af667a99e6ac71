#include "jukebox/loadcovers.h"

#include "controls/picturescroller.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/textlabel.h"
#include "library/albumstore.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/screens.h"
#include "platform/waithelper.h"
#include "player/mainform.h"
#include "skins/loadjpegorbmp.h"

#include <QToolButton>

namespace jukebox {

namespace {

// With the setting `wraponunderscore` on, albums without an artist or whose artist begins with
// "_" get no thumbnail.
bool skippedWithUnderscore(const library::talbumtype& entry)
{
    return entry.artist.isEmpty() || entry.artist.startsWith(QLatin1Char('_'));
}

} // namespace

loadcovers::loadcovers(Tjukebox& window)
    : QThread(&window), window_(window), albums_(library::album.mid(0, library::albumcount + 1)),
      root_(library::config.path), wraponunderscore_(library::config.wraponunderscore)
{
}

void loadcovers::run()
{
    vis = false;
    handOver(&loadcovers::controlsvisible);
    for (int32_t n = 1; n < albums_.size() && !isInterruptionRequested(); ++n) {
        if (wraponunderscore_ && skippedWithUnderscore(albums_.at(n))) continue;
        spp = platform::joinPath(root_, library::albumfoldername(albums_.at(n)));
        alb = n;
        handOver(&loadcovers::addthumb);
    }
    if (isInterruptionRequested()) return;
    vis = true;
    handOver(&loadcovers::setlast);
    handOver(&loadcovers::controlsvisible);
}

void loadcovers::handOver(void (loadcovers::*step)())
{
    platform::synchronize(&window_, [this, step] { (this->*step)(); });
}

void loadcovers::controlsvisible()
{
    if (player::mainform) player::mainform->coverpickbut->setVisible(vis);
    window_.VisualsPanelPanel->setVisible(vis);
    if (vis)
        window_.sizethumbpanel();
    else
        window_.thumbs->resize(platform::screens().geometry(&window_).size());
}

// Only the small copy is decoded here (the cover reduced in the DCT), so one hand-over stays far
// below a frame; the scroller decodes the cells it shows itself.
void loadcovers::addthumb()
{
    // A load being stopped (the program ends) adds nothing more.
    if (isInterruptionRequested()) return;
    skins::loadjpegbmp(spp, o,
                       QSize(controls::TPictureScroller::kSmallSide, controls::TPictureScroller::kSmallSide));
    window_.thumbs->addcover(o, alb, spp);
}

void loadcovers::setlast()
{
    if (currentalbum <= library::jalbumcount) window_.thumbs->Makealbumvisible(currentalbum);
    if (library::SLOWPROCESSOR) window_.loadcovercaption->hide();
    // The load leaves many small freed pictures behind in the allocator's arenas.
    platform::returnFreeMemory();
}

} // namespace jukebox

#include "jukebox/loadcovers.h"

#include "controls/picturescroller.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/textlabel.h"
#include "library/albumstore.h"
#include "platform/files.h"
#include "platform/screens.h"
#include "platform/waithelper.h"
#include "player/mainform.h"

#include <QElapsedTimer>
#include <QToolButton>
#include <utility>

namespace jukebox {

namespace {

// With the setting `wraponunderscore` on, albums without an artist or whose artist begins with
// "_" get no thumbnail.
bool skippedWithUnderscore(const library::talbumtype& entry)
{
    return entry.artist.isEmpty() || entry.artist.startsWith(QLatin1Char('_'));
}

// Album folders go to the window thread this many at a time, or sooner once this long has passed:
// adding a batch takes the window thread well under a millisecond.
constexpr int kBatchCovers = 256;
constexpr qint64 kBatchMs = 100;

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
    QElapsedTimer sinceHandOver;
    sinceHandOver.start();
    for (int32_t n = 1; n < albums_.size() && !isInterruptionRequested(); ++n) {
        if (wraponunderscore_ && skippedWithUnderscore(albums_.at(n))) continue;
        batch_.append(
            controls::FolderCover{n, platform::joinPath(root_, library::albumfoldername(albums_.at(n)))});
        if (batch_.size() < kBatchCovers && !sinceHandOver.hasExpired(kBatchMs)) continue;
        handOver(&loadcovers::handOverBatch);
        sinceHandOver.restart();
    }
    if (isInterruptionRequested()) return;
    handOver(&loadcovers::handOverBatch);
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

// A batch only joins the scroller's list.
void loadcovers::handOverBatch()
{
    const QVector<controls::FolderCover> covers = std::exchange(batch_, {});
    // A load being stopped (the program ends) adds nothing more.
    if (isInterruptionRequested() || covers.isEmpty()) return;
    window_.thumbs->addcovers(covers);
}

void loadcovers::setlast()
{
    if (currentalbum <= library::jalbumcount) window_.thumbs->Makealbumvisible(currentalbum);
    if (library::SLOWPROCESSOR) window_.loadcovercaption->hide();
}

} // namespace jukebox

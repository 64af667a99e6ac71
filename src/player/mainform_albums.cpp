// The album list as the player window shows it: the scan, track titles, albums added and deleted.

#include "player/mainform.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QSlider>
#include <QStringList>
#include <QToolButton>

#include "library/albumstore.h"
#include "library/global.h"
#include "platform/files.h"
#include "player/aboutform.h"
#include "player/frontend.h"
#include "skins/coverloader.h"

namespace player {

bool Tmainform::buildcontentlist(bool forceload)
{
    if (!forceload) return library::albumcount != 0;
    initmessage(QStringLiteral("Building Album List...."));
    return library::scanalbumfolders(keepWindowsAlive);
}

// The splash and the windows stay alive through long loops over the albums: pending events run
// every few milliseconds, not after every album, which would cost more than the albums themselves.
void Tmainform::keepWindowsAlive()
{
    constexpr qint64 kEveryMs = 10;
    static QElapsedTimer sinceEvents;
    if (sinceEvents.isValid() && !sinceEvents.hasExpired(kEveryMs)) return;
    QCoreApplication::processEvents();
    sinceEvents.start();
}

bool Tmainform::loadtitles(QListWidget* sender, int albumindex)
{
    if (library::albumcount == 0 || sender == nullptr) return false;
    if (albumindex < 1 || albumindex >= library::album.size()) return false;
    const QString folder = library::albumfolderpath(library::album.at(albumindex));
    if (sender == tracklist)
        library::currentalbumpath = folder;
    else if (sender == dtracklist)
        library::dcurrentalbumpath = folder;

    QStringList titles;
    if (!library::readtitlesfile(folder, titles)) return false;
    sender->clear();
    sender->addItems(titles);
    return true;
}

// Loads album `n`'s titles into `list`; a folder whose "title.dat" cannot be read gets it rebuilt
// from its track files first. Where it can be neither read nor made (a folder or a link in its
// place, no permission), the track files' own names stand for the titles: the list must never
// keep the album shown before, whose tracks the guest would then be choosing from.
void Tmainform::loadAlbumTitles(QListWidget* list, int n)
{
    if (loadtitles(list, n)) return;
    maketitles(library::albumfoldername(library::album.at(n)));
    if (loadtitles(list, n)) return;
    list->clear();
    list->addItems(library::titlesFromTracks(library::albumfolderpath(library::album.at(n))));
}

// The cover comes when a worker has decoded it, no larger than it shows: a huge cover file never
// holds the window. Until then the cover of the album before stays.
void Tmainform::showAlbumCover(const QString& folder)
{
    if (!coverLoader_) coverLoader_ = std::make_unique<skins::CoverLoader>();
    coverLoader_->load(folder, cover->size(),
                       [this](const QImage& picture) { cover->setPixmap(QPixmap::fromImage(picture)); });
}

bool Tmainform::coverLoading() const
{
    return coverLoader_ && coverLoader_->loading();
}

void Tmainform::albumlistChange(QObject*)
{
    const int n = albumlist->currentIndex() + 1;
    library::config.lastalbum = n;
    if (library::albumcount != 0 && n >= 1 && n < library::album.size()) {
        showAlbumCover(library::albumfolderpath(library::album.at(n)));
        albumlist->setToolTip(albumlist->currentText());
        loadAlbumTitles(tracklist, n);
    }
    if (Cdplayerbut->isChecked()) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{skipforward, skipback, progress, play, fwd, bck, pause})
            control->setEnabled(false);
        timermode = 0;
    }
}

void Tmainform::DalbumlistChange(QObject*)
{
    const int n = Dalbumlist->currentIndex() + 1;
    library::config.dlastalbum = n;
    if (library::albumcount == 0 || n < 1 || n >= library::album.size()) return;
    Dalbumlist->setToolTip(Dalbumlist->currentText());
    loadAlbumTitles(dtracklist, n);
    dtracklist->setCurrentRow(0);
}

void Tmainform::maketitles(const QString& path)
{
    library::maketitles(path);
}

void Tmainform::addalbum(const QString& art, const QString& alb)
{
    library::appendalbum(art, alb);
    const QString row = art + QStringLiteral(" - ") + alb;
    Dalbumlist->addItem(row);
    albumlist->addItem(row);
    frontend().addthumbnail(library::albumfolderpath({alb, art}), albumlist->count() - 1);
    library::rebuildjalbum();
}

void Tmainform::deletealbum(int i)
{
    if (i < 1 || i > library::albumcount) return;
    library::removealbum(i);
    Dalbumlist->removeItem(i - 1);
    albumlist->removeItem(i - 1);
    frontend().deletethumbnail(i - 1);
    library::rebuildjalbum();
}

} // namespace player

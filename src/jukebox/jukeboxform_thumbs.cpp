// The cover thumbnails: the loader that fills them after the window first opens, and the
// thumbnails following the album list as albums come and go.

#include "jukebox/jukeboxform.h"

#include <QCoreApplication>

#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "jukebox/loadcovers.h"
#include "library/global.h"
#include "platform/waithelper.h"

namespace jukebox {

void Tjukebox::docovers()
{
    QCoreApplication::processEvents();
    if (initcovers) return;
    initcovers = new loadcovers(*this);
    // The loader frees itself when it ends (unless the window freed it first, which drops this).
    connect(initcovers, &QThread::finished, initcovers, [loader = initcovers] {
        if (initcovers == loader) initcovers = nullptr;
        loader->deleteLater();
    });
    initcovers->start(library::SLOWPROCESSOR ? QThread::IdlePriority : QThread::InheritPriority);
}

void Tjukebox::stopcovers()
{
    if (!initcovers) return;
    initcovers->requestInterruption();
    platform::waitForThread(*initcovers);
    delete initcovers;
    initcovers = nullptr;
}

void Tjukebox::addthumbnail(const QString& albumFolder, int index)
{
    thumbs->addcover(index + 1, albumFolder);
}

void Tjukebox::setThumbnailPictures(controls::TScrollListbox& list)
{
    if (VisualsPanelPanel->isHidden()) {
        list.setalbumpictures(nullptr);
        disconnect(thumbs, &controls::TPictureScroller::smallCopyMade, &list, nullptr);
        return;
    }
    list.setalbumpictures([this](int32_t album) { return thumbs->albumpicture(album); });
    // A row's picture is made when the row first asks for it: the list paints again once it is.
    connect(thumbs, &controls::TPictureScroller::smallCopyMade, &list, &controls::TScrollListbox::Paint,
            Qt::UniqueConnection);
}

void Tjukebox::deletethumbnail(int index)
{
    thumbs->Delete(thumbs->lookupalbum(index + 1));
}

} // namespace jukebox

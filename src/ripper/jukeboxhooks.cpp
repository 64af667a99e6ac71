#include "ripper/jukeboxhooks.h"

#include "ripper/addtrack.h"
#include "ripper/musripmain.h"

namespace ripper {

void JukeboxHooks::rip_go()
{
    if (ripmain) ripmain->rip_go();
}

void JukeboxHooks::doedit(int al)
{
    if (ripmain) ripmain->doedit(al);
}

bool JukeboxHooks::addtrack(const QString& artist, const QString& album, const QString& path,
                            QString& usedArtist, QString& usedAlbum, bool firstrun)
{
    return addtrackdialog(artist, album, path, usedArtist, usedAlbum, firstrun) != TAddTrack::kCancelled;
}

bool JukeboxHooks::extractionVisible() const
{
    return ripmain && ripmain->isVisible();
}

} // namespace ripper

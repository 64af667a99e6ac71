#pragma once

// The ripper's side of the hooks the jukebox calls: the CD road, the album edit menu and Add Track,
// all on the extraction window `ripmain`. The application installs it once that window exists.
// GUI thread only.

#include "jukebox/ripperhooks.h"

namespace ripper {

class JukeboxHooks : public jukebox::RipperHooks
{
public:
    void rip_go() override;
    void doedit(int al) override;
    bool addtrack(const QString& artist, const QString& album, const QString& path, QString& usedArtist,
                  QString& usedAlbum, bool firstrun) override;
    bool extractionVisible() const override;
};

} // namespace ripper

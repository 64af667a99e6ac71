#pragma once

// What the jukebox asks of the CD ripper, which stands above it: the kiosk panel's "Extract CD", the
// edit list's album edit and Add Track for files dropped on an album. The application installs the
// ripper's side; until then the do-nothing default answers. GUI thread only.

#include <QString>

namespace jukebox {

class RipperHooks
{
public:
    virtual ~RipperHooks() = default;

    // Runs the whole CD road: extraction window, disc, titles, tracks.
    virtual void rip_go() {}
    // The album edit menu for album `al` (1-based).
    virtual void doedit(int /*al*/) {}
    // Adds the dropped file `path` to the album `artist` / `album` or a new one (`firstrun` marks a
    // drop's first file); `usedArtist` / `usedAlbum` get the album the next file goes to. False when
    // the user cancelled or the copy failed, which ends the drop.
    virtual bool addtrack(const QString& /*artist*/, const QString& /*album*/, const QString& /*path*/,
                          QString& /*usedArtist*/, QString& /*usedAlbum*/, bool /*firstrun*/)
    {
        return false;
    }
    // Whether the extraction window is on screen.
    virtual bool extractionVisible() const { return false; }
};

// The ripper in force: the do-nothing default unless one was installed.
RipperHooks& ripperHooks();
// Installs the ripper's side (not owned); nullptr restores the default.
void setRipperHooks(RipperHooks* replacement);

} // namespace jukebox

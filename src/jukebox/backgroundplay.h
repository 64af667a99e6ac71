#pragma once

// Background play: random tracks of the library played one at a time, through the desktop player's
// CD-player style, while nobody has chosen music. Whether it is switched on is
// `library::autoplaymode`; the check box, the play and rest cycle and the volume fade belong to the
// jukebox window (jukeboxform_background.cpp). GUI thread only.

#include <QVector>
#include <cstdint>
#include <functional>

class QRandomGenerator;

namespace jukebox {

// The track now playing is a background track.
inline bool autoplaying = false;

// One background track already played: an album row of the player's album list and a row of that
// album's titles, both from 0.
struct tdonelist
{
    int32_t album = 0;
    int32_t track = 0;
};

// The pairs already played, and their count.
inline QVector<tdonelist> donelist;
inline int32_t donelistcount = 0;
// The album rows background play chooses from (a row listed twice is twice as likely); empty means
// any album. Read from "background.list" beside the program.
inline QVector<int32_t> backgroundlist;

// Resets background play and reads the list of albums it may choose from.
void initautoplay();
// Starts one background track.
void startautoplay();
// Ends background play.
void stopautoplay();

// Puts the globals of this unit back to their state at program start (test fixtures).
void resetBackgroundPlay();

// The random source of the choice. Tests install a seeded one (not owned); nullptr goes back to the
// unit's own, which `initautoplay` seeds from the clock.
void setBackgroundRandom(QRandomGenerator* source);

// Chooses the album and track of the next background track from `backgroundlist` (or from all
// `albumcount` albums), avoiding albums without titles and pairs in `donelist`, which it empties
// once 250 tries have found nothing new. `loadalbum(a)` makes album row `a` the player's current
// album and returns how many titles it has. The pair is added to `donelist`. False when no album
// with titles turned up: nothing is chosen then.
[[nodiscard]] bool chooseBackgroundTrack(int32_t albumcount, const std::function<int(int32_t)>& loadalbum,
                                         QRandomGenerator& random, tdonelist& chosen);

// The player's album list lost row `index`: the album rows kept here follow it.
void backgroundAlbumRemoved(int index);

// A volume step of the jukebox's buttons and keys: the player's volume bar moves by `step` within
// 0..150 and is applied. While a background track plays it is held at `bgvolumemax` and kept as
// the setting `bgvolume`, otherwise as the setting `volume`. The volume bar shows it.
void stepVolume(int step);

} // namespace jukebox

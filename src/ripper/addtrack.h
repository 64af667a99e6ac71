#pragma once

// The Add Track dialog: a file dropped on an album of the jukebox becomes that album's next track,
// or the first track of a new album. GUI thread only.

#include <QString>

namespace ripper {

constexpr int kAddTrackAdded = 1;
constexpr int kAddTrackCancelled = 2;

// Offers the file `apath` for the album `aart` / `aalb`; `firstrun` is true for the first file of a
// drop. Returns kAddTrackAdded or kAddTrackCancelled; `oart` and `oalb` receive the album that took
// the track, for the next file of the same drop.
int addtrackdialog(const QString& aart, const QString& aalb, const QString& apath, QString& oart,
                   QString& oalb, bool firstrun);

} // namespace ripper

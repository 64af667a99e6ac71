#pragma once

// Where a new album is built while its CD is extracted: a hidden folder in the library root, which
// the album scan does not look at, on the same disk as the library, so the finished album joins
// the library whole with one rename and an interrupted extraction never shows as a torn album.
// What an interrupted extraction left (the staging folder, the tracks' PCM files in the cache) is
// swept at the next start. GUI thread.

#include <QString>

namespace ripper {

// The staging folder of the album folder `albumpath` (its name in the library).
QString stagingfolder(const QString& albumpath);

// Makes the staging folder of `albumpath` afresh, empty. False when it cannot be made.
[[nodiscard]] bool preparestaging(const QString& albumpath);

// Stages the album `albumpath` of the library as it stands, every file in it hard-linked rather
// than copied: files added to or rewritten (never written in place) in the staged album reach the
// library together with moveintolibrary, and the album there stays as it was until then. False,
// with nothing staged, for an album that is a link or on a file system without hard links.
[[nodiscard]] bool stagealbum(const QString& albumpath);

// Marks the album `albumpath` as taking the track file `track` in place, where it cannot be
// staged (a disk without hard links): its staging folder, made afresh, names the track until
// dropstaging. After a kill, the next start takes the track out again unless its title line was
// written, and removes the temporary copies left in the album. False when the mark cannot be made.
[[nodiscard]] bool markinplace(const QString& albumpath, const QString& track);

// Moves the staged album `albumpath` into the library. An album of that name already there is
// replaced: its files that the new album has no counterpart of, apart from tracks, are kept.
// False, with the library unchanged, when it cannot be moved.
[[nodiscard]] bool moveintolibrary(const QString& albumpath);

// What the operator is told when an album cannot be staged: that a file (no folder) stands where
// the staging folder goes, which no album can pass, or else `otherwise`.
QString stagingfailure(const QString& otherwise);

// What the operator is told when a staged album cannot be moved into the library.
QString movefailure(const QString& albumpath);

// Removes the staging folder of `albumpath` with everything in it.
void dropstaging(const QString& albumpath);

// The template (for a temporary folder) of the hidden folder in the library root that an album goes
// into, with one rename, to be deleted there.
QString deletionaside();

// Removes what interrupted extractions and deletions left: every staging folder, the PCM files of
// the cache, albums caught halfway through their deletion, and the temporary copies and the
// untitled track of an album caught taking a track in place. An album caught aside while a new
// one was taking its place, the place still empty, is put back and listed first.
void sweepinterrupted();

} // namespace ripper

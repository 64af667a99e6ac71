#pragma once

// The album store on disk and its lists in memory. Each album is a folder "artist__album"
// directly under the library root `config.path`, holding "track01.mp3", ... and "title.dat"
// (one title per line). The scan fills `albumref` in folder-name order; the player's list
// filling then orders `album`. GUI thread only (but for makependingtitles): workers take
// snapshots of the lists.

#include <QString>
#include <QStringList>
#include <functional>

namespace library {

struct talbumtype;

// The folder name of `entry`: artist + "__" + album.
QString albumfoldername(const talbumtype& entry);
// The folder of `entry` under the library root.
QString albumfolderpath(const talbumtype& entry);

// Scans the album folders under the library root into `albumref`, `albumrefonload` and their
// counts (and sizes `album` to match), noting the folders without "title.dat" for
// makependingtitles; until then their titles read as the file will. Calls
// `afterEachAlbum` after each album, so a splash can stay alive. False, with nothing changed,
// when the root holds no album folder.
bool scanalbumfolders(const std::function<void()>& afterEachAlbum);

// The titles of the album folder `folder` (full path) as made from its tracks: one per "*.mp?"
// file in name order, the file name without its four-character extension, made one line.
QStringList titlesFromTracks(const QString& folder);

// The "title.dat" of the album folder `folder` (full path): the one it holds in any spelling
// ("TITLE.DAT"), else "title.dat". Every writer writes there, so a folder never holds two.
QString titlesfilepath(const QString& folder);

// The text of a titles file holding `titles`, one line each: each title is made one line
// (oneLineTitle) as it is written, so the file has exactly one line per title.
QByteArray titlesfiletext(const QStringList& titles);

// Writes "title.dat" into the album folder `folderName` (relative to the library root): one line
// per track, as titlesFromTracks gives them.
void maketitles(const QString& folderName);

// Makes the "title.dat" files the scans noted missing, as maketitles would, with one flush to disk
// for all of them. Any thread; the window thread reads on meanwhile.
void makependingtitles();

// Reads the titles of the album folder `path` (full path) into `tracks` / `trackscount`.
// False, with both unchanged, when the folder or its "title.dat" cannot be read.
[[nodiscard]] bool loadtitles(const QString& path);

// The lines of the "title.dat" in `folderPath` as they stand, as many as the track lists can
// reach, each cut to a length the screens can use. False when there is no readable
// "title.dat" (a folder whose file makependingtitles has still to make reads as it will).
[[nodiscard]] bool readtitlelines(const QString& folderPath, QStringList& lines);

// The lines of the "title.dat" in `folderPath`, "Unknown track name" standing for an empty line.
// False, with `titles` unchanged, when there is no readable "title.dat".
[[nodiscard]] bool readtitlesfile(const QString& folderPath, QStringList& titles);

// Appends an album to `album` (no sorting).
void appendalbum(const QString& art, const QString& alb);
// Removes album i (1-based) from `album`, moving the later ones down.
void removealbum(int i);
// Rebuilds the jukebox's copy `jalbum`: `album` padded to an even count with the filler album.
void rebuildjalbum();

} // namespace library

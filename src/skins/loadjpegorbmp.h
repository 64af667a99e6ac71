#pragma once

// Cover pictures of album folders: "title.jpg", "title.jpeg" or "title.bmp" (any case), read
// directly or through a copy in the local cache folder, and the two ready-made pictures that
// stand in for a missing or unreadable cover. Callers always receive a picture.
// The error pictures are made on the window thread (`initerrorbitmaps`); once they are, covers may
// be loaded on any thread (the thumbnail loader and the album pages' workers do).

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

namespace skins {

// Shown for an album without a cover file, and for a cover that cannot be read.
inline QImage errorbitmap_noimage;
inline QImage errorbitmap_corrupt;

// Builds both error pictures (taking those `prepareerrorbitmaps` made); later calls keep the
// pictures already built.
void initerrorbitmaps();

// Starts making both error pictures on a worker thread, so the window thread's first
// `initerrorbitmaps` only takes them. Window thread only, after the settings are read.
void prepareerrorbitmaps();

// A new 170 x 170 error picture: `msg` and the album's artist and title on the NOIMAGE picture.
QImage errorwithbitmap(const QString& msg, const QString& artist, const QString& album);

// `fn` with every path separator and every ":" replaced by "0".
QString maketempname(const QString& fn);

// Brings the cache copy of fn + "/title." + ext up to date and returns the cache file's name.
// A failed copy is not reported: the load that follows fails instead.
QString docachedcheckandcopy(const QString& fn, const QString& ext);

// Loads the cover of the album folder `fname` (no trailing separator; one listing of the folder
// finds it) into `resulted`, or an error picture when there is none or none can be read. With a
// `wanted` size a JPEG is decoded at the smallest reduction that still covers that size; a huge
// picture is always reduced.
void loadjpegbmp(const QString& fname, QImage& resulted, QSize wanted = {});

// The file in the cache folder that keeps a small copy of the cover of album folder `fname`, named
// by a digest of the folder and of each cover file's name, size and last-write time, so that a
// cover changed since the copy was made is made again; empty when the folder holds no cover file
// (one listing of the folder finds them) or there is no cache folder. Any thread.
QString smallcopyfile(const QString& fname);

// While `cancelled` (when set) says so, a load on the calling thread that waits for its turn to read
// a large cover gives up and yields the corrupt picture: the picture is no longer wanted.
void setLoadCancelled(std::function<bool()> cancelled);

// Drops both error pictures (test fixtures).
void reseterrorbitmaps();

} // namespace skins

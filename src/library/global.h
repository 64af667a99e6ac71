#pragma once

// The settings record and the unit-level state of the album library: the album list, the
// jukebox's padded copy of it, the track titles of one album and the switches read from the
// settings file. All of it lives on the GUI thread; workers take snapshots.

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

#include "library/skintypes.h"

namespace library {

struct Tconfig
{
    QString path; // library root; always ends in a separator after readini
    int32_t volume = 0;
    bool Dj_default = false;
    bool Dj_comment = false;
    int32_t lastalbum = 0;
    int32_t dlastalbum = 0;
    int32_t jlastalbum = 0;
    int32_t auditiontimeout = 0;
    QString burnpath;
    QString screensaverpath;
    uint32_t bgcolor = 0;
    uint32_t bordercolor = 0;
    int32_t bgstyle = 0;
    uint8_t borderstyle = 0;
    uint8_t cdopt = 0;
    bool timeannounce = false;
    bool hidepanel = false;
    bool hideexit = false;
    bool litewarn = false;
    bool defaultfilteron = false;
    bool mediaplayermode = false;
    bool autoplay = false;
    bool lock = false;
    QString password;
    bool jukeboxaddall = false;
    bool jukeboxvolumepanel = false;
    int32_t bitrate = 0;
    QString cddbserver;
    QString cddbcgi;
    QString artworkhost; // host (and port) of the cover-art service
    QString email;
    bool norepeat = false;
    QString networksettings;
    QString copytrackdest;
    int32_t monitor = 0;
    int32_t videomonitor = 0;
    QString errorlog;
    int32_t fontsize = 0;
    int32_t showminimize = 0;
    bool poweroff = false;
    ttheme theme;
    bool wraponunderscore = false;
    bool creditsystem = false;
    int32_t playspercoincredit = 0;
    bool allowfreecredit = false;
    int32_t bgvolumemax = 0;
    int32_t bgvolume = 0;
    int32_t bgduration = 0;
    int32_t bgwaittime = 0;
    QString trackslogfile;
    int64_t credittotal = 0;
    int64_t freecredittotal = 0;
    bool disable3d = false;
};

// A list of strings with a count (phrases, genres, artist types).
struct tdylist
{
    QStringList data;
    int32_t count = 0;
};

// One album: its name and its artist.
struct talbumtype
{
    QString album;
    QString artist;
    bool operator==(const talbumtype&) const = default;
};

// Used 1-based: slot 0 holds no album.
using albumtype = QVector<talbumtype>;

inline Tconfig config;
inline bool cached = false;
inline QString cachepath;
// Why `cachepath` is empty, naming the folders refused (set by `readini`).
inline QString cacheproblem;
// What the operator is told on the jukebox's welcome line: why the last scan found no album (set
// by `scanalbumfolders`), and a passcode refused by `readini`. Empty when all is well.
inline QString libraryproblem;
inline QString passcodeproblem;
inline bool SLOWPROCESSOR = false;
inline bool autoplaymode = false;
inline tdylist phrases;
inline tdylist genre;
inline tdylist artisttype;

inline albumtype album;
inline int32_t albumcount = 0;
inline albumtype albumref;
inline albumtype albumrefonload;
inline int32_t albumrefonloadcount = 0;
inline albumtype jalbum;
inline int32_t jalbumcount = 0;
inline QStringList tracks;
inline int32_t trackscount = 0;
inline QString currentalbumpath;
inline QString dcurrentalbumpath;
// The album being extracted or edited: its artist, its title and its folder name (artist + "__" +
// title) under the library root.
inline QString artist;
inline QString title;
inline QString albumpath;

// Puts every global of this unit, and the album filter, back to its state at program start
// (test fixtures).
void resetGlobals();

} // namespace library

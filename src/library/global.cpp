#include "library/global.h"

#include "library/filter.h"
#include "library/writefailures.h"

namespace library {

void resetGlobals()
{
    config = Tconfig{};
    cached = false;
    cachepath.clear();
    cacheproblem.clear();
    libraryproblem.clear();
    passcodeproblem.clear();
    clearWriteFailures();
    SLOWPROCESSOR = false;
    autoplaymode = false;
    phrases = {};
    genre = {};
    artisttype = {};
    album.clear();
    albumcount = 0;
    albumref.clear();
    albumrefonload.clear();
    albumrefonloadcount = 0;
    jalbum.clear();
    jalbumcount = 0;
    tracks.clear();
    trackscount = 0;
    currentalbumpath.clear();
    dcurrentalbumpath.clear();
    artist.clear();
    title.clear();
    albumpath.clear();
    filter = tfilter{};
}

} // namespace library

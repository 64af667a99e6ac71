#pragma once

// The CD database: the disc identifier of a table of contents, the matches the database knows for
// it and the record text of one match. Spoken over HTTP through libcddb, with its cache off (it
// would write to the home folder). Every call blocks the calling thread for the exchange with the
// server (at most kCddbTimeoutSeconds per step).

#include <QString>
#include <QVector>
#include <cstdint>

namespace platform {

constexpr unsigned kCddbTimeoutSeconds = 10;

struct CddbOptions
{
    QString server; // host name; "host:port" overrides `port`
    QString path;   // the script path on the server
    QString email;
    QString agent;
    QString agentVersion;
    int port = 80;
};

// A disc as the database sees it: the start of every track in frames counted from the start of
// the disc's lead-in (logical block address + 150), and the disc's playing length in seconds.
struct CddbDisc
{
    QVector<uint32_t> offsets;
    uint32_t lengthSeconds = 0;
};

struct CddbMatch
{
    QString category;
    uint32_t discid = 0;
    QString artist;
    QString title;
};

// The database's identifier of `disc`.
uint32_t cddbDiscId(const CddbDisc& disc);

// At most `maxMatches` matches for `disc`. False when the server could not be asked or refused
// the question; true with no matches when it knows none.
[[nodiscard]] bool cddbQuery(const CddbOptions& options, const CddbDisc& disc, int maxMatches,
                             QVector<CddbMatch>& matches);

// The record of `match` for `disc` as lines ending in a carriage return and line feed: "DTITLE=" artist
// " / " title, then "TTITLE<n>=" for every track the record names. Empty when the record cannot
// be read.
QString cddbRecord(const CddbOptions& options, const CddbMatch& match, const CddbDisc& disc);

} // namespace platform

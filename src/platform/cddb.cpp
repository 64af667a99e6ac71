#include "platform/cddb.h"

#include <QByteArray>
#include <memory>

#include <cddb/cddb.h>

namespace platform {

namespace {

struct ConnDeleter
{
    void operator()(cddb_conn_t* c) const { cddb_destroy(c); }
};
using Connection = std::unique_ptr<cddb_conn_t, ConnDeleter>;

struct DiscDeleter
{
    void operator()(cddb_disc_t* d) const { cddb_disc_destroy(d); }
};
using Disc = std::unique_ptr<cddb_disc_t, DiscDeleter>;

// libcddb leaves fields it did not find NULL. A tab separates words as a space does (titles lose
// their control characters later).
QString text(const char* field)
{
    return field ? QString::fromUtf8(field).replace(QLatin1Char('\t'), QLatin1Char(' ')) : QString();
}

void splitServer(const CddbOptions& options, QByteArray& host, int& port)
{
    host = options.server.toUtf8();
    port = options.port;
    const int colon = options.server.lastIndexOf(QLatin1Char(':'));
    bool numeric = false;
    const int given = colon > 0 ? options.server.mid(colon + 1).toInt(&numeric) : 0;
    if (numeric && given > 0 && given < 65536) {
        host = options.server.left(colon).toUtf8();
        port = given;
    }
}

Connection connect(const CddbOptions& options)
{
    cddb_log_set_level(CDDB_LOG_NONE);
    Connection conn(cddb_new());
    if (!conn) return conn;
    QByteArray host;
    int port = 0;
    splitServer(options, host, port);
    cddb_http_enable(conn.get());
    cddb_cache_disable(conn.get());
    cddb_set_server_name(conn.get(), host.constData());
    cddb_set_server_port(conn.get(), port);
    cddb_set_http_path_query(conn.get(), options.path.toUtf8().constData());
    // A malformed address only leaves the library's default in place.
    cddb_set_email_address(conn.get(), options.email.toUtf8().constData());
    cddb_set_client(conn.get(), options.agent.toUtf8().constData(),
                    options.agentVersion.toUtf8().constData());
    cddb_set_timeout(conn.get(), kCddbTimeoutSeconds);
    return conn;
}

Disc makeDisc(const CddbDisc& disc)
{
    Disc d(cddb_disc_new());
    if (!d) return d;
    for (const uint32_t offset : disc.offsets) {
        cddb_track_t* track = cddb_track_new();
        if (!track) return nullptr;
        cddb_track_set_frame_offset(track, int(offset));
        cddb_disc_add_track(d.get(), track); // the disc owns the track from here
    }
    cddb_disc_set_length(d.get(), disc.lengthSeconds);
    cddb_disc_calc_discid(d.get());
    return d;
}

CddbMatch matchOf(cddb_disc_t* d)
{
    return CddbMatch{text(cddb_disc_get_category_str(d)), cddb_disc_get_discid(d),
                     text(cddb_disc_get_artist(d)), text(cddb_disc_get_title(d))};
}

} // namespace

uint32_t cddbDiscId(const CddbDisc& disc)
{
    const Disc d = makeDisc(disc);
    return d ? cddb_disc_get_discid(d.get()) : 0;
}

bool cddbQuery(const CddbOptions& options, const CddbDisc& disc, int maxMatches, QVector<CddbMatch>& matches)
{
    matches.clear();
    const Connection conn = connect(options);
    const Disc d = makeDisc(disc);
    if (!conn || !d) return false;
    const int found = cddb_query(conn.get(), d.get());
    if (found < 0) return false;
    for (int i = 0; i < found && i < maxMatches; ++i) {
        if (i > 0 && !cddb_query_next(conn.get(), d.get())) break;
        matches.append(matchOf(d.get()));
    }
    return true;
}

QString cddbRecord(const CddbOptions& options, const CddbMatch& match, const CddbDisc& disc)
{
    const Connection conn = connect(options);
    // libcddb names only the tracks the disc already has.
    const Disc d = makeDisc(disc);
    if (!conn || !d) return {};
    cddb_disc_set_category_str(d.get(), match.category.toUtf8().constData());
    cddb_disc_set_discid(d.get(), match.discid);
    if (cddb_read(conn.get(), d.get()) != 1) return {};
    const QString crlf = QStringLiteral("\r\n");
    QString record = QStringLiteral("DTITLE=") + text(cddb_disc_get_artist(d.get())) + QStringLiteral(" / ") +
                     text(cddb_disc_get_title(d.get())) + crlf;
    int n = 0;
    for (cddb_track_t* t = cddb_disc_get_track_first(d.get()); t; t = cddb_disc_get_track_next(d.get()), ++n)
        if (const char* title = cddb_track_get_title(t))
            record += QStringLiteral("TTITLE") + QString::number(n) + QLatin1Char('=') + text(title) + crlf;
    return record;
}

} // namespace platform

#include "jukebox/albumpages.h"

#include <QStringList>
#include <algorithm>

#include "jukebox/jukeboxform.h"
#include "library/albumstore.h"

namespace jukebox {

namespace {
// `k` taken round into 1..count.
int around(int k, int count)
{
    return ((k - 1) % count + count) % count + 1;
}
} // namespace

std::array<int, 8> pageAlbums(int num, int count)
{
    std::array<int, 8> albums{};
    int k = num;
    for (int slot = 0; slot < 6; ++slot) {
        albums[slot] = k;
        if (++k > count) k = 1;
    }
    int before = num - 2;
    if (before > count) before = 1;
    if (before < 1) before = count - 1;
    albums[6] = before;
    albums[7] = before + 1;
    return albums;
}

int pageOf(int n, int count)
{
    if (count <= 0) return 1;
    n = std::clamp(n, 1, count);
    return n % 2 == 0 ? n - 1 : n;
}

QVector<PrismFill> prismFills(int n, int mode, const view3d::TCubePositions& positions, int albums)
{
    if (albums <= 0) return {};
    n = around(n, albums);
    switch (mode) {
    case 0:
        return {{positions.prev, around(n - 1, albums)},
                {positions.front, n},
                {positions.next, around(n + 1, albums)}};
    case 1:
        return {{positions.rear, around(n - 2, albums)}};
    case -1:
        return {{positions.rear, around(n + 2, albums)}};
    default:
        return {};
    }
}

QString removethe(const QString& s)
{
    static const QString kThe = QStringLiteral("the ");
    const int at = int(s.indexOf(kThe, 0, Qt::CaseInsensitive));
    if (at < 0) return s;
    return s.left(at) + QLatin1Char(' ') + s.mid(at + kThe.size());
}

QString letterKey(const QString& row)
{
    return removethe(row.toUpper()).trimmed();
}

QVector<view3d::TitleRow> readTitleRows(const QString& folder, int32_t album)
{
    QStringList lines;
    if (!library::readtitlelines(folder, lines)) return {};
    QVector<view3d::TitleRow> rows;
    int32_t track = 0;
    for (const QString& line : lines) {
        ++track;
        if (!line.trimmed().isEmpty()) rows.append({line.toUpper(), album, track});
    }
    return rows;
}

} // namespace jukebox

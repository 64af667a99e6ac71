#pragma once

// A generated library for the benchmarks: album folders "Artist N__Album N" (mixed case and a
// spread of first letters, so ordering has real work to do), each with ten empty tracks and a
// "title.dat", under `root`.

#include <QByteArray>
#include <QChar>
#include <QDir>
#include <QFile>
#include <QString>
#include <filesystem>

namespace bench {

constexpr int kTracksPerAlbum = 10;

inline void touchFile(const QString& path, const QByteArray& content = {})
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
}

inline void writeAlbumLibrary(const QString& root, int albums)
{
    QByteArray titles;
    for (int t = 1; t <= kTracksPerAlbum; ++t)
        titles += "Track title " + QByteArray::number(t) + '\n';
    for (int n = 0; n < albums; ++n) {
        const QString folder = QStringLiteral("%1/%2rtist %3__Album %4")
                                   .arg(root)
                                   .arg(QChar(n % 2 ? u'a' : u'A'))
                                   .arg((n * 7919) % albums)
                                   .arg(n);
        QDir().mkpath(folder);
        for (int t = 1; t <= kTracksPerAlbum; ++t)
            touchFile(folder + QStringLiteral("/track%1.mp3").arg(t, 2, 10, QLatin1Char('0')));
        touchFile(folder + QStringLiteral("/title.dat"), titles);
    }
}

// `program` runnable from `folder` as a hard link there (a copy where no link can be made): the
// program reads its settings beside its own file.
inline QString programIn(const QString& folder, const QString& program)
{
    const QString placed = folder + QStringLiteral("/musetra");
    std::error_code failed;
    std::filesystem::create_hard_link(program.toStdString(), placed.toStdString(), failed);
    if (failed) QFile::copy(program, placed);
    return placed;
}

// `program` placed in `folder` (see programIn) beside settings that point at `albums` generated
// albums in the folder's "music", with its cache in the folder's "cache"; the placed program.
inline QString installJukebox(const QString& folder, const QString& program, int albums)
{
    const QString music = folder + QStringLiteral("/music");
    const QString cache = folder + QStringLiteral("/cache");
    QDir().mkpath(music);
    QDir().mkpath(cache);
    writeAlbumLibrary(music, albums);
    touchFile(folder + QStringLiteral("/Musetra.ini"),
              QStringLiteral("[main]\nPath=%1/\nCachePath=%2\nautoplay=0\n").arg(music, cache).toUtf8());
    return programIn(folder, program);
}

} // namespace bench

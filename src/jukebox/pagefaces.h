#pragma once

// The cover pictures of the album pages: an album's cover stretched to the size it is shown at,
// with the album strip (number and names) painted at its bottom. A page drawn at once has its
// pictures made side by side on worker threads, one a cover; a page step has one worker make them
// while its slide runs (leaving the other cores to the slide), so the page drawn after the slide
// only puts finished pictures in place and the window thread is never held up for long. `paintCoverFace` and
// `paintAlbumFace` may run on any thread; `PreparedFaces` belongs to the window thread (its workers read only
// their own copies).

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>
#include <future>
#include <vector>

namespace jukebox {

// Everything a cover picture is made from, copied so that no thread reads shared state.
struct FaceSource
{
    int album = 0;
    QString folder;
    QString artist;
    QString name;
    QSize size;
    bool operator==(const FaceSource&) const = default;
};

// The strip at the bottom of `lab` (toned down towards grey, with the album number `number` and
// the names on it) and a black line down its left edge.
void paintAlbumFace(QImage& lab, int number, const QString& artist, const QString& name);

// The cover of the album in `folder` stretched over a black picture of `size` (the loader's error
// picture when the cover is missing or broken).
QImage stretchedCover(const QString& folder, const QSize& size);

// The stretched cover of `source` painted by `paintAlbumFace`; a null picture for an empty size.
QImage paintCoverFace(const FaceSource& source);

class PreparedFaces
{
public:
    PreparedFaces() = default;
    ~PreparedFaces() { clear(); }
    PreparedFaces(const PreparedFaces&) = delete;
    PreparedFaces& operator=(const PreparedFaces&) = delete;

    // Starts making the pictures of `sources`, shared among `workers` worker threads; earlier ones
    // are dropped, unless they are for the same sources.
    void prepare(QVector<FaceSource> sources, int workers);
    // The picture made for exactly `source` (waiting for its worker when it is still at work), or a
    // null picture when none was prepared for it.
    QImage take(const FaceSource& source);
    // Drops every prepared picture.
    void clear();

private:
    QVector<FaceSource> sources_;
    int workers_ = 1;
    std::vector<std::shared_future<QVector<QImage>>> work_;
};

} // namespace jukebox

#pragma once

// The cover pictures of the album pages: an album's cover stretched to the size it is shown at,
// with the album strip (number and names) painted at its bottom. A page drawn at once has its
// pictures made side by side on worker threads, one a cover; a page step has one worker make them
// while its slide runs (leaving the other cores to the slide), so the page drawn after the slide
// only puts finished pictures in place; a picture not finished yet (a huge cover) follows when it
// is, and the window thread never waits for a decode. Beside a slide a second worker paints each
// picture's stand-in (the strip on black), so the page drawn after it puts even those in place
// without painting them. Workers run below the window thread's priority. `paintCoverFace` and
// `paintAlbumFace` may run on any thread; `PreparedFaces` belongs to the window thread (its workers read only
// their own copies).

#include <QImage>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVector>
#include <functional>
#include <future>
#include <memory>
#include <vector>

class QObject;

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

// What the slot of `source` shows while its cover is being made: the album strip on black.
QImage stripOnBlack(const FaceSource& source);

class PreparedFaces
{
public:
    // `late` runs on the window thread of `context` with each picture that was asked for before it
    // was made.
    using Late = std::function<void(const FaceSource&, const QImage&)>;
    PreparedFaces(QObject* context, Late late) : context_(context), late_(std::move(late)) {}
    ~PreparedFaces();
    PreparedFaces(const PreparedFaces&) = delete;
    PreparedFaces& operator=(const PreparedFaces&) = delete;

    // When the page prepared for is drawn: at once, its pictures made side by side (one worker a
    // picture); after a slide, by one worker that leaves the other cores to the slide while
    // another paints every picture's stand-in, so the drawing paints none of them itself; or
    // beside a layout, by two workers: each sets up its own fonts under the font database's one
    // lock, which the layout keeps taking, so more of them would hold the window thread up.
    enum class Drawing { AtOnce, AfterASlide, BesideALayout };

    // Starts making the pictures of `sources` for `drawing`; earlier ones are dropped, unless they
    // are for the same sources.
    void prepare(QVector<FaceSource> sources, Drawing drawing);
    // The picture made for exactly `source`; a null picture when none was prepared for it. One
    // still being made goes to `late` once made; meanwhile this is its stand-in (`stripOnBlack`)
    // when a worker has painted that, else a null picture. Never waits for a worker.
    QImage take(const FaceSource& source);
    // True while a picture asked for is still being made.
    bool pending() const;
    // Drops every prepared picture not yet asked for; those asked for still go to `late`.
    void clear();

private:
    struct Batch;

    // The worker that paints the stand-in of each picture of `batch`, until the page is drawn.
    static void paintStandIns(const std::shared_ptr<Batch>& batch);
    // Worker `w` of `count`: the pictures w, w + count, w + 2 count, ...
    static void makeFaces(const std::shared_ptr<Batch>& batch, int w, int count,
                          const QPointer<QObject>& context, const Late& late);

    // No picture of an earlier drawing goes to `late` any more.
    void abandonAsked();

    QObject* context_;
    Late late_;
    std::shared_ptr<Batch> batch_;
    std::vector<std::shared_ptr<Batch>> asked_; // dropped batches with pictures still to deliver
    std::vector<std::future<void>> workers_;
};

} // namespace jukebox

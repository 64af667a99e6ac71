// Cover thumbnails of 10,000 albums with 500 x 500 JPEG covers, loaded as the jukebox loads them
// after it first opens, then shown: (a) the time the thumbnail strip takes to show its pages of
// covers, until their workers' cells show (the first screen, then paged a row at a time until the cell cache
// has been filled twice) beside decoding the same covers at the same size in a bare loop; (b) the resident
// memory the loaded thumbnails add, with those pages shown, at 1024 x 768 and 1920 x 1080, beside the 16-bit
// cells the scroller would hold if it kept one per album; (c) the CPU time the window thread spends
// from the start of the load to its end (everything it does for the load), beside the bare decode
// of every cover. The work is checked: every album has a thumbnail of its own folder, every
// hundredth asked for its small copy gives one made from its cover, and every cell shown has its
// own cover's colour at its centre.
// Each screen size runs in a child process of its own, so their memory does not mix.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <malloc.h>
#include <string>
#include <time.h>

#include "controls/picturescroller.h"
#include "eventwait.h"
#include "goal.h"
#include "inprocess.h"
#include "controls/transparentpanel.h"
#include "jukebox/jukeboxform.h"
#include "library/global.h"
#include "platform/jpegcodec.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"
#include "platform/screens.h"
#include "app/application.h"

namespace {

constexpr int kAlbums = 10'000;
// The window thread's share of the load: it only adds finished thumbnails, a tenth of the bare
// decode at most.
constexpr double kWindowCpuShare = 0.1;
// Showing pages of covers costs their decode and little more: scaling each to its cell and painting.
constexpr double kShownShare = 1.3;

constexpr int kCoverSide = 500;
constexpr int kCoverVariants = 16;
// The longest the loader may take over the library, and a child over its whole measurement.
constexpr int kLoadBoundMs = 240'000;
constexpr int kChildBoundMs = 2 * kLoadBoundMs;

// A cover with some detail, so the decoder has real work: bands of colour and a diagonal pattern.
QByteArray coverJpeg(int variant)
{
    QImage cover(kCoverSide, kCoverSide, QImage::Format_RGB888);
    for (int y = 0; y < kCoverSide; ++y)
        for (int x = 0; x < kCoverSide; ++x)
            cover.setPixelColor(x, y,
                                QColor::fromHsv((x / 7 + y / 11 + variant * 23) % 360, 150 + (x * y) % 100,
                                                120 + ((x + y) % 17) * 7));
    return platform::encodeJpeg(cover, 85);
}

void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
}

void makeLibrary(const QString& root)
{
    QByteArray covers[kCoverVariants];
    for (int v = 0; v < kCoverVariants; ++v)
        covers[v] = coverJpeg(v);
    for (int n = 0; n < kAlbums; ++n) {
        const QString folder =
            QStringLiteral("%1/music/Artist %2__Album %2").arg(root).arg(n, 5, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        write(folder + QStringLiteral("/track01.mp3"), {});
        write(folder + QStringLiteral("/title.dat"), "Track\n");
        write(folder + QStringLiteral("/title.jpg"), covers[n % kCoverVariants]);
    }
    QDir().mkpath(root + QStringLiteral("/cache"));
    write(root + QStringLiteral("/Musetra.ini"),
          QStringLiteral("[main]\nPath=%1/music\nCachePath=%1/cache\nautoplay=0\n").arg(root).toUtf8());
}

QString coverOf(const QString& root, int album)
{
    return QStringLiteral("%1/music/Artist %2__Album %2/title.jpg")
        .arg(root)
        .arg(album, 5, 10, QLatin1Char('0'));
}

// The bare decode: each of `covers` read, decoded and scaled to `side` square, into `decoded` when
// given. -1 when one fails.
double bareDecodeMs(const QStringList& covers, int side, QList<QImage>* decoded = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString& cover : covers) {
        QFile file(cover);
        QImage picture;
        if (!file.open(QIODevice::ReadOnly) ||
            !platform::decodeJpeg(file.readAll(), picture, QSize(side, side)))
            return -1;
        picture = picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (decoded) decoded->append(picture);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

// A cell the strip showed: the cover it stands for and the colour at its centre.
struct ShownCell
{
    QString cover;
    QColor centre;
};

// The cells of the strip's current page not seen before, added to `shown`.
void noteShownCells(const controls::TPictureScroller& thumbs, QList<ShownCell>& shown, QSet<int>& seen)
{
    for (const controls::tmatrix& hit : thumbs.hits()) {
        if (hit.item < 0 || hit.item >= thumbs.count() || hit.x2 <= hit.x1 || seen.contains(hit.item))
            continue;
        seen.insert(hit.item);
        shown.append({thumbs.pl.items[hit.item].folder + QStringLiteral("/title.jpg"),
                      thumbs.face().pixelColor((hit.x1 + hit.x2) / 2, (hit.y1 + hit.y2) / 2)});
    }
}

// The cells whose centre has the colour of their own cover's centre, decoded bare.
int cellsShowingTheirCover(const QList<ShownCell>& shown, const QList<QImage>& decoded)
{
    constexpr int kTolerance = 40; // per channel: scaling mixes neighbouring pixels
    int showing = 0;
    for (qsizetype i = 0; i < shown.size() && i < decoded.size(); ++i) {
        const QColor bare = decoded[i].pixelColor(decoded[i].width() / 2, decoded[i].height() / 2);
        const QColor cell = shown[i].centre;
        if (std::abs(bare.red() - cell.red()) <= kTolerance &&
            std::abs(bare.green() - cell.green()) <= kTolerance &&
            std::abs(bare.blue() - cell.blue()) <= kTolerance)
            ++showing;
    }
    return showing;
}

// A child's wait that failed: said on the error channel, which the run's log keeps, and the child
// ends without its figures. 1.
int waitFailed(const char* what)
{
    std::fprintf(stderr, "work not done|%s within %d s\n", what, kLoadBoundMs / 1000);
    return 1;
}

// Runs the event loop until the scroller has shown every picture it asked its workers for (each
// arrival wakes the loop); whether it has within the bound.
bool picturesShown(const controls::TPictureScroller& thumbs)
{
    QElapsedTimer waited;
    waited.start();
    QTimer wake; // so the bound is seen even should nothing arrive
    wake.start(100);
    while (thumbs.making() && !waited.hasExpired(kLoadBoundMs))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return !thumbs.making();
}

// Thumbnails of their own album's folder, of which every hundredth is asked for its small copy and
// must give one made from its cover, not a stand-in picture.
int madeFromCovers(controls::TPictureScroller& thumbs)
{
    int made = 0;
    const QSize small(controls::TPictureScroller::kSmallSide, controls::TPictureScroller::kSmallSide);
    for (const controls::picrecord& record : std::as_const(thumbs.pl.items)) {
        if (!record.folder.endsWith(
                QStringLiteral("Album %1").arg(record.album - 1, 5, 10, QLatin1Char('0'))))
            continue;
        const bool sampled = record.album % 100 == 0;
        if (sampled) {
            (void)thumbs.albumpicture(record.album);
            if (!picturesShown(thumbs)) return 0;
        }
        if (!sampled || (thumbs.albumpicture(record.album).size() == small && record.picture.isNull()))
            ++made;
    }
    return made;
}

// Child: loads the thumbnails on a screen of `size`, shows them and prints "shown-ms bare-ms
// window-cpu-ms added-bytes one-cell-bytes thumbnails made-from-covers cells-shown
// cells-showing-their-cover".
int measure(const QString& root, QSize size)
{
    bench::FixedScreens screens(size);
    platform::setScreens(&screens);
    platform::setProgramFolder(root);
    QStringList allCovers;
    for (int n = 0; n < kAlbums; ++n)
        allCovers << coverOf(root, n);
    const double bareAllMs = bareDecodeMs(allCovers, controls::TPictureScroller::kSmallSide);
    auto windows =
        std::make_unique<app::Application>([] { return std::make_unique<platform::MpvMediaPlayer>(); });
    jukebox::Tjukebox* jb = jukebox::jukebox;
    if (!jb) return 1;
    // The load the start-up began is stopped; the one measured starts from an empty scroller.
    jb->stopcovers();
    if (!bench::waitUntil([] { return jukebox::initcovers == nullptr; }, kLoadBoundMs))
        return waitFailed("the load the start-up began stopped");
    jb->thumbs->clear();
    malloc_trim(0);
    const qint64 before = bench::residentBytes();

    const double cpuBefore = bench::cpuMs();
    jb->docovers();
    if (!bench::waitUntil([jb] { return !jb->VisualsPanelPanel->isHidden(); }, kLoadBoundMs))
        return waitFailed("the cover loader went through every album");
    const double windowCpuMs = bench::cpuMs() - cpuBefore;

    // The strip shown, then paged a screen at a time through covers not shown before until its
    // cache of cells has been filled twice. Each such page is timed, and painted again from the
    // cells it then holds: its painting alone.
    jb->show();
    jb->thumbpanel->show();
    controls::TPictureScroller* thumbs = jb->thumbs;
    if (!picturesShown(*thumbs)) return waitFailed("the first screen's cells were shown");
    QList<ShownCell> shown;
    QSet<int> seen;
    noteShownCells(*thumbs, shown, seen);
    const int screenCells = std::max(int(shown.size()), 1);
    double pagesMs = 0;
    double paintMs = 0;
    QElapsedTimer timer;
    for (int first = screenCells; first <= 2 * controls::TPictureScroller::kCachedCells;
         first += screenCells) {
        timer.start();
        thumbs->Makeitemvisible(first);
        if (!picturesShown(*thumbs)) return waitFailed("a page's cells were shown");
        pagesMs += double(timer.nsecsElapsed()) / 1e6;
        timer.start();
        thumbs->Makeitemvisible(first);
        paintMs += double(timer.nsecsElapsed()) / 1e6;
        noteShownCells(*thumbs, shown, seen);
    }
    const qint64 added = bench::residentBytes() - before;

    const int cell = thumbs->width() / std::max(thumbs->across(), 1);
    QStringList shownCovers;
    for (const ShownCell& shownCell : std::as_const(shown))
        shownCovers << shownCell.cover;
    QList<QImage> decoded;
    if (bareDecodeMs(shownCovers.mid(0, screenCells), cell - cell / 10, &decoded) < 0) return 1;
    const double bareMs = bareDecodeMs(shownCovers.mid(screenCells), cell - cell / 10, &decoded);
    const qint64 cellBytes = qint64(cell - cell / 10) * (cell - cell / 10) * 2;
    std::printf("%.1f %.1f %.1f %.1f %.2f %lld %lld %d %d %d %d %d\n", pagesMs, bareMs, paintMs, bareAllMs,
                windowCpuMs, static_cast<long long>(added), static_cast<long long>(cellBytes),
                thumbs->count(), madeFromCovers(*thumbs), screenCells, int(shown.size()),
                cellsShowingTheirCover(shown, decoded));
    windows.reset();
    platform::setScreens(nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc == 5 && QByteArray(argv[1]) == "--child")
        return measure(QString::fromLocal8Bit(argv[2]),
                       QSize(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt()));

    QTemporaryDir root;
    makeLibrary(root.path());
    std::printf("%-10s %6s %10s %10s %10s %6s %10s %14s %16s\n", "screen", "cells", "pages ms", "bare ms",
                "paint ms", "ratio", "added MB", "per-album MB", "window CPU ms");
    bool measuredAll = true;
    for (const QSize size : {QSize(1024, 768), QSize(1920, 1080)}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), root.path(), QString::number(size.width()),
                     QString::number(size.height())});
        if (!child.waitForFinished(kChildBoundMs)) {
            child.kill();
            child.waitForFinished();
        }
        const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
        if (f.size() != 12) {
            std::printf("%dx%d: not measured\n", size.width(), size.height());
            measuredAll = false;
            break; // the next size would fail alike
        }
        const double pagesMs = f[0].toDouble();
        const double bareMs = f[1].toDouble() + f[2].toDouble();
        const double bareAllMs = f[3].toDouble();
        const double windowCpuMs = f[4].toDouble();
        const double perAlbumMB = f[6].toDouble() * f[7].toDouble() / 1e6;
        const std::string screen = std::to_string(size.width()) + "x" + std::to_string(size.height());
        std::printf("%-10s %6d %10.1f %10.1f %10.1f %6.2f %10.1f %14.1f %16.1f\n", screen.c_str(),
                    f[9].toInt(), pagesMs, f[1].toDouble(), f[2].toDouble(), pagesMs / bareMs,
                    f[5].toDouble() / 1e6, perAlbumMB, windowCpuMs);
        bench::checkWork(f[7].toInt() == kAlbums && f[8].toInt() == kAlbums,
                         "every album got a thumbnail made from its cover at " + screen + " (" +
                             f[7].toStdString() + " thumbnails, " + f[8].toStdString() + " from covers)");
        bench::checkWork(f[10].toInt() > controls::TPictureScroller::kCachedCells && f[11] == f[10],
                         "every cell shown has its own cover at " + screen + " (" + f[11].toStdString() +
                             " of " + f[10].toStdString() + ")");
        bench::reportRatioGoal(
            ("thumbnails: pages of new covers shown at " + screen + " vs bare decode of them and a paint")
                .c_str(),
            pagesMs, bareMs, "ms", kShownShare);
        bench::reportRatioGoal(
            ("thumbnails: window-thread CPU during the load at " + screen + " vs bare decode").c_str(),
            windowCpuMs, bareAllMs, "ms", kWindowCpuShare);
        // One 16-bit cell per album, as the scroller kept them before, is the baseline.
        if (size.width() == 1920)
            bench::reportBudgetGoal(("thumbnails: memory added at " + screen + " vs a cell each").c_str(),
                                    f[5].toDouble() / 1e6, perAlbumMB, "MB", 200);
    }
    bench::checkWork(measuredAll, "every screen size measured");
    return bench::exitStatus();
}

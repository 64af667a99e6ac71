// The picture scroller with 10,000 covers at the size the jukebox shows them (800 x 600, four
// across): the memory they take (peak resident size of this program filled, minus the same
// program with an empty scroller, beside the bytes of their 16-bit pixels), and one screen of
// album covers given by their folders, as the jukebox fills it, rendered and put on a shown
// window's surface, beside the same thumbnails drawn onto a shown window by plain QPainter calls.

#include <QApplication>
#include <QBackingStore>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "controls/picturescroller.h"
#include "goal.h"
#include "gradientcover.h"
#include "keepingreporter.h"
#include "platform/jpegcodec.h"
#include "skins/loadjpegorbmp.h"

namespace {

constexpr int kCovers = 10000;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kCoverSide = 300;
// Album folders with a cover file each; the two screens painted in turn start at these thumbnails.
constexpr int kAlbums = 40;
constexpr int kScreenTops[2] = {8, 12};

// Peak resident size of this process in bytes.
qint64 peakResident()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

QImage cover(int i)
{
    QImage image(kCoverSide, kCoverSide, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(i % 360, 180, 200));
    return image;
}

// Child mode: fill a scroller and report the peak resident size and the pixel bytes.
int reportMemory(int covers)
{
    QWidget owner;
    owner.resize(kWidth, kHeight);
    auto* scroller = new controls::TPictureScroller(&owner);
    scroller->setGeometry(0, 0, kWidth, kHeight);
    for (int i = 0; i < covers; ++i)
        scroller->add(cover(i), i + 1);
    qint64 pixels = 0;
    for (const controls::picrecord& record : scroller->pl.items)
        pixels += record.picture.sizeInBytes();
    std::printf("%lld %lld\n", static_cast<long long>(peakResident()), static_cast<long long>(pixels));
    return 0;
}

bool measureChild(int covers, qint64& rss, qint64& pixels)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--rss"), QString::number(covers)});
    if (!child.waitForFinished(600000)) return false;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2) return false;
    rss = fields[0].toLongLong();
    pixels = fields[1].toLongLong();
    return rss > 0;
}

// Shows `window` and waits (a few seconds at most) until the platform has exposed it, so painting
// reaches its surface.
void showExposed(QWidget& window)
{
    constexpr int kTimeoutMs = 5000;
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && clock.elapsed() < kTimeoutMs)
        QCoreApplication::processEvents();
}

// Album folders, each with its "title.jpg".
class CoverFolders
{
public:
    CoverFolders()
    {
        for (int n = 0; n < kAlbums; ++n) {
            const QString folder = dir_.filePath(QStringLiteral("Artist %1__Album").arg(n));
            QDir().mkpath(folder);
            QFile file(folder + QStringLiteral("/title.jpg"));
            if (file.open(QIODevice::WriteOnly))
                file.write(platform::encodeJpeg(gradientCover(n, kCoverSide), 90));
            folders_.append(folder);
        }
    }
    const QStringList& folders() const { return folders_; }

private:
    QTemporaryDir dir_;
    QStringList folders_;
};

// The jukebox's thumbnail screen: a shown window filled by a scroller, each album added as the
// cover loader adds it (the cell decoded from the folder when it shows).
struct JukeboxScreen
{
    explicit JukeboxScreen(const QStringList& folders)
    {
        window.resize(kWidth, kHeight);
        scroller = new controls::TPictureScroller(&window);
        scroller->setGeometry(0, 0, kWidth, kHeight);
        showExposed(window);
        for (int n = 0; n < folders.size(); ++n)
            scroller->addcover(n + 1, folders[n]);
        scroller->Makeitemvisible(kScreenTops[0]);
    }
    QWidget window;
    controls::TPictureScroller* scroller;
};

// The floor: a shown window of the same size whose painting draws the thumbnails of the screen
// starting at `top` where the scroller places them, and the "More" boxes as plain rectangles.
class PlainScreen : public QWidget
{
public:
    // `cells` are the scroller's thumbnail rectangles, `boxes` its box rectangles, `pictures` the
    // decoded cell of every album.
    PlainScreen(const QVector<QRect>& cells, const QVector<QRect>& boxes, const QVector<QImage>& pictures)
        : cells_(cells), boxes_(boxes), pictures_(pictures)
    {
        resize(kWidth, kHeight);
        showExposed(*this);
    }

    void draw(QPainter& painter) const
    {
        for (const QRect& box : boxes_) {
            painter.fillRect(box, QColor(40, 40, 40));
            painter.drawText(box, Qt::AlignCenter, QStringLiteral("More"));
        }
        for (int j = 0; j < cells_.size(); ++j)
            painter.drawImage(cells_[j], pictures_[top + j]);
    }

    int top = kScreenTops[0];

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        draw(painter);
    }

private:
    QVector<QRect> cells_;
    QVector<QRect> boxes_;
    QVector<QImage> pictures_;
};

std::unique_ptr<CoverFolders> folders;
std::unique_ptr<JukeboxScreen> jukeboxScreen;
std::unique_ptr<PlainScreen> plainScreen;

// The cells as the scroller shows them: each cover decoded at the cell's side, in 16 bits.
QVector<QImage> decodedCells(int side)
{
    QVector<QImage> cells;
    for (const QString& folder : folders->folders()) {
        QImage picture;
        skins::loadjpegbmp(folder, picture, QSize(side, side));
        cells.append(picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB16));
    }
    return cells;
}

void makeScreens()
{
    folders = std::make_unique<CoverFolders>();
    jukeboxScreen = std::make_unique<JukeboxScreen>(folders->folders());
    QVector<QRect> cells, boxes;
    for (const controls::tmatrix& hit : jukeboxScreen->scroller->hits()) {
        const QRect rect(QPoint(hit.x1, hit.y1), QPoint(hit.x2 - 1, hit.y2 - 1));
        if (hit.item >= 0) cells.append(rect);
        if (hit.item < 0 && hit.item != controls::kNothing) boxes.append(rect);
    }
    const int side = cells.isEmpty() ? 1 : cells.first().width();
    plainScreen = std::make_unique<PlainScreen>(cells, boxes, decodedCells(side));
}

// The picture of the window's surface (the offscreen platform's surface is one).
const QImage* surfaceOf(QWidget& window)
{
    return window.backingStore() ? dynamic_cast<const QImage*>(window.backingStore()->paintDevice())
                                 : nullptr;
}

// True when the surfaces of both windows show, at every thumbnail of the first screen, the pixels
// the plain drawing gives it.
bool bothShowTheThumbnails()
{
    controls::TPictureScroller& scroller = *jukeboxScreen->scroller;
    scroller.Makeitemvisible(kScreenTops[0]);
    scroller.repaint();
    plainScreen->top = kScreenTops[0];
    plainScreen->repaint();
    QImage expected(scroller.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    QPainter painter(&expected);
    plainScreen->draw(painter);
    painter.end();
    const QImage* surfaces[] = {surfaceOf(jukeboxScreen->window), surfaceOf(*plainScreen)};
    int thumbnails = 0;
    for (const controls::tmatrix& hit : scroller.hits()) {
        if (hit.item < 0) continue;
        const QRect rect(QPoint(hit.x1, hit.y1), QPoint(hit.x2 - 1, hit.y2 - 1));
        const QImage wanted = expected.copy(rect).convertToFormat(QImage::Format_RGB32);
        for (const QImage* surface : surfaces)
            if (!surface || surface->copy(rect).convertToFormat(QImage::Format_RGB32) != wanted) return false;
        ++thumbnails;
    }
    return thumbnails > 0;
}

void BM_PaintOneScreen(benchmark::State& state)
{
    controls::TPictureScroller& scroller = *jukeboxScreen->scroller;
    int turn = 0;
    for (auto _ : state) {
        scroller.Makeitemvisible(kScreenTops[++turn % 2]);
        scroller.repaint();
    }
}

void BM_PlainPainterScreen(benchmark::State& state)
{
    int turn = 0;
    for (auto _ : state) {
        plainScreen->top = kScreenTops[++turn % 2];
        plainScreen->repaint();
    }
}

BENCHMARK(BM_PaintOneScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainPainterScreen)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--rss") return reportMemory(QByteArray(argv[2]).toInt());

    qint64 emptyRss = 0, fullRss = 0, noPixels = 0, pixels = 0;
    const bool measured = measureChild(0, emptyRss, noPixels) && measureChild(kCovers, fullRss, pixels);

    makeScreens();
    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const bool shown = bothShowTheThumbnails();
    bench::reportRatioGoal("10,000 thumbnails: resident MB vs 16-bit pixels",
                           measured ? (fullRss - emptyRss) / 1e6 : 0, double(pixels) / 1e6, "MB", 1.10);
    bench::reportRatioGoal("one screen of covers on a window vs plain QPainter",
                           reporter.times["BM_PaintOneScreen"], reporter.times["BM_PlainPainterScreen"], "us",
                           2.0);
    jukeboxScreen.reset();
    plainScreen.reset();
    folders.reset();
    bench::checkWork(measured, "the memory of 10,000 thumbnails measured");
    bench::checkWork(shown, "both windows' surfaces show the thumbnails of the screen");
    return bench::exitStatus();
}

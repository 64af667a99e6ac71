// The picture scroller with 10,000 covers at the size the jukebox shows them (800 x 600, four
// across): the memory they take (peak resident size of this program filled, minus the same
// program with an empty scroller, beside the bytes of their 16-bit pixels) and the time to
// paint one screen of them (beside drawing the same visible thumbnails alone).

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "controls/picturescroller.h"
#include "keepingreporter.h"

namespace {

constexpr int kCovers = 10000;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kVisible = 8;

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
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(i % 360, 180, 200));
    return image;
}

struct Screen
{
    Screen(int covers)
    {
        owner.resize(kWidth, kHeight);
        scroller = new controls::TPictureScroller(&owner);
        scroller->setGeometry(0, 0, kWidth, kHeight);
        for (int i = 0; i < covers; ++i)
            scroller->add(cover(i), i + 1);
    }
    QWidget owner;
    controls::TPictureScroller* scroller;
};

// Child mode: fill a scroller and report the peak resident size and the pixel bytes.
int reportMemory(int covers)
{
    Screen screen(covers);
    qint64 pixels = 0;
    for (const controls::picrecord& record : screen.scroller->pl.items)
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

Screen& fullScreen()
{
    static Screen screen(kCovers);
    return screen;
}

void BM_PaintOneScreen(benchmark::State& state)
{
    controls::TPictureScroller* scroller = fullScreen().scroller;
    scroller->Makeitemvisible(kCovers / 2);
    for (auto _ : state) {
        scroller->Paint();
        benchmark::DoNotOptimize(scroller->face().constBits());
    }
}

// The floor: the visible thumbnails drawn onto a transparent picture of the same size.
void BM_DrawVisibleThumbnailsOnly(benchmark::State& state)
{
    const auto& items = fullScreen().scroller->pl.items;
    for (auto _ : state) {
        QImage face(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
        face.fill(Qt::transparent);
        QPainter painter(&face);
        for (int j = 0; j < kVisible; ++j) {
            const QImage& picture = items[kCovers / 2 + j].picture;
            painter.drawImage(
                QRect(10 + 200 * (j % 4), 100 + 200 * (j / 4), picture.width(), picture.height()), picture);
        }
        painter.end();
        benchmark::DoNotOptimize(face.constBits());
    }
}

BENCHMARK(BM_PaintOneScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawVisibleThumbnailsOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--rss") return reportMemory(QByteArray(argv[2]).toInt());

    qint64 emptyRss = 0, fullRss = 0, noPixels = 0, pixels = 0;
    const bool measured = measureChild(0, emptyRss, noPixels) && measureChild(kCovers, fullRss, pixels);

    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (measured && pixels > 0) {
        const double extra = double(fullRss - emptyRss);
        std::printf(
            "%d thumbnails: %.1f MB more resident, 16-bit pixels %.1f MB, ratio %.3f (goal <= 1.10)\n",
            kCovers, extra / 1e6, double(pixels) / 1e6, extra / double(pixels));
    } else {
        std::printf("memory not measured\n");
    }
    const double paint = reporter.times["BM_PaintOneScreen"];
    const double floor = reporter.times["BM_DrawVisibleThumbnailsOnly"];
    if (paint > 0 && floor > 0)
        std::printf("one screen: %.0f us, thumbnails alone: %.0f us, ratio %.2f (goal: paint < 10000 us)\n",
                    paint, floor, paint / floor);
    benchmark::Shutdown();
    return 0;
}

// Cover loading: 100 distinct 1200 x 1200 JPEG covers loaded for 170 x 170 pictures, beside the
// floor of the same work: libjpeg itself, in this process, reading each file and decoding it to
// RGB at the same 2/8 scale (no checks, no picture object). Also the first screen of eight covers,
// beside the same floor for those eight.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <jpeglib.h>
#include <map>
#include <string>
#include <vector>

#include "goal.h"
#include "keepingreporter.h"
#include "platform/jpegcodec.h"
#include "skins/loadjpegorbmp.h"

namespace {

constexpr int kCovers = 100;
constexpr int kSide = 1200;
constexpr int kFirstScreen = 8;
const QSize kWanted(170, 170);

// One album folder per cover, each with a picture of its own.
class Library
{
public:
    Library()
    {
        QRandomGenerator random(7);
        for (int i = 0; i < kCovers; ++i) {
            const QString folder = dir_.filePath(QStringLiteral("Artist %1 - Album").arg(i));
            QDir().mkpath(folder);
            const QString file = folder + QStringLiteral("/title.jpg");
            QFile out(file);
            out.open(QIODevice::WriteOnly);
            out.write(platform::encodeJpeg(paintCover(random), 90));
            folders_.append(folder);
            files_.append(file);
        }
    }
    const QStringList& folders() const { return folders_; }
    const QStringList& files() const { return files_; }

private:
    static QImage paintCover(QRandomGenerator& random)
    {
        QImage image(kSide, kSide, QImage::Format_RGB32);
        QLinearGradient gradient(0, 0, kSide, kSide);
        gradient.setColorAt(0, QColor::fromRgb(random.generate()));
        gradient.setColorAt(1, QColor::fromRgb(random.generate()));
        QPainter painter(&image);
        painter.fillRect(image.rect(), gradient);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < 40; ++k) {
            painter.setBrush(QColor::fromRgb(random.generate()));
            painter.drawEllipse(random.bounded(kSide), random.bounded(kSide), random.bounded(400),
                                random.bounded(400));
        }
        painter.end();
        // A little grain, as scanned and photographed covers have.
        for (int y = 0; y < kSide; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < kSide; ++x) {
                const int n = int(random.bounded(9)) - 4;
                line[x] = qRgb(qBound(0, qRed(line[x]) + n, 255), qBound(0, qGreen(line[x]) + n, 255),
                               qBound(0, qBlue(line[x]) + n, 255));
            }
        }
        return image;
    }

    QTemporaryDir dir_;
    QStringList folders_;
    QStringList files_;
};

Library& library()
{
    static Library instance;
    return instance;
}

void BM_LoadCovers(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QString& folder : library().folders()) {
            QImage picture;
            skins::loadjpegbmp(folder, picture, kWanted);
            benchmark::DoNotOptimize(picture.constBits());
        }
    }
}

// libjpeg's own decode of `file` to RGB at 2/8 scale; the files are the benchmark's own, so
// libjpeg's default error handling (which ends the program) never comes into play.
bool decodeQuarterScale(const QString& file, std::vector<unsigned char>& pixels)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = in.readAll();
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.scale_num = 2;
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    const size_t stride = size_t(info.output_width) * info.output_components;
    pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        unsigned char* row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// The floor for the first `covers` covers.
void libjpegQuarterScale(benchmark::State& state, int covers)
{
    std::vector<unsigned char> pixels;
    for (auto _ : state) {
        for (const QString& file : library().files().mid(0, covers)) {
            if (!bench::checkIteration(state, decodeQuarterScale(file, pixels), "cannot read a cover"))
                return;
            benchmark::DoNotOptimize(pixels.data());
        }
    }
}

void BM_LibjpegQuarterScale(benchmark::State& state)
{
    libjpegQuarterScale(state, kCovers);
}

void BM_LibjpegFirstScreen(benchmark::State& state)
{
    libjpegQuarterScale(state, kFirstScreen);
}

void BM_FirstScreenOfCovers(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < kFirstScreen; ++i) {
            QImage picture;
            skins::loadjpegbmp(library().folders().at(i), picture, kWanted);
            benchmark::DoNotOptimize(picture.constBits());
        }
    }
}

// The work timed is checked: each cover comes out as a picture of its own, never a stand-in.
bool loadsEveryCover()
{
    for (const QString& folder : library().folders()) {
        QImage picture;
        skins::loadjpegbmp(folder, picture, kWanted);
        if (picture.cacheKey() == skins::errorbitmap_noimage.cacheKey() ||
            picture.cacheKey() == skins::errorbitmap_corrupt.cacheKey() ||
            picture.width() < kWanted.width() || picture.height() < kWanted.height())
            return false;
    }
    return true;
}

BENCHMARK(BM_LoadCovers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibjpegQuarterScale)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FirstScreenOfCovers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibjpegFirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    library();
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.times["BM_LoadCovers/real_time"];
    const double floor = reporter.times["BM_LibjpegQuarterScale/real_time"];
    const double first = reporter.times["BM_FirstScreenOfCovers/real_time"];
    const double firstFloor = reporter.times["BM_LibjpegFirstScreen/real_time"];
    bench::checkWork(loadsEveryCover(), "every cover loaded as itself, at the size wanted or larger");
    bench::reportRatioGoal("100 covers vs libjpeg at 2/8 scale", ours, floor, "ms", 1.2);
    bench::reportRatioGoal("first screen of 8 covers vs libjpeg", first, firstFloor, "ms", 1.2);
    benchmark::Shutdown();
    return bench::exitStatus();
}

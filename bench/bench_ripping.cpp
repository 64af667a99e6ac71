// CD extraction speed, as medians of all runs.
// Encoding: 60 s of CD audio encoded by the encoder thread's work, beside the `lame` command line at
// the same bit rate and settings (goal: at least 0.95x its speed).
// The road: a three-track disc image extracted and encoded by the extraction window, timed until it
// has its last MP3 on disk, beside its extraction alone and its encoding alone (goal: within 1.1x
// of max(extraction, encoding) + the encoding of one track, the part that cannot overlap). After
// every road each track's MP3 must hold as many frames as its track has samples, or the benchmark
// fails.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "discimage.h"
#include "median.h"
#include "library/global.h"
#include "platform/cdrom.h"
#include "platform/lameenc.h"
#include "goal.h"
#include "keepingreporter.h"
#include "ripper/albumstaging.h"
#include "ripper/mp3encode.h"
#include "ripper/musripmain.h"

namespace {

constexpr int kBitrate = 192;
// The longest the lame command may take over one minute of audio.
constexpr int kLameBoundMs = 120'000;
constexpr uint32_t kFramesPerSecond = 75;
constexpr uint32_t kTrackFrames = 20 * kFramesPerSecond;
constexpr int kTracks = 3;
constexpr double kSamplesPerFrame = 1152;
constexpr double kSamplesPerCdFrame = 588;
constexpr qsizetype kId3v1Size = 128;

// The seconds of every run of each; the summary takes their medians.
struct Timings
{
    std::vector<double> encoder;
    std::vector<double> lame;
    std::vector<double> road;
    std::vector<double> extraction;
    std::vector<double> encoding;
};
Timings timings;
// Set when a road left a track without its MP3, or with an MP3 that does not hold its samples.
bool roadLostWork = false;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

QString workFile(const QString& name)
{
    return workFolder().filePath(name);
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(data);
}

// The 60 s PCM file, made on first use.
QString minutePcm()
{
    const QString path = workFile(QStringLiteral("minute.pcm"));
    if (!QFile::exists(path))
        writeFile(path,
                  tools::makeDiscImage(workFolder().path(), QStringLiteral("minute"), {60 * kFramesPerSecond})
                      .tracks[0]);
    return path;
}

// Encodes `pcm` into `mp3` as the extraction window's encoder does, on the calling thread.
bool encodeTrack(const QString& pcm, const QString& mp3)
{
    ripper::tmp3encode enc(nullptr);
    enc.infile = pcm;
    enc.outfile = mp3;
    enc.tracknumber = 1;
    enc.bitrate = kBitrate;
    enc.Execute();
    return enc.succeeded();
}

void BM_EncoderThread(benchmark::State& state)
{
    const QString input = workFile(QStringLiteral("encode.pcm"));
    for (auto _ : state) {
        // The encoder deletes its input: it is given a link to the PCM file, which stays.
        if (!bench::checkIteration(state, QFile::link(minutePcm(), input), "cannot link the PCM file")) break;
        const auto start = std::chrono::steady_clock::now();
        if (!bench::checkIteration(state, encodeTrack(input, workFile(QStringLiteral("encode.mp3"))),
                                   "encoding failed"))
            break;
        timings.encoder.push_back(secondsSince(start));
    }
}

void BM_LameCommandLine(benchmark::State& state)
{
    const QString pcm = minutePcm();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QProcess lame;
        lame.start(QStringLiteral("lame"),
                   {QStringLiteral("--quiet"), QStringLiteral("-r"), QStringLiteral("-s"),
                    QStringLiteral("44.1"), QStringLiteral("--bitwidth"), QStringLiteral("16"),
                    QStringLiteral("--signed"), QStringLiteral("--little-endian"), QStringLiteral("-m"),
                    QStringLiteral("s"), QStringLiteral("-b"), QString::number(kBitrate),
                    QStringLiteral("-p"), QStringLiteral("-t"), pcm, workFile(QStringLiteral("lame.mp3"))});
        const bool ended = lame.waitForFinished(kLameBoundMs);
        if (!ended) lame.kill();
        if (!bench::checkIteration(state, ended && lame.exitCode() == 0, "lame failed (is it installed?)"))
            break;
        timings.lame.push_back(secondsSince(start));
    }
}

// A disc image of kTracks tracks of kTrackFrames frames, made on first use.
QString discImage()
{
    static const QString cue = tools::makeDiscImage(workFolder().path(), QStringLiteral("disc"),
                                                    QVector<uint32_t>(kTracks, kTrackFrames))
                                   .cuePath;
    return cue;
}

void prepareRoad()
{
    const QString root = workFile(QStringLiteral("music"));
    QDir().mkpath(root + QStringLiteral("/Bench__Disc"));
    QDir().mkpath(workFile(QStringLiteral("cache")));
    library::config.path = root + QLatin1Char('/');
    library::config.bitrate = kBitrate;
    library::cachepath = workFile(QStringLiteral("cache"));
    library::albumpath = QStringLiteral("Bench__Disc");
    library::tracks = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    library::trackscount = kTracks;
    ripper::id3titles = {kTracks - 1, library::tracks, QStringLiteral("Bench"), QStringLiteral("Disc")};
    ripper::cdhandle = platform::cdDrives().open({QString(), QString(), discImage()});
    (void)ripper::preparestaging(library::albumpath);
}

// The MPEG-1 Layer III frames of `mp3` (44.1 kHz, the header's bit rate and padding), up to its
// ID3 version 1 block; -1 when the bytes are not such a run of frames.
int mp3Frames(const QByteArray& mp3)
{
    static constexpr int kBitrates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    const auto* bytes = reinterpret_cast<const uint8_t*>(mp3.constData());
    const bool tagged = mp3.size() >= kId3v1Size && mp3.mid(mp3.size() - kId3v1Size, 3) == "TAG";
    const qsizetype end = tagged ? mp3.size() - kId3v1Size : mp3.size();
    int frames = 0;
    for (qsizetype at = 0; at < end; ++frames) {
        if (at + 3 > end || bytes[at] != 0xFF || (bytes[at + 1] & 0xFE) != 0xFA) return -1;
        const int kbps = kBitrates[bytes[at + 2] >> 4];
        if (kbps == 0) return -1;
        at += 144 * kbps * 1000 / 44100 + ((bytes[at + 2] >> 1) & 1);
    }
    return frames;
}

// True when the road made every track's MP3 and each lasts as long as its track, within the
// encoder's delay and padding.
bool roadMadeEveryTrack()
{
    for (int n = 1; n <= kTracks; ++n) {
        QFile mp3(ripper::stagingfolder(library::albumpath) +
                  QStringLiteral("/track%1.mp3").arg(n, 2, 10, QLatin1Char('0')));
        const int frames = mp3.open(QIODevice::ReadOnly) ? mp3Frames(mp3.readAll()) : -1;
        if (std::abs(frames - kTrackFrames * kSamplesPerCdFrame / kSamplesPerFrame) > 2) {
            std::printf("track %d of the road: %d MP3 frames for %u CD frames\n", n, frames, kTrackFrames);
            return false;
        }
    }
    return true;
}

void BM_ExtractAndEncodeRoad(benchmark::State& state)
{
    ripper::Tripmain window;
    ripper::ripmain = &window;
    for (auto _ : state) {
        prepareRoad();
        const auto start = std::chrono::steady_clock::now();
        window.doripping();
        timings.road.push_back(secondsSince(start));
        ripper::cdhandle.reset();
        roadLostWork = !roadMadeEveryTrack();
        if (!bench::checkIteration(state, !roadLostWork, "the road did not make every track")) break;
    }
    ripper::ripmain = nullptr;
}

// The parts of the road on their own: reading every track into its PCM file, then encoding each.
void BM_ExtractionThenEncoding(benchmark::State& state)
{
    ripper::Tripmain window;
    ripper::ripmain = &window;
    for (auto _ : state) {
        prepareRoad();
        const auto start = std::chrono::steady_clock::now();
        for (int t = 0; t < kTracks; ++t)
            window.rip(workFile(QStringLiteral("cache/track%1.tmp").arg(t)), t);
        timings.extraction.push_back(secondsSince(start));
        const auto encodeStart = std::chrono::steady_clock::now();
        for (int t = 0; t < kTracks; ++t)
            encodeTrack(workFile(QStringLiteral("cache/track%1.tmp").arg(t)),
                        workFile(QStringLiteral("alone.mp3")));
        timings.encoding.push_back(secondsSince(encodeStart));
        ripper::cdhandle.reset();
    }
    ripper::ripmain = nullptr;
}

BENCHMARK(BM_EncoderThread)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LameCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ExtractAndEncodeRoad)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ExtractionThenEncoding)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!platform::LoadLameEncDLL()) {
        std::printf("the MP3 encoder library cannot be loaded\n");
        return 1;
    }
    bench::runCheckedBenchmarks(argc, argv);
    const double encoder = median(timings.encoder);
    const double lame = median(timings.lame);
    const double road = median(timings.road);
    const double extraction = median(timings.extraction);
    const double encoding = median(timings.encoding);
    const double oneTrack = encoding / kTracks;
    const double bound = std::max(extraction, encoding) + oneTrack;
    std::printf("\nMedian runs. Road of %d x 20 s: extraction alone %.0f ms, encoding alone %.0f ms\n",
                kTracks, extraction * 1000, encoding * 1000);
    // At least 0.95x the speed of lame: at most 1/0.95 of its time.
    bench::reportRatioGoal("encoding 60 s vs the lame program", encoder * 1000, lame * 1000, "ms", 1 / 0.95);
    bench::reportRatioGoal("extract+encode road vs max(parts)+1 track", road * 1000, bound * 1000, "ms", 1.1);
    bench::checkWork(!roadLostWork, "every track of the extract+encode road made whole");
    return bench::exitStatus();
}

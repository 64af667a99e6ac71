#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "discimage.h"
#include "fakecddrives.h"
#include "library/global.h"
#include "library/id3.h"
#include "printers.h"
#include "ripground.h"
#include "ripper/albumstaging.h"
#include "ripper/mp3encode.h"
#include "ripper/musripmain.h"

namespace {

constexpr int kId3Size = 128;
// Stereo samples of one CD sector, and of one MPEG-1 Layer III frame.
constexpr double kSamplesPerSector = 588;
constexpr double kSamplesPerFrame = 1152;

// Checks that `mp3` is a run of MPEG-1 Layer III frames at 44.1 kHz and `kbps`, each with a CRC,
// followed by an ID3 version 1 block; returns the number of frames.
int checkFrames(const QByteArray& mp3, int kbps)
{
    static constexpr int kBitrates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    const auto* bytes = reinterpret_cast<const uint8_t*>(mp3.constData());
    const qsizetype audioEnd = mp3.size() - kId3Size;
    int frames = 0;
    qsizetype at = 0;
    while (at < audioEnd) {
        EXPECT_EQ(bytes[at], 0xFF) << "frame " << frames;
        EXPECT_EQ(bytes[at + 1], 0xFA) << "MPEG-1, Layer III, CRC present";
        EXPECT_EQ(kBitrates[bytes[at + 2] >> 4], kbps);
        EXPECT_EQ((bytes[at + 2] >> 2) & 3, 0) << "44.1 kHz";
        if (::testing::Test::HasFailure()) return frames;
        at += 144 * kbps * 1000 / 44100 + ((bytes[at + 2] >> 1) & 1);
        ++frames;
    }
    EXPECT_EQ(at, audioEnd);
    EXPECT_EQ(mp3.mid(audioEnd, 3), QByteArray("TAG"));
    return frames;
}

class Extraction : public RipGround
{
protected:
    void SetUp() override
    {
        RipGround::SetUp();
        // 60, 30 and 17 frames: no track is a whole number of chunks.
        image = tools::makeDiscImage(folder.path(), QStringLiteral("disc"), {60, 30, 17});
        drives = std::make_unique<FakeCdDrives>(image);
        prepareAlbum(QStringLiteral("Lanterns"), QStringLiteral("Harbour"),
                     {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        ripper::cdhandle = drives->open({});
    }

    void TearDown() override
    {
        ripper::cdhandle.reset();
        drives.reset();
        RipGround::TearDown();
    }

    QString albumFile(const QString& name) const
    {
        return ripper::stagingfolder(library::albumpath) + QLatin1Char('/') + name;
    }

    tools::DiscImage image;
    std::unique_ptr<FakeCdDrives> drives;
};

} // namespace

TEST_F(Extraction, EveryTrackBecomesATaggedMp3WhileTheNextIsRead)
{
    QVector<int> encoderDuringRead;
    drives->onRead = [&](uint32_t lba) {
        if (lba == image.starts[1] || lba == image.starts[2])
            encoderDuringRead.append(window->encoder() ? window->encoder()->tracknumber : 0);
    };
    window->doripping();

    EXPECT_EQ(encoderDuringRead, (QVector<int>{1, 2})) << "track n is encoded while n + 1 is read";
    for (int n = 1; n <= 3; ++n) {
        QFile mp3(albumFile(QStringLiteral("track0%1.mp3").arg(n)));
        ASSERT_TRUE(mp3.open(QIODevice::ReadOnly)) << n;
        const int sectors = int(image.starts[n] - image.starts[n - 1]);
        EXPECT_NEAR(checkFrames(mp3.readAll(), 128), sectors * kSamplesPerSector / kSamplesPerFrame, 2)
            << "track " << n << " lasts as long as its sectors";
        library::tid3tag tag;
        library::readtag(mp3.fileName(), tag);
        EXPECT_EQ(tag.track, library::tracks[n - 1]);
        EXPECT_EQ(tag.artist, QStringLiteral("Lanterns"));
        EXPECT_EQ(tag.album, QStringLiteral("Harbour"));
    }
    EXPECT_TRUE(QDir(cache).entryList(QDir::Files).isEmpty()) << "no PCM file stays behind";
    EXPECT_TRUE(logLines().contains(QStringLiteral("Extracting data for track 3 - \"Three\"")));
    EXPECT_TRUE(logLines().contains(QStringLiteral("    Encoding data for track 3 \"Three\"")));
}

TEST_F(Extraction, PcmFileHoldsTheTracksBytesUpToTheLeadOut)
{
    const QString pcm = cache + QStringLiteral("/track2.tmp");
    window->rip(pcm, 2);
    EXPECT_EQ(folder.read(QStringLiteral("cache/track2.tmp")), image.tracks[2]);
    window->rip(pcm, 0);
    EXPECT_EQ(folder.read(QStringLiteral("cache/track2.tmp")), image.tracks[0]);
}

TEST_F(Extraction, AChunkFailingFiveTimesIsSkippedAndTheTwentyFirstEndsTheTrack)
{
    drives->chunkFailures.insert(image.starts[0] + 26, 5);
    const QString pcm = cache + QStringLiteral("/track0.tmp");
    window->rip(pcm, 0);
    const QByteArray& track = image.tracks[0];
    const qsizetype chunk = 26 * 2352;
    EXPECT_EQ(folder.read(QStringLiteral("cache/track0.tmp")), track.left(chunk) + track.mid(2 * chunk));
    EXPECT_TRUE(logLines().contains(
        QStringLiteral("CD Read Error.  (at:26. code: 7). Continuing. Cancel and try cleaning the disk?")));

    // A long track whose every chunk fails: 21 errors, then the abort.
    const tools::DiscImage longDisc = tools::makeDiscImage(folder.path(), QStringLiteral("long"), {30 * 26});
    FakeCdDrives failing(longDisc);
    for (uint32_t at = 0; at < 30 * 26; at += 26)
        failing.chunkFailures.insert(at, 5);
    ripper::cdhandle = failing.open({});
    window->log->clear();
    window->rip(pcm, 0);
    const QStringList lines = logLines();
    EXPECT_EQ(lines.filter(QStringLiteral("CD Read Error.")).size(), 21);
    EXPECT_EQ(lines.last(), QStringLiteral("Too many errors. Aborting. Possibly a data track?"));
    EXPECT_EQ(failing.chunkFailures.value(21 * 26), 5) << "nothing read after the abort";
    ripper::cdhandle.reset();
}

TEST_F(Extraction, WhatAnInterruptedExtractionLeftIsSweptAtTheNextStart)
{
    folder.write(QStringLiteral("cache/track4.tmp"), "pcm");
    folder.write(QStringLiteral("cache/blank.mp3"), "silence");
    folder.write(QStringLiteral("music/.incoming/Lanterns__Harbour/track01.mp3"), "half");
    folder.write(QStringLiteral("music/.deleting-x1Yz9Q/track01.mp3"), "going");
    window.reset();
    window = std::make_unique<ripper::Tripmain>();
    ripper::ripmain = window.get();
    EXPECT_EQ(QDir(cache).entryList(QDir::Files), QStringList{QStringLiteral("blank.mp3")});
    EXPECT_FALSE(QDir(ripper::stagingfolder(library::albumpath)).exists());
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("music/.deleting-x1Yz9Q"))).exists());
}

namespace {

class Encoding : public Extraction
{
protected:
    // An encoder of track 1 of `pcm` into the album folder.
    std::unique_ptr<ripper::tmp3encode> encoderOf(const QByteArray& pcm)
    {
        auto enc = std::make_unique<ripper::tmp3encode>(window.get());
        enc->infile = folder.write(QStringLiteral("cache/track0.tmp"), pcm);
        enc->outfile = albumFile(QStringLiteral("track01.mp3"));
        enc->trackname = QStringLiteral("One");
        enc->tracknumber = 1;
        enc->bitrate = 192;
        return enc;
    }
};

} // namespace

TEST_F(Encoding, EmptyPcmGivesTheFinalBytesAndTheTag)
{
    auto enc = encoderOf({});
    enc->Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return enc->finished(); }));
    QFile mp3(enc->outfile);
    ASSERT_TRUE(mp3.open(QIODevice::ReadOnly));
    checkFrames(mp3.readAll(), 192);
    EXPECT_EQ(enc->position(), 0u);
    EXPECT_FALSE(QFile::exists(enc->infile));
}

TEST_F(Encoding, TerminatedPartWayLeavesNeitherFile)
{
    auto enc = encoderOf(tools::makeDiscImage(folder.path(), QStringLiteral("minute"), {60 * 75}).tracks[0]);
    enc->Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return enc->position() > 0; }));
    enc->Terminate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return enc->finished(); }));
    EXPECT_FALSE(QFile::exists(enc->outfile));
    EXPECT_FALSE(QFile::exists(enc->infile));
    EXPECT_TRUE(logLines().contains(QStringLiteral("    Aborting encoding data: \"One\"")));
    EXPECT_EQ(logLines().last(), QStringLiteral("    Aborted encoding data for 1 \"One\""));
}

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include "library/global.h"
#include "platform/files.h"
#include "platform/jpegcodec.h"
#include "printers.h"
#include "skins/loadjpegorbmp.h"
#include "tempfolder.h"

using namespace skins;

namespace {

QImage solid(QColor colour, int side = 64)
{
    QImage image(side, side, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

QByteArray jpegOf(QColor colour, int side = 64)
{
    return platform::encodeJpeg(solid(colour, side), 90);
}

QByteArray bmpOf(QColor colour)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    solid(colour).save(&buffer, "BMP");
    return bytes;
}

// A picture read back from a JPEG is near its colour, not exact.
bool near(QColor seen, QColor wanted)
{
    return std::abs(seen.red() - wanted.red()) < 12 && std::abs(seen.green() - wanted.green()) < 12 &&
           std::abs(seen.blue() - wanted.blue()) < 12;
}

class CoverLoading : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library::resetGlobals();
        reseterrorbitmaps();
        initerrorbitmaps();
    }
    void TearDown() override
    {
        library::resetGlobals();
        reseterrorbitmaps();
    }
    QImage load(const QString& folder, QSize wanted = {})
    {
        QImage picture;
        loadjpegbmp(folder, picture, wanted);
        return picture;
    }

    TempFolder temp;
};

enum class Expect { Red, Green, Blue, NotFound, Corrupt };

struct FolderCase
{
    const char* name;
    std::vector<std::pair<const char*, const char*>> files; // file name, content kind
    Expect expected;
};

QByteArray content(const char* kind)
{
    const QByteArray k(kind);
    if (k == "red-jpeg") return jpegOf(Qt::red);
    if (k == "green-jpeg") return jpegOf(Qt::green);
    if (k == "blue-bmp") return bmpOf(Qt::blue);
    if (k == "truncated-jpeg") {
        QImage noisy(256, 256, QImage::Format_RGB888);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                noisy.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * y) & 255, (x ^ y) & 255));
        const QByteArray whole = platform::encodeJpeg(noisy, 90);
        return whole.left(whole.size() * 6 / 10);
    }
    if (k == "red-jpeg-no-end-marker") return jpegOf(Qt::red).chopped(2);
    if (k == "red-jpeg-stray-bytes") {
        QByteArray data = jpegOf(Qt::red);
        return data.insert(data.indexOf(QByteArray("\xFF\xDB", 2)), "\x00\x00", 2);
    }
    if (k == "garbage-jpeg") return QByteArray("\xFF\xD8\xFF\xE0 not really a picture", 26);
    return QByteArray("not a picture at all");
}

TEST_F(CoverLoading, PicksTheFirstReadableFileElseTheRightErrorPicture)
{
    const FolderCase cases[] = {
        {"JpgBeforeBmp", {{"title.jpg", "red-jpeg"}, {"title.bmp", "blue-bmp"}}, Expect::Red},
        {"JpgBeforeJpeg", {{"title.jpg", "red-jpeg"}, {"title.jpeg", "green-jpeg"}}, Expect::Red},
        {"BrokenJpgFallsToJpeg",
         {{"title.jpg", "garbage-jpeg"}, {"title.jpeg", "green-jpeg"}},
         Expect::Green},
        {"BrokenJpgFallsToBmp", {{"title.jpg", "garbage-jpeg"}, {"title.bmp", "blue-bmp"}}, Expect::Blue},
        {"JpgWithoutEndMarker", {{"title.jpg", "red-jpeg-no-end-marker"}}, Expect::Red},
        {"JpgWithStrayBytes", {{"title.jpg", "red-jpeg-stray-bytes"}}, Expect::Red},
        {"AnyCase", {{"TITLE.JPG", "red-jpeg"}}, Expect::Red},
        {"MixedCaseBmp", {{"Title.Bmp", "blue-bmp"}}, Expect::Blue},
        {"NoCover", {{"folder.jpg", "red-jpeg"}}, Expect::NotFound},
        {"OnlyBrokenJpeg", {{"title.jpeg", "garbage-jpeg"}}, Expect::Corrupt},
        {"TruncatedJpg", {{"title.jpg", "truncated-jpeg"}}, Expect::Corrupt},
        {"BrokenBmp", {{"title.bmp", "text"}}, Expect::Corrupt},
        {"BrokenJpgNothingElse", {{"title.jpg", "text"}}, Expect::Corrupt}};
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = temp.mkdir(QLatin1String(c.name));
        for (const auto& [file, kind] : c.files)
            temp.write(QLatin1String(c.name) + QLatin1Char('/') + QLatin1String(file), content(kind));
        const QImage picture = load(folder);
        if (c.expected == Expect::NotFound) {
            EXPECT_EQ(picture, errorbitmap_noimage);
        } else if (c.expected == Expect::Corrupt) {
            EXPECT_EQ(picture, errorbitmap_corrupt);
        } else {
            const QColor wanted = c.expected == Expect::Red     ? QColor(Qt::red)
                                  : c.expected == Expect::Green ? QColor(Qt::green)
                                                                : QColor(Qt::blue);
            ASSERT_FALSE(picture.isNull());
            EXPECT_TRUE(near(picture.pixelColor(32, 32), wanted))
                << picture.pixelColor(32, 32).name().toStdString();
        }
    }
}

TEST_F(CoverLoading, ErrorPicturesExistOnFirstUse)
{
    reseterrorbitmaps();
    const QImage picture = load(temp.mkdir(QStringLiteral("empty")));
    EXPECT_EQ(picture.size(), QSize(170, 170));
    EXPECT_EQ(picture, errorbitmap_noimage);
    EXPECT_NE(errorbitmap_noimage, errorbitmap_corrupt);
}

TEST_F(CoverLoading, LongNamesAreCutToTwentyFiveCharactersAndAnEllipsis)
{
    const QString m = QStringLiteral("Image File Not Found");
    const QString a30(30, QLatin1Char('A'));
    EXPECT_EQ(errorwithbitmap(m, a30, {}),
              errorwithbitmap(m, QString(25, QLatin1Char('A')) + QStringLiteral("..."), {}));
    // Up to 25 characters all of the name shows.
    EXPECT_NE(errorwithbitmap(m, QString(22, QLatin1Char('A')), {}),
              errorwithbitmap(m, QString(20, QLatin1Char('A')), {}));
    EXPECT_NE(errorwithbitmap(m, {}, QStringLiteral("Album")), errorwithbitmap(m, {}, {}));
}

TEST_F(CoverLoading, WantedSizeDecodesAtTheSmallestReductionThatCoversIt)
{
    const QString folder = temp.mkdir(QStringLiteral("big"));
    temp.write(QStringLiteral("big/title.jpg"), jpegOf(Qt::red, 1200));
    const QImage small = load(folder, QSize(170, 170));
    EXPECT_EQ(small.size(), QSize(300, 300)) << "2/8 is the first eighth that covers 170";
    EXPECT_EQ(load(folder).size(), QSize(1200, 1200)) << "full size when nothing smaller is asked for";
}

TEST_F(CoverLoading, HugePicturesAreReducedInsteadOfFailing)
{
    const QString folder = temp.mkdir(QStringLiteral("huge"));
    temp.write(QStringLiteral("huge/title.jpg"), jpegOf(Qt::green, 4200));
    const QImage picture = load(folder);
    ASSERT_NE(picture, errorbitmap_corrupt);
    EXPECT_LT(picture.width(), 4200);
    EXPECT_GE(picture.width(), 2048);
    EXPECT_TRUE(near(picture.pixelColor(100, 100), Qt::green));
}

// A cover is read a piece at a time as it decodes: a camera's large metadata segments before the
// picture are skipped across many pieces, a picture whose data spans many pieces comes out whole,
// and the same file cut short is still found corrupt.
TEST_F(CoverLoading, ALargeCoverFileIsReadWholeAcrossItsPieces)
{
    // Blue above red, with a little noise so that the picture's data takes many pieces.
    QImage noise(900, 900, QImage::Format_RGB888);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            const int n = (x * 37 + y * 11 + x * y) & 7;
            noise.setPixel(x, y, y < 450 ? qRgb(n, n, 255 - n) : qRgb(255 - n, n, n));
        }
    QByteArray cover = platform::encodeJpeg(noise, 90);
    // Five application segments of 64 KB each (the most one may hold) right after the start marker,
    // filled with end-of-image markers that a reader losing its place would stop at.
    QByteArray segments;
    for (int n = 0; n < 5; ++n)
        segments +=
            QByteArray("\xFF\xEF\xFF\xFF", 4) + QByteArray("\xFF\xD9", 2).repeated((0xFFFF - 2) / 2) + 'x';
    cover.insert(2, segments);
    temp.write(QStringLiteral("large/title.jpg"), cover);
    temp.write(QStringLiteral("cut/title.jpg"),
               cover.left(segments.size() + (cover.size() - segments.size()) / 2));

    const QImage picture = load(temp.file(QStringLiteral("large")));
    ASSERT_EQ(picture.size(), QSize(900, 900));
    EXPECT_TRUE(near(picture.pixelColor(450, 100), Qt::blue))
        << picture.pixelColor(450, 100).name().toStdString();
    EXPECT_TRUE(near(picture.pixelColor(450, 800), Qt::red))
        << picture.pixelColor(450, 800).name().toStdString();
    EXPECT_EQ(load(temp.file(QStringLiteral("cut"))), errorbitmap_corrupt);
}

TEST_F(CoverLoading, HostileCoversAreCorruptAndNeverCopied)
{
    library::cached = true;
    library::cachepath = temp.mkdir(QStringLiteral("cache"));
    // A 1 GB (sparse) cover is never read nor copied into the cache.
    temp.write(QStringLiteral("huge/title.jpg"), jpegOf(Qt::red));
    ASSERT_TRUE(QFile::resize(temp.file(QStringLiteral("huge/title.jpg")), 1ll << 30));
    EXPECT_EQ(load(temp.file(QStringLiteral("huge"))), errorbitmap_corrupt);
    EXPECT_TRUE(QDir(library::cachepath).isEmpty());

    // A first frame header claiming 60000 x 60000 progressive pixels (the one libjpeg decodes),
    // its scan, then a small second frame header.
    QByteArray bomb("\xFF\xD8", 2);
    bomb += QByteArray("\xFF\xC2\x00\x0B\x08\xEA\x60\xEA\x60\x01\x01\x11\x00", 13);
    bomb += QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10) + QByteArray(600, 0);
    bomb += QByteArray("\xFF\xC0\x00\x0B\x08\x00\x10\x00\x10\x01\x01\x11\x00\xFF\xD9", 15);
    temp.write(QStringLiteral("bomb/title.jpg"), bomb);
    EXPECT_EQ(load(temp.file(QStringLiteral("bomb"))), errorbitmap_corrupt);
}

TEST(CoverCache, TempNameReplacesSeparatorsAndColons)
{
    EXPECT_EQ(maketempname(QStringLiteral("C:\\A\\B")), QStringLiteral("C00A0B"));
    EXPECT_EQ(maketempname(QStringLiteral("/music/a:b c")), QStringLiteral("0music0a0b c"));
}

TEST(CoverCache, NamesNeverCollideAndStayWithinOneFileName)
{
    library::cachepath = QStringLiteral("/tmp/cache");
    const QString a = docachedcheckandcopy(QStringLiteral("/nonexistent/a/b"), QStringLiteral("jpg"));
    const QString b = docachedcheckandcopy(QStringLiteral("/nonexistent/a0b"), QStringLiteral("jpg"));
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.startsWith(QStringLiteral("/tmp/cache/0nonexistent0a0b"))) << a.toStdString();
    EXPECT_TRUE(a.endsWith(QStringLiteral(".jpg")));

    const QString deep = QStringLiteral("/nonexistent/") + QString(300, QChar(0x00E9)); // two bytes each
    const QString longA = docachedcheckandcopy(deep + QStringLiteral("/x"), QStringLiteral("jpeg"));
    const QString longB = docachedcheckandcopy(deep + QStringLiteral("/y"), QStringLiteral("jpeg"));
    EXPECT_NE(longA, longB);
    for (const QString& name : {longA, longB}) {
        EXPECT_LE(QFileInfo(name).fileName().toUtf8().size(), 255);
        EXPECT_TRUE(name.endsWith(QStringLiteral(".jpeg")));
    }
    library::resetGlobals();
}

TEST_F(CoverLoading, CacheCopiesOnceAndAgainAfterTheCoverChanges)
{
    library::cached = true;
    library::cachepath = temp.mkdir(QStringLiteral("cache"));
    const QString folder = temp.mkdir(QStringLiteral("lib/album"));
    const QString cover = temp.write(QStringLiteral("lib/album/title.jpg"), jpegOf(Qt::red));

    EXPECT_TRUE(near(load(folder).pixelColor(5, 5), Qt::red));
    const QString cacheFile = docachedcheckandcopy(folder, QStringLiteral("jpg"));
    ASSERT_TRUE(QFileInfo::exists(cacheFile));
    EXPECT_EQ(QFileInfo(cacheFile).lastModified(), QFileInfo(cover).lastModified());

    // An unchanged cover is not copied again: a different picture put in the cache with the
    // cover's time stays.
    {
        QFile f(cacheFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(jpegOf(Qt::green));
        ASSERT_TRUE(f.flush());
        ASSERT_TRUE(f.setFileTime(QFileInfo(cover).lastModified(), QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(near(load(folder).pixelColor(5, 5), Qt::green));

    // A new time on the library disk makes the next load copy it again.
    {
        QFile f(cover);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(near(load(folder).pixelColor(5, 5), Qt::red));
    EXPECT_EQ(QFileInfo(cacheFile).lastModified(), QFileInfo(cover).lastModified());
}

// The cache copy carries its cover's time before it takes the cache name (nothing opens that name
// again to write), and a link planted at the name is never read: the outside picture never shows.
TEST_F(CoverLoading, TheCacheCopyIsDatedBeforeItsRenameAndALinkAtItsNameIsRefused)
{
    library::cached = true;
    library::cachepath = temp.mkdir(QStringLiteral("cache"));
    const QString folder = temp.mkdir(QStringLiteral("lib/album"));
    const QString cover = temp.write(QStringLiteral("lib/album/title.jpg"), jpegOf(Qt::red));
    const QDateTime coverTime = QDateTime::currentDateTime().addSecs(-3600);
    const auto date = [&coverTime](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadWrite) && f.setFileTime(coverTime, QFileDevice::FileModificationTime);
    };
    ASSERT_TRUE(date(cover));
    QList<QDateTime> timesWhenFlushed;
    platform::setDiskFlush([&](int fd) {
        timesWhenFlushed.append(QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).lastModified());
        return true;
    });
    const QImage loaded = load(folder);
    platform::setDiskFlush({});
    EXPECT_TRUE(near(loaded.pixelColor(5, 5), Qt::red));
    EXPECT_EQ(timesWhenFlushed, QList<QDateTime>{coverTime});

    const QString cacheFile = docachedcheckandcopy(folder, QStringLiteral("jpg"));
    const QString outside = temp.write(QStringLiteral("outside.jpg"), jpegOf(Qt::green));
    ASSERT_TRUE(date(outside));
    ASSERT_TRUE(QFile::remove(cacheFile) && QFile::link(outside, cacheFile));
    EXPECT_FALSE(near(load(folder).pixelColor(5, 5), Qt::green));
}

TEST_F(CoverLoading, CacheThatCannotBeWrittenGivesTheCorruptPicture)
{
    library::cached = true;
    library::cachepath = temp.file(QStringLiteral("no/such/cache"));
    const QString folder = temp.mkdir(QStringLiteral("album"));
    temp.write(QStringLiteral("album/title.jpg"), jpegOf(Qt::red));
    EXPECT_EQ(load(folder), errorbitmap_corrupt);
}

} // namespace

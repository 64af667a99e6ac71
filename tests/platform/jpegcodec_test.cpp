#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "platform/jpegcodec.h"
#include "printers.h"

using namespace platform;

namespace {

// A picture with four flat quadrants, so colours survive compression recognisably.
QImage quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, QColor(200, 30, 30));
    p.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(30, 200, 30));
    p.fillRect(0, h / 2, w / 2, h - h / 2, QColor(30, 30, 200));
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(240, 240, 240));
    return image;
}

bool near(QRgb a, QColor b, int tolerance = 12)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

} // namespace

TEST(JpegCodec, EncodedPictureDecodesToTheSameSizeAndColours)
{
    const QByteArray jpeg = encodeJpeg(quadrants(64, 48), 90);
    ASSERT_FALSE(jpeg.isEmpty());
    QImage decoded;
    ASSERT_TRUE(decodeJpeg(jpeg, decoded));
    EXPECT_EQ(decoded.size(), QSize(64, 48));
    EXPECT_TRUE(near(decoded.pixel(8, 8), QColor(200, 30, 30)));
    EXPECT_TRUE(near(decoded.pixel(56, 8), QColor(30, 200, 30)));
    EXPECT_TRUE(near(decoded.pixel(8, 40), QColor(30, 30, 200)));
    EXPECT_TRUE(near(decoded.pixel(56, 40), QColor(240, 240, 240)));
    // A higher quality never gives a smaller file for the same picture.
    EXPECT_LT(encodeJpeg(quadrants(64, 48), 10).size(), jpeg.size());
}

TEST(JpegCodec, ScaledDecodingPicksTheSmallestScaleThatIsLargeEnough)
{
    const QByteArray jpeg = encodeJpeg(quadrants(400, 300), 85);
    struct Case
    {
        QSize wanted;
        QSize expected;
    };
    const Case cases[] = {
        {QSize(), QSize(400, 300)},        {QSize(50, 37), QSize(50, 38)},
        {QSize(100, 75), QSize(100, 75)},  {QSize(101, 75), QSize(150, 113)},
        {QSize(349, 10), QSize(350, 263)}, {QSize(500, 500), QSize(400, 300)},
        {QSize(0, 0), QSize(400, 300)},
    };
    for (const Case& c : cases) {
        QImage decoded;
        ASSERT_TRUE(decodeJpeg(jpeg, decoded, c.wanted));
        EXPECT_EQ(decoded.size(), c.expected) << "wanted " << c.wanted.width() << "x" << c.wanted.height();
    }
}

TEST(JpegCodec, BrokenDataIsReportedAndLeavesTheTargetAlone)
{
    const QByteArray jpeg = encodeJpeg(quadrants(64, 48), 90);
    QByteArray hugeHeader = jpeg;
    // Claim 65535 x 65535 pixels in the frame header.
    const qsizetype sof = hugeHeader.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    hugeHeader[sof + 5] = char(0xFF);
    hugeHeader[sof + 6] = char(0xFF);
    hugeHeader[sof + 7] = char(0xFF);
    hugeHeader[sof + 8] = char(0xFF);

    const QByteArray inputs[] = {QByteArray(), QByteArray("BM not a jpeg"), jpeg.left(20), hugeHeader,
                                 QByteArray("\xFF\xD8\xFF\xE0", 4)};
    for (const QByteArray& input : inputs) {
        QImage target(3, 3, QImage::Format_RGB32);
        target.fill(Qt::yellow);
        QString error;
        EXPECT_FALSE(decodeJpeg(input, target, QSize(), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(target.size(), QSize(3, 3));
        EXPECT_EQ(target.pixel(1, 1), QColor(Qt::yellow).rgb());
    }
}

namespace {

// A progressive picture of three full-resolution components whose one scan holds only the
// average of each block (all grey): tiny on disk, but libjpeg keeps every coefficient of every
// block in memory while it decodes.
QByteArray averagesOnlyProgressive(int side)
{
    const auto be16 = [](int v) { return QByteArray(1, char(v >> 8)) + char(v & 0xFF); };
    QByteArray data("\xFF\xD8", 2);
    data += QByteArray("\xFF\xDB\x00\x43\x00", 5) + QByteArray(64, 1);
    data += QByteArray("\xFF\xC2\x00\x11\x08", 5) + be16(side) + be16(side);
    data += QByteArray("\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00", 10);
    // One one-bit code, 0, for "no change of the average".
    data += QByteArray("\xFF\xC4\x00\x14\x00\x01", 6) + QByteArray(15, 0) + QByteArray(1, 0);
    data += QByteArray("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00", 14);
    const qsizetype blocks = qsizetype((side + 7) / 8) * ((side + 7) / 8) * 3;
    data += QByteArray((blocks + 7) / 8 + 1, 0);
    data += QByteArray("\xFF\xD9", 2);
    return data;
}

} // namespace

TEST(JpegCodec, LibjpegWorkingMemoryIsBounded)
{
    QImage decoded;
    QString error;
    ASSERT_TRUE(decodeJpeg(averagesOnlyProgressive(64), decoded, QSize(), &error)) << error.toStdString();
    EXPECT_EQ(decoded.size(), QSize(64, 64));
    // 9000 x 9000 is within the pixel bound, but its coefficients need about 490 MB.
    EXPECT_FALSE(decodeJpeg(averagesOnlyProgressive(9000), decoded, QSize(2048, 2048), &error));
    EXPECT_EQ(decoded.size(), QSize(64, 64));
    // The bound is 64 MB: 3000 x 3000 takes about 52 MB of coefficients, 3600 x 3600 about 75.
    EXPECT_TRUE(decodeJpeg(averagesOnlyProgressive(3000), decoded, QSize(300, 300), &error))
        << error.toStdString();
    EXPECT_FALSE(decodeJpeg(averagesOnlyProgressive(3600), decoded, QSize(300, 300), &error));
}

TEST(JpegCodec, DecodingInTheScreensFormatGivesTheSamePixels)
{
    // Colour noise under 4:2:0 chroma: the upsampling and colour conversion are both at work.
    QImage noisy(67, 45, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y * 7) % 256, (x * 5 + y * 53) % 256));
    const QByteArray jpeg = encodeJpeg(noisy, 80);
    for (const QSize atLeast : {QSize(), QSize(30, 20)}) {
        QImage packed, screen;
        ASSERT_TRUE(decodeJpeg(jpeg, packed, atLeast));
        ASSERT_TRUE(decodeJpeg(jpeg, screen, atLeast, nullptr, QImage::Format_RGB32));
        EXPECT_EQ(screen.format(), QImage::Format_RGB32);
        EXPECT_EQ(screen, packed.convertToFormat(QImage::Format_RGB32)) << atLeast.width();
    }
}

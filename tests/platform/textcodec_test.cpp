#include <gtest/gtest.h>

#include "platform/textcodec.h"
#include "printers.h"
#include "tempfolder.h"

using namespace platform;

TEST(TextCodec, ReadsUtf8AndFallsBackToWindows1252)
{
    EXPECT_EQ(decodeText(QByteArray("Caf\xc3\xa9")), QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(decodeText(QByteArray("Caf\xe9 \x80 \x96")), QStringLiteral("Caf\u00e9 \u20ac \u2013"));
}

TEST(TextCodec, SplitsAnyLineEnd)
{
    EXPECT_EQ(
        splitLines(QStringLiteral("a\r\nb\nc\rd\r\n")),
        (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(splitLines(QStringLiteral("a\r\n\r\nb")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_TRUE(splitLines(QString()).isEmpty());
}

TEST(TextCodec, CutsAtCharacterBoundaries)
{
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("abc"), 255), QStringLiteral("abc"));
    // "é" takes two bytes: four bytes hold "aé" and one more byte is not enough for the next "é".
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("a\u00e9\u00e9"), 4), QStringLiteral("a\u00e9"));
    EXPECT_EQ(cutToUtf8Bytes(QStringLiteral("\U0001F3B5x"), 3), QString());
}

namespace {

// The lines of `bytes` read from a file, as readTextLines gives them.
QStringList readLines(const QByteArray& bytes, qsizetype maxLines = 100, qsizetype maxLineBytes = 100)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("lines.txt"), bytes);
    QStringList lines;
    EXPECT_TRUE(readTextLines(path, maxLines, maxLineBytes, lines));
    return lines;
}

} // namespace

// Lines read one at a time decode as the whole file would: a byte order mark counts only at the
// very start, one byte that is not UTF-8 however far down makes every line Windows-1252, and a
// line end split between two reads ends one line.
TEST(TextCodec, LinesReadOneAtATimeDecodeAsTheWholeFile)
{
    const QByteArray bom = "\xef\xbb\xbf";
    EXPECT_EQ(readLines(bom + "One\n" + bom + "Two\n"),
              QStringList({QStringLiteral("One"), QStringLiteral("\ufeffTwo")}));
    EXPECT_EQ(readLines("\n" + bom + "Two"), QStringList({QString(), QStringLiteral("\ufeffTwo")}));

    QByteArray late = QByteArray("Caf\xc3\xa9\n").repeated(20'000) + "Caf\xe9\n";
    const QStringList lines = readLines(late, 30'000);
    ASSERT_EQ(lines.size(), 20'001);
    EXPECT_EQ(lines.first(), QStringLiteral("Caf\u00c3\u00a9"));
    EXPECT_EQ(lines.last(), QStringLiteral("Caf\u00e9"));

    // The CR ends the first chunk read, the LF begins the next: one line end, no empty line.
    const QByteArray split = QByteArray(64 * 1024 - 1, 'x') + "\r\nNext\n";
    EXPECT_EQ(readLines(split, 10, 100 * 1024),
              QStringList({QString(64 * 1024 - 1, QLatin1Char('x')), QStringLiteral("Next")}));
}

TEST(TextCodec, AVisitorThatStopsReadsNoFurther)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("lines.txt"), "One\nTwo\nThree \xe9\n");
    QStringList taken;
    int restarts = 0;
    const LineVisitor visitor{[&](QStringView line) {
                                  taken.append(line.toString());
                                  return taken.size() < 2 || restarts > 0;
                              },
                              [&] {
                                  ++restarts;
                                  taken.clear();
                              }};
    ASSERT_TRUE(visitTextLines(path, 10, 100, visitor));
    EXPECT_EQ(taken, QStringList({QStringLiteral("One"), QStringLiteral("Two")})) << "stopped at two";
    EXPECT_EQ(restarts, 0);
}

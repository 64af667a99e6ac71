#include <gtest/gtest.h>

#include "platform/textcodec.h"
#include "printers.h"

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

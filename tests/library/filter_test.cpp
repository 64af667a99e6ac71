#include <gtest/gtest.h>
#include <random>

#include "library/filter.h"
#include "printers.h"

using namespace library;

namespace {

QByteArray bytesOf(const tfilter& f)
{
    QByteArray bytes;
    tfiltertobytearray(f, bytes);
    return bytes;
}

TEST(FilterBytes, EmptyFilterIsThirtyFourZeroBytes)
{
    EXPECT_EQ(bytesOf(tfilter{}), QByteArray(34, '\0'));
}

TEST(FilterBytes, OneGenreFollowsTheHeader)
{
    tfilter f;
    f.genre = {{QStringLiteral("Rock")}, 1};
    QByteArray expected(34, '\0');
    expected[3] = 1;
    expected.append(QByteArray("\0\0\0\x04Rock", 8));
    EXPECT_EQ(bytesOf(f), expected);
}

TEST(FilterBytes, StartupValuesGiveTwentyFFBytes)
{
    filter = tfilter{};
    filter.yearupper = 2000;
    filter.decadeupper = 1990;
    filter.excludecompilations = true;
    filter.artist = {{QStringLiteral("x")}, 1};
    resetfilter();
    const QByteArray bytes = bytesOf(filter);
    ASSERT_EQ(bytes.size(), 34);
    EXPECT_EQ(bytes.left(20), QByteArray(20, '\xff'));
    EXPECT_EQ(bytes.mid(20, 4), QByteArray("\0\0\x07\xd0", 4)); // yearupper kept
    EXPECT_EQ(bytes.mid(28, 6), QByteArray("\0\0\x07\xc6\0\0", 6));
    filter = tfilter{};
}

TEST(FilterBytes, RandomFiltersRoundTrip)
{
    std::mt19937 random(20240611);
    auto number = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QStringList words = {QStringLiteral("Rock"),
                               QString(),
                               QStringLiteral("Caf\u00e9 del Mar"),
                               QStringLiteral("AC/DC"),
                               QStringLiteral("\u30b8\u30e3\u30ba"),
                               QStringLiteral(" ")};
    for (int round = 0; round < 200; ++round) {
        tfilter f;
        for (tfilterstrings* list : {&f.genre, &f.artist, &f.keywords, &f.recordlabel}) {
            list->count = number(0, 4);
            for (int n = 0; n < list->count; ++n)
                list->data.append(words.at(number(0, int(words.size()) - 1)));
        }
        f.excludecompilations = number(0, 1) == 1;
        f.excludenoncompilations = number(0, 1) == 1;
        f.yearlower = number(-5, 3000);
        f.yearupper = number(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        f.decadelower = number(-1, 2000);
        f.decadeupper = number(-1, 2000);
        tfilter back;
        ASSERT_TRUE(bytearraytofilter(bytesOf(f), back));
        ASSERT_EQ(back, f) << "round " << round;
    }
}

TEST(FilterBytes, AbsentListKeepsTheStringsItHad)
{
    tfilter source;
    source.genre.count = -1;
    source.artist = {{QStringLiteral("Ann")}, 1};
    tfilter target;
    target.genre = {{QStringLiteral("Jazz"), QStringLiteral("Soul")}, 2};
    ASSERT_TRUE(bytearraytofilter(bytesOf(source), target));
    EXPECT_EQ(target.genre.count, -1);
    EXPECT_EQ(target.genre.data, QStringList({QStringLiteral("Jazz"), QStringLiteral("Soul")}));
    EXPECT_EQ(target.artist.data, QStringList{QStringLiteral("Ann")});
}

TEST(FilterBytes, CountBeyondTheListWritesEmptyStrings)
{
    tfilter f;
    f.keywords = {{QStringLiteral("a")}, 3};
    tfilter back;
    ASSERT_TRUE(bytearraytofilter(bytesOf(f), back));
    EXPECT_EQ(back.keywords.data, QStringList({QStringLiteral("a"), QString(), QString()}));
}

TEST(FilterBytes, FlagByteOtherThanOneReadsFalseAndNegativeLengthIsEmpty)
{
    QByteArray bytes(34, '\0');
    bytes[3] = 1;
    bytes[32] = 2;
    bytes[33] = 1;
    bytes.append(QByteArray("\xff\xff\xff\xfe", 4));
    tfilter back;
    ASSERT_TRUE(bytearraytofilter(bytes, back));
    EXPECT_FALSE(back.excludecompilations);
    EXPECT_TRUE(back.excludenoncompilations);
    EXPECT_EQ(back.genre.data, QStringList{QString()});
}

TEST(FilterBytes, EveryCutShortFormGivesTheEmptyFilter)
{
    tfilter f;
    f.genre = {{QStringLiteral("Rock"), QStringLiteral("Pop")}, 2};
    f.recordlabel = {{QStringLiteral("Label")}, 1};
    f.yearlower = 1950;
    const QByteArray whole = bytesOf(f);
    for (qsizetype size = 0; size < whole.size(); ++size) {
        tfilter back = f;
        EXPECT_FALSE(bytearraytofilter(whole.left(size), back)) << size;
        EXPECT_EQ(back, tfilter{}) << size;
    }
}

TEST(FilterBytes, HugeCountsAndLengthsAreRefusedWithoutAllocating)
{
    QByteArray hugeCount(34, '\0');
    hugeCount.replace(4, 4, QByteArray("\x7f\xff\xff\xff", 4));
    tfilter back;
    EXPECT_FALSE(bytearraytofilter(hugeCount, back));

    QByteArray hugeLength(34, '\0');
    hugeLength[3] = 1;
    hugeLength.append(QByteArray("\x7f\xff\xff\xff"
                                 "abc",
                                 7));
    EXPECT_FALSE(bytearraytofilter(hugeLength, back));
    EXPECT_EQ(back, tfilter{});
}

} // namespace

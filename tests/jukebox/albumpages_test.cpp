// The arithmetic of the album pages and the prism: which album stands on which panel or face, how
// a page number stays valid, the letter-jump key and the rows of a track list.

#include <array>
#include <gtest/gtest.h>

#include "jukebox/albumpages.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "pageprinters.h"
#include "printers.h"
#include "tempfolder.h"

namespace {

using jukebox::PrismFill;
using view3d::TitleRow;

struct PageCase
{
    int num;
    int count;
    std::array<int, 8> albums; // cd1 .. cd8
};

class PageAlbums : public ::testing::TestWithParam<PageCase>
{
};

TEST_P(PageAlbums, EightPanelsAroundThePage)
{
    EXPECT_EQ(jukebox::pageAlbums(GetParam().num, GetParam().count), GetParam().albums);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageAlbums,
    ::testing::Values(
        // Seven albums and the filler: the pages go round after 8.
        PageCase{1, 8, {1, 2, 3, 4, 5, 6, 7, 8}}, PageCase{3, 8, {3, 4, 5, 6, 7, 8, 1, 2}},
        PageCase{7, 8, {7, 8, 1, 2, 3, 4, 5, 6}}, PageCase{5, 8, {5, 6, 7, 8, 1, 2, 3, 4}},
        // One album and the filler: every panel shows one of the two.
        PageCase{1, 2, {1, 2, 1, 2, 1, 2, 1, 2}}, PageCase{1, 4, {1, 2, 3, 4, 1, 2, 3, 4}}));

TEST(PageOf, KeepsThePageValidAndItsUpperAlbumOdd)
{
    const struct
    {
        int n, count, page;
    } cases[] = {{1, 8, 1}, {6, 8, 5},  {7, 8, 7}, {8, 8, 7}, {9, 8, 7}, {40, 8, 7},
                 {0, 8, 1}, {-3, 8, 1}, {2, 2, 1}, {5, 0, 1}, {1, 0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(jukebox::pageOf(c.n, c.count), c.page) << c.n << " of " << c.count;
}

TEST(CubePositions, FrontFaceByQuarterTurnWithItsNeighbours)
{
    const struct
    {
        int rotation, front, prev, next, rear;
    } cases[] = {{0, 0, 3, 1, 2},   {89, 0, 3, 1, 2},  {90, 3, 2, 0, 1},  {95, 3, 2, 0, 1},
                 {180, 2, 1, 3, 0}, {269, 2, 1, 3, 0}, {270, 1, 0, 2, 3}, {359, 1, 0, 2, 3},
                 {360, 0, 3, 1, 2}, {-1, 1, 0, 2, 3},  {-90, 1, 0, 2, 3}};
    for (const auto& c : cases) {
        const view3d::TCubePositions p = view3d::cubePositions(c.rotation);
        EXPECT_EQ(p.front, c.front) << c.rotation;
        EXPECT_EQ(p.prev, c.prev) << c.rotation;
        EXPECT_EQ(p.next, c.next) << c.rotation;
        EXPECT_EQ(p.rear, c.rear) << c.rotation;
    }
}

struct FillCase
{
    int n;
    int mode;
    int albums;
    QVector<PrismFill> fills;
};

class PrismFills : public ::testing::TestWithParam<FillCase>
{
};

// At 95 degrees: front 3, prev 2, next 0, rear 1.
TEST_P(PrismFills, FacesAndTheirAlbums)
{
    const FillCase& c = GetParam();
    EXPECT_EQ(jukebox::prismFills(c.n, c.mode, view3d::cubePositions(95), c.albums), c.fills);
}

INSTANTIATE_TEST_SUITE_P(Faces, PrismFills,
                         ::testing::Values(FillCase{4, 0, 7, {{2, 3}, {3, 4}, {0, 5}}},
                                           FillCase{1, 0, 7, {{2, 7}, {3, 1}, {0, 2}}},
                                           FillCase{7, 0, 7, {{2, 6}, {3, 7}, {0, 1}}},
                                           FillCase{1, 1, 7, {{1, 6}}}, FillCase{2, 1, 7, {{1, 7}}},
                                           FillCase{6, -1, 7, {{1, 1}}}, FillCase{7, -1, 7, {{1, 2}}},
                                           // A number beyond the albums goes round first.
                                           FillCase{9, 0, 7, {{2, 1}, {3, 2}, {0, 3}}},
                                           // With an even count the last album is a face like any other.
                                           FillCase{7, 0, 8, {{2, 6}, {3, 7}, {0, 8}}},
                                           // One album: every face shows it, never the empty slot 0.
                                           FillCase{1, 0, 1, {{2, 1}, {3, 1}, {0, 1}}},
                                           FillCase{1, 1, 1, {{1, 1}}}, FillCase{1, -1, 1, {{1, 1}}},
                                           // No albums, or a mode the prism never asks for: nothing.
                                           FillCase{1, 0, 0, {}}, FillCase{1, 2, 7, {}}));

TEST(LetterKey, LeadingTheIsDroppedAndOnlyThereChangesTheLetter)
{
    const struct
    {
        const char* row;
        const char* key;
    } cases[] = {{"The Beatles - Abbey Road", "BEATLES - ABBEY ROAD"},
                 {"the band - x", "BAND - X"},
                 {"THE WHO - LIVE", "WHO - LIVE"},
                 {"Bathe Street - One", "BA STREET - ONE"},
                 {"  abba - gold", "ABBA - GOLD"},
                 {"Theatre - Act", "THEATRE - ACT"},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(jukebox::letterKey(QString::fromUtf8(c.row)), QString::fromUtf8(c.key)) << c.row;
    EXPECT_EQ(jukebox::removethe(QStringLiteral("Off The Wall")), QStringLiteral("Off  Wall"));
    EXPECT_EQ(jukebox::removethe(QStringLiteral("Abba")), QStringLiteral("Abba"));
}

TEST(TitleRows, EveryLineCountsAsATrackAndBlankLinesGetNoRow)
{
    TempFolder folder;
    folder.write(QStringLiteral("a/TITLE.DAT"), "One\r\n\r\nThree\r\n   \r\nFive\r\nCaf\xe9\r\n");
    const QVector<TitleRow> rows = jukebox::readTitleRows(folder.file(QStringLiteral("a")), 12);
    const QVector<TitleRow> expected{{QStringLiteral("ONE"), 12, 1},
                                     {QStringLiteral("THREE"), 12, 3},
                                     {QStringLiteral("FIVE"), 12, 5},
                                     {QStringLiteral("CAF\u00c9"), 12, 6}};
    EXPECT_EQ(rows, expected);
}

TEST(TitleRows, NoFileGivesNoRows)
{
    TempFolder folder;
    folder.mkdir(QStringLiteral("empty"));
    EXPECT_TRUE(jukebox::readTitleRows(folder.file(QStringLiteral("empty")), 1).isEmpty());
    EXPECT_TRUE(jukebox::readTitleRows(folder.file(QStringLiteral("missing")), 1).isEmpty());
}

TEST(SlideTimes, MedianAndWorst)
{
    EXPECT_EQ(jukebox::medianTime({}), 0);
    EXPECT_EQ(jukebox::worstTime({}), 0);
    EXPECT_EQ(jukebox::medianTime({3, 1, 2}), 2);
    EXPECT_EQ(jukebox::worstTime({3, 1, 7, 2}), 7);
}

} // namespace

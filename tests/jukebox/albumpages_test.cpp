// The arithmetic of the prism (which album stands on which face), the letter-jump key and the rows
// of a track list. The flat pages' arithmetic is tested on the window (pages_test.cpp).

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

// Blank lines get no row (the pages test the road); Latin-1 titles read, and no file gives no rows.
TEST(TitleRows, LatinOneTitlesReadAndNoFileGivesNoRows)
{
    TempFolder folder;
    folder.write(QStringLiteral("a/TITLE.DAT"), "One\r\n\r\nCaf\xe9\r\n");
    const QVector<TitleRow> expected{{QStringLiteral("ONE"), 12, 1}, {QStringLiteral("CAF\u00c9"), 12, 3}};
    EXPECT_EQ(jukebox::readTitleRows(folder.file(QStringLiteral("a")), 12), expected);
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

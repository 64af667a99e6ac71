#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "controls/picturescroller.h"
#include "faketimersource.h"
#include "printers.h"

using namespace controls;

namespace {

constexpr int kUpBox = -2;
constexpr int kDownBox = -1;

QColor colourOf(int album)
{
    static const QColor colours[] = {Qt::red,  Qt::green,   Qt::blue, Qt::yellow,
                                     Qt::cyan, Qt::magenta, Qt::white};
    return colours[album % 7];
}

QImage solid(QColor colour)
{
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class Scroller : public ::testing::Test
{
protected:
    // An 800 x 600 scroller of four columns holding albums 1 to `albums`, each its own colour.
    void build(int albums)
    {
        owner.resize(800, 600);
        scroller = new TPictureScroller(&owner);
        scroller->setGeometry(0, 0, 800, 600);
        owner.show();
        for (int a = 1; a <= albums; ++a)
            scroller->add(solid(colourOf(a)), a);
        scroller->Paint();
    }
    QRect rectOf(int entry) const
    {
        const tmatrix& m = scroller->hits().at(entry);
        return QRect(QPoint(m.x1, m.y1), QPoint(m.x2, m.y2));
    }
    int entryOf(int item) const
    {
        for (int j = 0; j < scroller->hits().size(); ++j)
            if (scroller->hits()[j].item == item) return j;
        return -1;
    }
    FakeTicker& ticker() const { return *timers.tickers.first(); }
    QColor pixel(int x, int y) const { return scroller->face().pixelColor(x, y); }

    FakeTimerSource timers;
    QWidget owner;
    TPictureScroller* scroller = nullptr;
};

TEST_F(Scroller, LaysOutTwoRowsOfFourAt800By600)
{
    build(10);
    const int xs[] = {10, 210, 410, 610};
    for (int j = 1; j <= 8; ++j) {
        const QRect cell = rectOf(j);
        EXPECT_EQ(cell, QRect(xs[(j - 1) % 4], j <= 4 ? 100 : 300, 181, 181)) << "cell " << j;
        EXPECT_EQ(scroller->hits()[j].item, j - 1);
        EXPECT_EQ(pixel(cell.center().x(), cell.center().y()), colourOf(j)) << "cell " << j;
    }
    EXPECT_EQ(scroller->lastvisiblerow(), 1);
    EXPECT_EQ(scroller->hits()[0].item, -3) << "no up box at the top";
    EXPECT_EQ(scroller->hits()[9].item, kDownBox);
    EXPECT_EQ(scroller->hits()[9].y1, 500);
    EXPECT_EQ(pixel(5, 5).alpha(), 0) << "the parent shows between the cells";
    EXPECT_EQ(pixel(200, 200).alpha(), 0);
}

TEST_F(Scroller, AHiddenGridKeepsNoPictureAndShowsItsLatestStateAgain)
{
    build(10);
    const QImage shown = scroller->face();
    owner.hide();
    EXPECT_TRUE(scroller->face().isNull());
    owner.show();
    EXPECT_EQ(scroller->face(), shown);

    owner.hide();
    scroller->Makeitemvisible(8); // album 9 in the first row
    owner.show();
    EXPECT_EQ(pixel(rectOf(1).center().x(), rectOf(1).center().y()), colourOf(9));
}

TEST_F(Scroller, BoxesMoveTheGridByOneRowEverFasterWhileHeld)
{
    build(40);
    const QPoint down = rectOf(9).center();
    QTest::mousePress(scroller, Qt::LeftButton, {}, down);
    EXPECT_EQ(scroller->topmost(), 4);
    EXPECT_EQ(scroller->hits()[0].item, kUpBox);
    std::vector<int> intervals;
    while (scroller->topmost() < 32) {
        intervals.push_back(ticker().interval());
        ASSERT_TRUE(ticker().fire());
    }
    EXPECT_EQ(intervals, (std::vector<int>{250, 240, 230, 220, 210, 200, 190}));
    EXPECT_EQ(entryOf(kDownBox), -1) << "the last thumbnails are in view";
    QTest::mouseRelease(scroller, Qt::LeftButton, {}, down);
    EXPECT_FALSE(ticker().isEnabled());

    const QPoint up = rectOf(0).center();
    QTest::mousePress(scroller, Qt::LeftButton, {}, up);
    QTest::mouseRelease(scroller, Qt::LeftButton, {}, up);
    EXPECT_EQ(scroller->topmost(), 28);
    EXPECT_EQ(scroller->itemindex(), kUpBox);
}

TEST_F(Scroller, ReleaseOnAThumbnailChoosesIt)
{
    build(10);
    QSignalSpy clicks(scroller, &TPictureScroller::OnClick);
    QTest::mousePress(scroller, Qt::LeftButton, {}, rectOf(6).center());
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseRelease(scroller, Qt::LeftButton, {}, rectOf(6).center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(scroller->itemindex(), 5);
    QTest::mouseRelease(scroller, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(Scroller, EmptyScrollerReportsEveryPressAndRelease)
{
    build(0);
    QSignalSpy clicks(scroller, &TPictureScroller::OnClick);
    QTest::mousePress(scroller, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(scroller, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(scroller->itemindex(), 0);
}

TEST_F(Scroller, FindsAndShowsItemsAndAlbums)
{
    build(20);
    scroller->Makeitemvisible(9);
    EXPECT_EQ(scroller->topmost(), 8);
    EXPECT_EQ(scroller->lookupalbum(13), 12);
    EXPECT_EQ(scroller->lookupalbum(99), -1);
    scroller->Makealbumvisible(18);
    EXPECT_EQ(scroller->topmost(), 16);
    scroller->Makealbumvisible(99);
    EXPECT_EQ(scroller->topmost(), 16);
}

TEST_F(Scroller, DeleteMovesThePicturesButKeepsTheAlbumNumbers)
{
    build(5);
    ASSERT_EQ(scroller->lookupalbum(5), 4);
    scroller->Delete(2);
    EXPECT_EQ(scroller->lookupalbum(5), -1);
    ASSERT_EQ(scroller->count(), 4);
    const int pictures[] = {1, 2, 4, 5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(scroller->pl.items[i].album, i + 1);
        EXPECT_EQ(scroller->pl.items[i].picture.pixelColor(5, 5), colourOf(pictures[i])) << i;
        EXPECT_EQ(scroller->pl.items[i].picture.format(), QImage::Format_RGB16);
    }
    scroller->Delete(7);
    scroller->Delete(-1);
    EXPECT_EQ(scroller->count(), 4);
    // An edited album goes and comes back at the end: the first of its two thumbnails is found.
    scroller->add(QImage(), 2);
    scroller->replace(0, QImage(), 7);
    EXPECT_EQ(scroller->lookupalbum(2), 1);
    EXPECT_EQ(scroller->lookupalbum(7), 0);
    EXPECT_EQ(scroller->lookupalbum(1), -1);
}

TEST_F(Scroller, RemoteCursorWalksTheVisibleCells)
{
    build(6);
    scroller->setremote(true);
    scroller->Paint();
    const QRect first = rectOf(1);
    EXPECT_EQ(pixel(first.left() + 1, first.top() + 1), QColor(Qt::red)) << "framed in red";
    EXPECT_EQ(pixel(first.center().x(), first.center().y()), colourOf(1));
    QSignalSpy clicks(scroller, &TPictureScroller::OnClick);
    scroller->remoteclick();
    EXPECT_EQ(scroller->itemindex(), 0);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(ticker().isEnabled()) << "a press made in code does not repeat";

    scroller->Movedown();
    EXPECT_EQ(scroller->cursorrow(), 1);
    scroller->Moveright();
    EXPECT_EQ(scroller->cursorcolumn(), 1);
    scroller->Moveright();
    EXPECT_EQ(scroller->cursorcolumn(), 1) << "the short last row ends at its last thumbnail";
    scroller->remoteclick();
    EXPECT_EQ(scroller->itemindex(), 5);
    scroller->Moveleft();
    scroller->Moveleft();
    scroller->Moveup();
    EXPECT_EQ(scroller->cursorcolumn(), 0);
    EXPECT_EQ(scroller->cursorrow(), 0);

    // A step down onto an empty cell of the short last row is undone.
    for (int i = 0; i < 3; ++i)
        scroller->Moveright();
    ASSERT_EQ(scroller->cursorcolumn(), 3);
    scroller->Movedown();
    EXPECT_EQ(scroller->cursorrow(), 0);
    scroller->remoteclick();
    EXPECT_EQ(scroller->itemindex(), 3);
}

TEST_F(Scroller, RemoteStepsPastTheEdgesScrollTheGrid)
{
    build(20);
    scroller->setremote(true);
    scroller->Movedown();
    scroller->Movedown();
    EXPECT_EQ(scroller->topmost(), 4);
    EXPECT_EQ(scroller->cursorrow(), 1);
    scroller->Moveup();
    scroller->Moveup();
    EXPECT_EQ(scroller->topmost(), 0);
    EXPECT_FALSE(ticker().isEnabled());
}

TEST_F(Scroller, OddColumnCountsAndIndexesDoNoHarm)
{
    build(12);
    scroller->setacross(0);
    scroller->add(solid(Qt::red), 13);
    scroller->replace(0, solid(Qt::blue), 1);
    scroller->replace(40, solid(Qt::blue), 1);
    scroller->Makeitemvisible(5);
    EXPECT_EQ(entryOf(0), -1) << "nothing is drawn without columns";
    scroller->setacross(4);
    scroller->Makeitemvisible(8);
    scroller->setacross(3);
    for (int k = 0; k < 4; ++k) {
        const int up = entryOf(kUpBox);
        if (up < 0) break;
        QTest::mouseClick(scroller, Qt::LeftButton, {}, rectOf(up).center());
    }
    EXPECT_EQ(scroller->topmost(), 0);
    EXPECT_EQ(scroller->pl.items[0].picture.pixelColor(170, 170), QColor(Qt::blue))
        << "a replaced picture fills it";
}

TEST_F(Scroller, StaleHitRectanglesNeverSwallowAPress)
{
    build(20);
    scroller->Makeitemvisible(4);
    const QRect oldUpBox = rectOf(0);
    scroller->setGeometry(0, 0, 800, 300);
    scroller->Makeitemvisible(0);
    const QRect cell = rectOf(3);
    const QRect overlap = oldUpBox.intersected(cell);
    ASSERT_FALSE(overlap.isEmpty()) << "the old box lies over a cell of the new layout";
    QTest::mouseClick(scroller, Qt::LeftButton, {}, overlap.center());
    EXPECT_EQ(scroller->itemindex(), 2);

    // A thumbnail added since the last rendering can be pressed where it now shows.
    build(0);
    scroller->add(solid(Qt::red), 1);
    QTest::mouseClick(scroller, Qt::LeftButton, {}, QPoint(100, 190));
    EXPECT_EQ(scroller->itemindex(), 0);
}

} // namespace

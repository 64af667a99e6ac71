// The queue panel as the operator uses it: open it, touch a row, press its keys, and check the
// player's queue and what plays.

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/bitmapactionbutton.h"
#include "controls/scrolllistbox.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "numberstesting.h"
#include "printers.h"

namespace {

class QueuePanelTest : public NumberEntryTest
{
protected:
    // Three tracks of album 1 queued by number, the first playing, and the panel open.
    jukebox::tplaylistview& queueThreeAndOpen()
    {
        addLibrary(2);
        jukebox::Tjukebox& jb = open();
        fillScreen(jb);
        type("0001001");
        type("0001002");
        type("0001003");
        QTest::mouseClick(jb.goplaylistview, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        return *jukebox::playlistpanel;
    }

    void touchRow(int row)
    {
        controls::TScrollListbox* lb = jukebox::playlistpanel->lb;
        const auto hit = std::find_if(lb->hits().cbegin(), lb->hits().cend(),
                                      [row](const controls::tmatrix& m) { return m.item == row; });
        ASSERT_NE(hit, lb->hits().cend());
        QTest::mouseClick(lb, Qt::LeftButton, Qt::NoModifier, QPoint(hit->x1 + 2, hit->y1 + 2));
    }

    static void press(jukebox::PictureBox* key)
    {
        QTest::mouseClick(key, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    }

    static QString rowText(int row) { return jukebox::playlistpanel->lb->items()[row]; }
};

TEST_F(QueuePanelTest, MovesSwapRowsAndKeepThePlayingEntryAtTheEndsNothingMoves)
{
    jukebox::tplaylistview& panel = queueThreeAndOpen();
    ASSERT_TRUE(panel.isVisibleTo(window));
    ASSERT_EQ(queue(), (QStringList{QStringLiteral("1/1"), QStringLiteral("1/2"), QStringLiteral("1/3")}));
    EXPECT_EQ(rowText(0), QStringLiteral("Artist 0001 - Album 0001 -  T1"));

    press(panel.movedown); // no row marked
    touchRow(0);
    press(panel.moveup); // first row
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/1"), QStringLiteral("1/2"), QStringLiteral("1/3")}));

    press(panel.movedown);
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/2"), QStringLiteral("1/1"), QStringLiteral("1/3")}));
    EXPECT_EQ(rowText(1), QStringLiteral("Artist 0001 - Album 0001 -  T1"));
    EXPECT_EQ(panel.lb->highlighteditem(), 1);
    EXPECT_EQ(player::dcurrentlyplayingtrack, 1);

    // Held down, the key repeats ever faster.
    QTest::mousePress(panel.movedown, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(ticker(panel.buttimer).fireRecordingIntervals(2), (std::vector<int>{250, 245}));
    QTest::mouseRelease(panel.movedown, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_FALSE(panel.buttimer->isEnabled());
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/2"), QStringLiteral("1/3"), QStringLiteral("1/1")}));
    EXPECT_EQ(player::dcurrentlyplayingtrack, 2);
}

TEST_F(QueuePanelTest, RemovingThePlayingRowPlaysTheNextAndTheLastOneStops)
{
    jukebox::tplaylistview& panel = queueThreeAndOpen();
    library::autoplaymode = false;
    touchRow(0);
    press(panel.remove);
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/2"), QStringLiteral("1/3")}));
    ASSERT_FALSE(opened().isEmpty());
    EXPECT_EQ(opened().last(), QStringLiteral("Artist 0001__Album 0001/track02.mp3"));

    touchRow(1);
    press(panel.play);
    EXPECT_EQ(opened().last(), QStringLiteral("Artist 0001__Album 0001/track03.mp3"));
    fake().clearCommands();
    touchRow(1);
    press(panel.remove);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/2")});
    EXPECT_TRUE(opened().isEmpty());
    EXPECT_EQ(player::playmode, 0);
    EXPECT_EQ(panel.lb->items().count(), 1);
}

TEST_F(QueuePanelTest, PurgeEmptiesTheQueueAndStartsBackgroundPlay)
{
    jukebox::tplaylistview& panel = queueThreeAndOpen();
    library::autoplaymode = true;
    press(panel.purge);
    EXPECT_TRUE(queue().isEmpty());
    EXPECT_EQ(panel.lb->items().count(), 0);
    EXPECT_TRUE(jukebox::autoplaying);
}

} // namespace

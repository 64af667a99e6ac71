// The play queue: rows and entries in step, repeats refused, drops, and the playing row that follows
// its entry.

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <gmock/gmock.h>

#include "printers.h"
#include "queuetesting.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class QueueTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        addAlbum(QStringLiteral("Alpha__One"),
                 {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"), QStringLiteral("A4"),
                  QStringLiteral("A5"), QStringLiteral("A6"), QStringLiteral("A7")});
        addAlbum(QStringLiteral("Beta__Two"),
                 {QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3")});
        start();
    }

    void expectInStep()
    {
        EXPECT_EQ(player::dCurrentTrack, form->dplaylist->count());
        EXPECT_GE(player::dPlayListMatrixAlb.size(), form->dplaylist->count());
        EXPECT_GE(player::dPlayListMatrixTrk.size(), form->dplaylist->count());
    }

    void selectRow(int row) { form->dplaylist->setCurrentRow(row); }

    // An empty queue leaves nothing to play, move through or remove; pause stays for the jukebox.
    void expectTransportIdle()
    {
        EXPECT_THAT(rows(), IsEmpty());
        EXPECT_EQ(player::dCurrentTrack, 0);
        for (QWidget* control :
             std::initializer_list<QWidget*>{form->play, form->fwd, form->bck, form->progress,
                                             form->skipforward, form->skipback, form->del, form->clearlist})
            EXPECT_FALSE(control->isEnabled());
        EXPECT_TRUE(form->pause->isEnabled());
    }
};

TEST_F(QueueTest, RowsEntriesAndCountStayInStepThroughEveryChange)
{
    queueTrack(1, 1);
    queueTrack(1, 2);
    queueTrack(2, 3);
    EXPECT_EQ(rows(), strings({"A1", "A2", "B3"}));
    EXPECT_EQ(entries(), strings({"Alpha__One/1", "Alpha__One/2", "Beta__Two/3"}));
    expectInStep();

    // Inserted below the selected row; the selection stays.
    selectRow(0);
    chooseAlbum(2);
    form->insertClick(nullptr);
    EXPECT_EQ(rows(), strings({"A1", "B1", "A2", "B3"}));
    EXPECT_EQ(entries(), strings({"Alpha__One/1", "Beta__Two/1", "Alpha__One/2", "Beta__Two/3"}));
    EXPECT_EQ(form->dplaylist->currentRow(), 0);
    expectInStep();

    // Removing the selected row closes the gap and selects the row that took its place.
    selectRow(2);
    form->DelClick(nullptr);
    EXPECT_EQ(rows(), strings({"A1", "B1", "B3"}));
    EXPECT_EQ(entries(), strings({"Alpha__One/1", "Beta__Two/1", "Beta__Two/3"}));
    EXPECT_EQ(form->dplaylist->currentRow(), 2);
    expectInStep();

    // The last row removed: the one above is selected.
    form->DelClick(nullptr);
    EXPECT_EQ(rows(), strings({"A1", "B1"}));
    EXPECT_EQ(form->dplaylist->currentRow(), 1);
    expectInStep();

    form->swapQueueEntries(0, 1);
    EXPECT_EQ(rows(), strings({"B1", "A1"}));
    EXPECT_EQ(entries(), strings({"Beta__Two/1", "Alpha__One/1"}));

    // Stale entries beyond the rows are overwritten, never read: a new entry after removals.
    queueTrack(1, 7);
    EXPECT_EQ(entries(), strings({"Beta__Two/1", "Alpha__One/1", "Alpha__One/7"}));
    expectInStep();

    form->clearlistClick(nullptr);
    expectTransportIdle();
    EXPECT_EQ(player::dcurrentlyplayingtrack, 0);
    EXPECT_TRUE(form->Stop->isChecked());
}

// Nothing is added without a chosen track; the first added is selected but not played, and removing
// it leaves the transport idle again.
TEST_F(QueueTest, AnEmptyQueueTakesItsFirstTrackWithoutPlayingAndGivesItBackIdle)
{
    chooseAlbum(1);
    form->dtracklist->setCurrentRow(-1);
    form->AddClick(nullptr);
    form->insertClick(nullptr);
    EXPECT_THAT(rows(), IsEmpty());
    EXPECT_EQ(player::dCurrentTrack, 0);
    EXPECT_FALSE(form->clearlist->isEnabled());

    queueTrack(1, 3);
    EXPECT_EQ(form->dplaylist->currentRow(), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{form->play, form->fwd, form->bck, form->pause,
                                                            form->clearlist, form->del, form->audition})
        EXPECT_TRUE(control->isEnabled());
    EXPECT_EQ(form->del->toolTip(), QStringLiteral("Remove \"A3\" from playlist"));
    EXPECT_THAT(opened(), IsEmpty());
    EXPECT_EQ(player::playmode, 0);

    form->DelClick(nullptr);
    expectTransportIdle();
    // With nothing selected, remove does nothing.
    form->DelClick(nullptr);
    EXPECT_EQ(player::dCurrentTrack, 0);
}

// The queue holds A3, A5 (selected, standing for the playing row), A7; then the case's track is asked for.
TEST_F(QueueTest, RepeatsAtOrAfterThePlayingRowAreRefused)
{
    const struct
    {
        const char* name;
        bool norepeat;
        int album;
        int track;
        bool creditTaken;
        bool added;
        int refunds;
    } cases[] = {{"PlayingTrackWithCredit", true, 1, 5, true, false, 1},
                 {"PlayingTrackFromDesktopTakesNoFreeCredit", true, 1, 5, false, false, 0},
                 {"QueuedAfterPlaying", true, 1, 7, true, false, 1},
                 {"PlayedEarlierIsAdded", true, 1, 3, true, true, 0},
                 {"SameNumberOtherAlbum", true, 2, 3, true, true, 0},
                 {"SwitchedOff", false, 1, 5, true, true, 0}};
    frontEnd.exists = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        library::config.norepeat = c.norepeat;
        form->clearlistClick(nullptr);
        for (const int track : {3, 5, 7})
            queueTrack(1, track);
        selectRow(1);
        frontEnd.clearRecords();

        queueTrack(c.album, c.track, c.creditTaken);

        EXPECT_EQ(form->dplaylist->count(), c.added ? 4 : 3);
        EXPECT_EQ(frontEnd.refunds, c.refunds);
        EXPECT_THAT(frontEnd.messages,
                    ElementsAre(c.added ? QStringLiteral("Added Track: ") + rows().last()
                                        : QStringLiteral("NO CREDIT TAKEN - TRACK ALREADY IN QUEUE")));
        expectInStep();
    }
}

TEST_F(QueueTest, AddedTrackMessageAndPlayLogOnlyWithTheJukebox)
{
    library::config.trackslogfile = QStringLiteral("plays.log");
    queueTrack(1, 1);
    EXPECT_THAT(frontEnd.messages, IsEmpty());
    EXPECT_THAT(frontEnd.logEntries, IsEmpty());

    frontEnd.exists = true;
    queueTrack(1, 7); // the album's last track like any other
    EXPECT_THAT(frontEnd.messages, ElementsAre(QStringLiteral("Added Track: A7")));
    EXPECT_THAT(frontEnd.logEntries, ElementsAre(QStringLiteral("Alpha|One|A7")));

    library::config.trackslogfile.clear();
    queueTrack(2, 1);
    EXPECT_EQ(frontEnd.messages.last(), QStringLiteral("Added Track: B1"));
    EXPECT_EQ(frontEnd.logEntries.size(), 1);
}

TEST_F(QueueTest, InsertOnTheLastRowOrIntoAnEmptyQueueAppends)
{
    frontEnd.exists = true;
    chooseAlbum(2);
    form->insertClick(nullptr);
    EXPECT_EQ(rows(), strings({"B1"}));
    EXPECT_EQ(frontEnd.messages.last(), QStringLiteral("Added Track: B1"));
    form->dtracklist->setCurrentRow(1);
    form->insertClick(nullptr);
    EXPECT_EQ(rows(), strings({"B1", "B2"}));
    // Inserted in the middle: no message.
    selectRow(0);
    frontEnd.messages.clear();
    form->dtracklist->setCurrentRow(2);
    form->insertClick(nullptr);
    EXPECT_EQ(rows(), strings({"B1", "B3", "B2"}));
    EXPECT_THAT(frontEnd.messages, IsEmpty());
}

// Rows A1 A2 A3 A4 with A3 (row 2) playing: the playing row follows A3 through every change.
TEST_F(QueueTest, PlayingRowFollowsItsEntry)
{
    // Inserts track A7 below queue row `row`.
    const auto insertBelow = [](int row) {
        return [row](player::Tmainform& f) {
            f.dplaylist->setCurrentRow(row);
            f.dtracklist->setCurrentRow(6);
            f.insertClick(nullptr);
        };
    };
    const auto removeRow = [](int row) {
        return [row](player::Tmainform& f) {
            f.dplaylist->setCurrentRow(row);
            f.DelClick(nullptr);
        };
    };
    const struct
    {
        const char* name;
        std::function<void(player::Tmainform&)> change;
        int playingAfter;
    } cases[] = {{"InsertAbove", insertBelow(0), 3},
                 {"InsertDirectlyAbove", insertBelow(1), 3},
                 {"InsertBelow", insertBelow(2), 2},
                 {"RemoveAbove", removeRow(0), 1},
                 {"RemoveBelow", removeRow(3), 2},
                 {"SwapAway", [](player::Tmainform& f) { f.swapQueueEntries(2, 0); }, 0},
                 {"SwapInto", [](player::Tmainform& f) { f.swapQueueEntries(3, 2); }, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->clearlistClick(nullptr);
        for (int t = 1; t <= 4; ++t)
            queueTrack(1, t);
        selectRow(2);
        form->playClick(nullptr);
        ASSERT_EQ(player::dcurrentlyplayingtrack, 2);

        c.change(*form);

        EXPECT_EQ(player::dcurrentlyplayingtrack, c.playingAfter);
        EXPECT_EQ(form->dplaylist->item(player::dcurrentlyplayingtrack)->text(), QStringLiteral("A3"));
    }
}

TEST_F(QueueTest, DropsOntoTheQueue)
{
    for (int t = 1; t <= 6; ++t)
        queueTrack(1, t);
    // Room for the rows and some empty space below them.
    form->dplaylist->setMinimumHeight(300);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const auto centreOf = [&](int row) {
        return form->dplaylist->visualItemRect(form->dplaylist->item(row)).center();
    };

    bool accept = false;
    form->dplaylistDragOver(form->dplaylist, form->dtracklist, 0, 0, accept);
    EXPECT_TRUE(accept);
    form->dplaylistDragOver(form->dplaylist, form->Add, 0, 0, accept);
    EXPECT_FALSE(accept);

    // A queue row dropped on another swaps the two.
    selectRow(1);
    QPoint onRow4 = centreOf(4);
    form->dplaylistDragDrop(form->dplaylist, form->dplaylist, onRow4.x(), onRow4.y());
    EXPECT_EQ(rows(), strings({"A1", "A5", "A3", "A4", "A2", "A6"}));
    EXPECT_EQ(entries().at(1), QStringLiteral("Alpha__One/5"));
    EXPECT_EQ(entries().at(4), QStringLiteral("Alpha__One/2"));

    // Below the last row nothing happens.
    const int below = form->dplaylist->visualItemRect(form->dplaylist->item(5)).bottom() + 20;
    ASSERT_LT(below, form->dplaylist->viewport()->height());
    form->dplaylistDragDrop(form->dplaylist, form->dplaylist, onRow4.x(), below);
    EXPECT_EQ(rows(), strings({"A1", "A5", "A3", "A4", "A2", "A6"}));

    // A track dropped anywhere goes to the end.
    chooseAlbum(2);
    form->dplaylistDragDrop(form->dplaylist, form->dtracklist, onRow4.x(), centreOf(0).y());
    EXPECT_EQ(rows().last(), QStringLiteral("B1"));
    EXPECT_EQ(entries().last(), QStringLiteral("Beta__Two/1"));
    expectInStep();
}

TEST_F(QueueTest, ChoosingARowShowsThePlayFrameUnlessItIsThePlayingRow)
{
    library::config.volume = 90;
    queueTrack(1, 1);
    queueTrack(1, 2);
    form->playClick(nullptr);
    selectRow(1);
    form->dplaylistClick(form->dplaylist);
    EXPECT_FALSE(form->playbutmod->isHidden());
    EXPECT_EQ(form->del->toolTip(), QStringLiteral("Remove \"A2\" from playlist"));
    EXPECT_EQ(form->vol->value(), 90);
    selectRow(0);
    form->dplaylistClick(form->dplaylist);
    EXPECT_TRUE(form->playbutmod->isHidden());
    // Only a click on the queue itself changes the frame.
    selectRow(1);
    form->dplaylistClick(nullptr);
    EXPECT_TRUE(form->playbutmod->isHidden());
    form->dplaylistDblClick(form->dplaylist);
    EXPECT_EQ(player::dcurrentlyplayingtrack, 1);
    EXPECT_EQ(opened().last(), QStringLiteral("track02.mp3"));
}

TEST_F(QueueTest, QueueCountShowsThePlayingRowAndBlinks)
{
    for (int t = 1; t <= 3; ++t)
        queueTrack(1, t);
    form->numberoftracksTimer(nullptr);
    EXPECT_EQ(form->playlistcaption->text(), QStringLiteral("3 tracks"));
    const bool firstShown = !form->playlistcaption->isHidden();
    selectRow(1);
    form->playClick(nullptr);
    form->numberoftracksTimer(nullptr);
    EXPECT_EQ(form->playlistcaption->text(), QStringLiteral("2/3 tracks"));
    EXPECT_NE(!form->playlistcaption->isHidden(), firstShown);
}

} // namespace

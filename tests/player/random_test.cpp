// The random playlist as the operator makes it: the dialog opened from the player window, albums
// ticked in its include list, "&Go", and the queue that results.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include "player/randomfromalbums.h"
#include "printers.h"
#include "queuetesting.h"

namespace {

class RandomTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        addAlbum(QStringLiteral("Ten__Tracks"), numbered("T", 10));
        addAlbum(QStringLiteral("Twelve__Tracks"), numbered("W", 12));
        start();
        player::rnd_dialog = &dialog;
        player::setRandomPlaylistRandom(&random);
    }
    void TearDown() override
    {
        player::setRandomPlaylistRandom(nullptr);
        player::rnd_dialog = nullptr;
        PlayerWindowTest::TearDown();
    }

    // Opens the dialog from the player window and lets `operate` work it while it is open.
    void openDialog(const std::function<void()>& operate)
    {
        dialogs.modalHandler = [&](QDialog& shown) {
            shown.show();
            operate();
            return 0;
        };
        form->randombutClick(form->randombut);
    }

    void clickRow(int row)
    {
        QListWidget* list = dialog.includelist;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    QString countText() const { return dialog.randomcountlabel->text(); }

    player::Trnd_dialog dialog;
    QRandomGenerator random{7};
};

// "Go" with the pool emptied leaves the queue alone.
TEST_F(RandomTest, TickedAlbumsCountTheirTracksAndSelectNoneEmptiesThePool)
{
    queueTrack(2, 3);
    QStringList counts;
    openDialog([&] {
        clickRow(0);
        clickRow(1);
        counts << countText();
        clickRow(0);
        counts << countText();
        QTest::mouseClick(dialog.all, Qt::LeftButton);
        QTest::mouseClick(dialog.none, Qt::LeftButton);
        counts << countText();
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(counts, strings({"22 tracks in list", "12 tracks in list", "0 tracks in list"}));
    EXPECT_EQ(entries(), strings({"Twelve__Tracks/3"}));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(RandomTest, GoQueuesEveryTrackOnceInRandomOrderInThePlayListStyle)
{
    queueTrack(1, 1);
    openDialog([&] {
        QTest::mouseClick(dialog.all, Qt::LeftButton);
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    QStringList expected; // the pool in the order it was made
    for (int t = 1; t <= 22; ++t)
        expected << (t <= 10 ? QStringLiteral("Ten__Tracks/%1").arg(t)
                             : QStringLiteral("Twelve__Tracks/%1").arg(t - 10));
    QStringList queued = entries();
    EXPECT_NE(queued, expected); // shuffled
    queued.sort();
    expected.sort();
    EXPECT_EQ(queued, expected);
    EXPECT_EQ(countText(), QStringLiteral("Added 22 tracks."));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(form->playlistbut->isChecked());
    EXPECT_EQ(form->dplaylist->currentRow(), 0);
    EXPECT_TRUE(fake().commands().filter(QStringLiteral("play")).isEmpty());
}

TEST_F(RandomTest, EnoughStopsAfterTheTrackBeingQueued)
{
    openDialog([&] {
        clickRow(1);
        // Pressed while the queue fills: the first progress report lets it through.
        QTimer::singleShot(0, dialog.cancel, [&] {
            EXPECT_EQ(dialog.cancel->text(), QStringLiteral("Enough"));
            QTest::mouseClick(dialog.cancel, Qt::LeftButton);
        });
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
    EXPECT_EQ(entries().size(), 1);
    EXPECT_EQ(countText(), QStringLiteral("Added 1 tracks."));
}

} // namespace

// The album lists and the two play styles: choosing an album loads its titles (rebuilding a lost
// titles file), and the play-list style takes over the CD-player style's album when it has none.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "printers.h"
#include "queuetesting.h"

namespace {

class ModesTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        addAlbum(QStringLiteral("Alpha__One"), strings({"A1", "A2"}));
        addAlbum(QStringLiteral("Beta__Two"), strings({"B1", "B2", "B3"}));
    }
};

TEST_F(ModesTest, ChoosingAnAlbumLoadsItsTitlesAndRemembersIt)
{
    start();
    form->albumlist->setCurrentIndex(1);
    form->albumlistChange(form->albumlist);
    EXPECT_EQ(rowTexts(form->tracklist), strings({"B1", "B2", "B3"}));
    EXPECT_EQ(library::config.lastalbum, 2);
    EXPECT_EQ(form->albumlist->toolTip(), QStringLiteral("Beta - Two"));
}

TEST_F(ModesTest, ALostTitlesFileIsRebuiltFromTheTrackFiles)
{
    start();
    ASSERT_TRUE(QFile::remove(libraryRoot + QStringLiteral("/Beta__Two/title.dat")));
    form->Dalbumlist->setCurrentIndex(1);
    form->DalbumlistChange(form->Dalbumlist);
    EXPECT_EQ(rowTexts(form->dtracklist), strings({"track01", "track02", "track03"}));
    EXPECT_TRUE(QFile::exists(libraryRoot + QStringLiteral("/Beta__Two/title.dat")));
}

TEST_F(ModesTest, TheCdPlayerStyleDisablesItsTransportUntilATrackIsChosen)
{
    start();
    form->CdplayerbutClick(nullptr);
    EXPECT_TRUE(form->Cdplayerbut->isChecked());
    EXPECT_FALSE(form->numberoftracks->isActive());
    player::timermode = 1;
    form->albumlistChange(form->albumlist);
    EXPECT_FALSE(form->play->isEnabled());
    EXPECT_FALSE(form->skipforward->isEnabled());
    EXPECT_EQ(player::timermode, 0);
}

TEST_F(ModesTest, ThePlayListStyleTakesTheCdPlayerAlbumWhenItHasNone)
{
    start();
    form->albumlist->setCurrentIndex(1);
    form->Dalbumlist->setCurrentIndex(-1);
    form->playlistbutClick(nullptr);
    EXPECT_TRUE(form->playlistbut->isChecked());
    EXPECT_FALSE(form->Cdplayerbut->isChecked());
    EXPECT_EQ(form->Dalbumlist->currentIndex(), 1);
    EXPECT_EQ(rowTexts(form->dtracklist), strings({"B1", "B2", "B3"}));
    EXPECT_TRUE(form->numberoftracks->isActive());
}

TEST_F(ModesTest, AnEmptyLibraryLeavesTheListsAlone)
{
    QDir(libraryRoot + QStringLiteral("/Alpha__One")).removeRecursively();
    QDir(libraryRoot + QStringLiteral("/Beta__Two")).removeRecursively();
    start();
    form->albumlistChange(form->albumlist);
    form->DalbumlistChange(form->Dalbumlist);
    EXPECT_EQ(form->tracklist->count(), 0);
    EXPECT_EQ(form->dtracklist->count(), 0);
}

} // namespace

// The player window as the operator sees it: its fixed layout, the play-list view's clicks and
// hints, the key chords and the cover picker.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "fakespeech.h"
#include "platform/screens.h"
#include "player/olespeech.h"
#include "printers.h"
#include "queuetesting.h"

namespace {

class WindowTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        addAlbum(QStringLiteral("Alpha__One"), strings({"Blue", "A2"}));
        addAlbum(QStringLiteral("Beta__Two"), strings({"B1", "B2", "B3"}));
        start();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override
    {
        player::resetspeech();
        PlayerWindowTest::TearDown();
    }

    // Whether the toolbar picture `button` shows image `index` of the image list.
    bool shows(QToolButton* button, int index) const
    {
        const QImage shown = button->icon().pixmap(34, 34).toImage().convertToFormat(QImage::Format_RGB32);
        return shown == form->butimages.at(index).convertToFormat(QImage::Format_RGB32);
    }

    FakeSpeech speech;
};

TEST_F(WindowTest, HasItsFixedClientAreaWithEveryControlInsideCentredOnItsMonitor)
{
    QWidget* client = form->toolbar->parentWidget();
    ASSERT_EQ(client->size(), QSize(524, 359));
    EXPECT_EQ(form->width(), 524);
    EXPECT_EQ(form->height(), client->geometry().bottom() + 1);
    EXPECT_EQ(form->toolbar->geometry(), QRect(0, 0, 524, 42));
    EXPECT_EQ(form->cover->size(), QSize(170, 170));
    EXPECT_LE((form->frameGeometry().center() - platform::screens().geometry(form.get()).center())
                  .manhattanLength(),
              1);
    for (QWidget* panel : {form->playpanel, form->Playlist}) {
        panel->show();
        for (QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect inClient(control->mapTo(client, QPoint(0, 0)), control->size());
            EXPECT_TRUE(client->rect().contains(inClient)) << control->metaObject()->className();
        }
    }
    // The transport's buttons stand side by side, none over another.
    const QList<QToolButton*> buttons = form->transport->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 12);
    for (QToolButton* a : buttons) {
        EXPECT_TRUE(form->transport->rect().contains(a->geometry())) << a->toolTip().toStdString();
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
        for (QToolButton* b : buttons)
            EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                << a->toolTip().toStdString() << b->toolTip().toStdString();
    }
    form->playlistbutClick(nullptr);
    queueTrack(1, 1);
    const QImage playList = form->grab().toImage();
    form->CdplayerbutClick(nullptr);
    const QImage cdPlayer = form->grab().toImage();
    EXPECT_EQ(cdPlayer.size(), form->size() * cdPlayer.devicePixelRatio());
    EXPECT_NE(cdPlayer, playList);
    if (const QString docs = qEnvironmentVariable("MUSETRA_DOCS"); !docs.isEmpty()) {
        cdPlayer.save(QDir(docs).filePath(QStringLiteral("player-cdplayer.png")));
        playList.save(QDir(docs).filePath(QStringLiteral("player-playlist.png")));
    }
}

TEST_F(WindowTest, ChoosingAnAlbumInThePlayListViewMakesTrackOneTheOneToAdd)
{
    form->playlistbutClick(nullptr);
    form->Dalbumlist->setFocus();
    QTest::keyClick(form->Dalbumlist, Qt::Key_Down);
    ASSERT_EQ(form->Dalbumlist->currentIndex(), 1);
    EXPECT_EQ(rowTexts(form->dtracklist), strings({"B1", "B2", "B3"}));
    EXPECT_EQ(library::config.dlastalbum, 2);
    QTest::mouseClick(form->Add, Qt::LeftButton);
    EXPECT_EQ(entries(), strings({"Beta__Two/1"}));
}

TEST_F(WindowTest, ClickingATrackNamesItInTheAddAndInsertHints)
{
    form->playlistbutClick(nullptr);
    form->Dalbumlist->setCurrentIndex(0);
    form->DalbumlistChange(form->Dalbumlist);
    const QPoint row0 = form->dtracklist->visualItemRect(form->dtracklist->item(0)).center();
    QTest::mouseClick(form->dtracklist->viewport(), Qt::LeftButton, {}, row0);
    EXPECT_EQ(form->Add->toolTip(), QStringLiteral("Add \"Blue\" to end of playlist"));
    EXPECT_EQ(form->insert->toolTip(), QStringLiteral("Insert \"\"Blue\"\" into playlist"));
    EXPECT_FALSE(form->del->isEnabled());
    // A double click queues the track.
    QTest::mouseDClick(form->dtracklist->viewport(), Qt::LeftButton, {}, row0);
    EXPECT_EQ(rows(), strings({"Blue"}));
}

TEST_F(WindowTest, CtrlAltTTogglesTheDjOnlyWhileItsButtonIsEnabled)
{
    form->CdplayerbutClick(nullptr);
    ASSERT_FALSE(form->dj->isEnabled());
    QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(form->dj->isChecked());
    EXPECT_TRUE(speech.registeredAs.isEmpty());

    form->playlistbutClick(nullptr);
    QTest::keyClick(form->dplaylist, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(form->dj->isChecked());
    EXPECT_EQ(speech.registeredAs, QStringLiteral("Musetra"));
    // Ctrl+Alt+Z steps the CD player's album list to the next album through its own key handling.
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rowTexts(form->tracklist) == strings({"B1", "B2", "B3"}); }));
}

TEST_F(WindowTest, EscWhileStoppedSwitchesToTheCdPlayerStyleAndItsPictures)
{
    form->playlistbutClick(nullptr);
    ASSERT_TRUE(form->Stop->isChecked());
    EXPECT_TRUE(shows(form->butcdlist, 1));
    EXPECT_TRUE(shows(form->butcd, 10));
    // The Escape that closed the jukebox comes up in this window: it went down elsewhere.
    QTest::keyRelease(form->dtracklist, Qt::Key_Escape);
    EXPECT_TRUE(form->playlistbut->isChecked());
    QTest::keyClick(form->dtracklist, Qt::Key_Escape);
    EXPECT_TRUE(form->Cdplayerbut->isChecked());
    EXPECT_TRUE(form->Playlist->isHidden());
    EXPECT_FALSE(form->numberoftracks->isActive());
    // The play-list picture fades, the CD-player picture lights up.
    EXPECT_TRUE(shows(form->butcdlist, 11));
    EXPECT_TRUE(shows(form->butcd, 0));
}

TEST_F(WindowTest, TheCoverPickerPutsThePickedAlbumIntoBothAlbumLists)
{
    form->albumlist->setCurrentIndex(0);
    form->Dalbumlist->setCurrentIndex(0);
    frontEnd.pickedCover = -1;
    QTest::mouseClick(form->coverpickbut, Qt::LeftButton);
    EXPECT_EQ(form->albumlist->currentIndex(), 0);

    frontEnd.pickedCover = 1;
    QTest::mouseClick(form->coverpickbut, Qt::LeftButton);
    EXPECT_EQ(form->albumlist->currentIndex(), 1);
    EXPECT_EQ(form->Dalbumlist->currentIndex(), 1);
    EXPECT_EQ(rowTexts(form->tracklist), strings({"B1", "B2", "B3"}));
    EXPECT_EQ(rowTexts(form->dtracklist), strings({"B1", "B2", "B3"}));
    EXPECT_FALSE(form->coverpickbut->isChecked());
}

} // namespace

// A cover is decoded off the window thread, no larger than the picture shows, and the album chosen
// last is the one whose cover shows.
TEST_F(WindowTest, TheAlbumsCoverComesFromAWorkerAtTheSizeItShows)
{
    const auto writeCover = [this](const char* folder, Qt::GlobalColor colour) {
        QImage cover(600, 600, QImage::Format_RGB32);
        cover.fill(colour);
        ASSERT_TRUE(
            cover.save(libraryRoot + QStringLiteral("/%1/title.jpg").arg(QLatin1String(folder)), "JPEG"));
    };
    writeCover("Alpha__One", Qt::red);
    writeCover("Beta__Two", Qt::blue);
    for (int row : {1, 0}) {
        form->albumlist->setCurrentIndex(row);
        form->albumlistChange(form->albumlist);
        EXPECT_TRUE(form->coverLoading()) << "decoded on the window thread";
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->coverLoading(); }));
    const QImage shown = form->cover->pixmap().toImage();
    EXPECT_LT(shown.width(), 600);
    EXPECT_GE(shown.width(), 170);
    const QColor middle = shown.pixelColor(shown.rect().center());
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.blue(), 60);
}

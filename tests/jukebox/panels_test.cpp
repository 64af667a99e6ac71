// The operator panels as the operator and the guests touch them: the corners, reject, volume, the
// passcode, the random build, the commerce panel with its chart, and the guest controls whose
// handlers live there ("Add All", the enlarged cover).

#include <QFile>
#include <QPointer>
#include <QSlider>
#include <QTest>
#include <set>
#include <gtest/gtest.h>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/numericinput.h"
#include "controls/selecterlistbox.h"
#include "controls/transparentpanel.h"
#include "jukebox/editbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/logfile.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "numberstesting.h"
#include "player/backdrops.h"
#include "printers.h"
#include "ripper/musripmain.h"

namespace {

class PanelsTest : public NumberEntryTest
{
protected:
    static void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(2, 2)); }
    static void press(QWidget* control) { QTest::mousePress(control, Qt::LeftButton, {}, QPoint(2, 2)); }
    static void release(QWidget* control) { QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(2, 2)); }
    QString settingsText() { return QString::fromUtf8(program.read(QStringLiteral("Musetra.ini"))); }
};

TEST_F(PanelsTest, RejectSkipsToTheNextTrackStopsOnTheLastAndReplacesABackgroundTrack)
{
    addLibrary(2);
    open();
    form->playlistbutClick(form.get()); // the jukebox's queue plays in the play-list style
    type("0001001");
    type("0001002");
    ASSERT_TRUE(playing());
    fake().clearCommands();
    click(window->rejectshape2);
    EXPECT_EQ(form->dplaylist->currentRow(), 1);
    EXPECT_EQ(opened(), QStringList{QStringLiteral("Artist 0001__Album 0001/track02.mp3")});

    fake().clearCommands();
    library::autoplaymode = false;
    click(window->rejectshape2);
    EXPECT_FALSE(form->play->isChecked());
    EXPECT_TRUE(fake().commands().contains(QStringLiteral("stop")));
    EXPECT_TRUE(opened().isEmpty());
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Rejected Track"));

    // With background play on, the last track's reject hands over to a background track, and
    // rejecting that one starts another.
    library::autoplaymode = true;
    type("0002001");
    ASSERT_TRUE(playing());
    fake().clearCommands();
    click(window->rejectshape2);
    ASSERT_TRUE(jukebox::autoplaying);
    EXPECT_EQ(opened().size(), 1);
    click(window->rejectshape2);
    EXPECT_TRUE(jukebox::autoplaying);
    EXPECT_EQ(opened().size(), 2);
}

// The extraction window's jukebox panel offers the auto-play switch as the kiosk panel left it.
TEST_F(PanelsTest, TheExtractionPanelShowsAutoPlayAsTheKioskPanelLeftIt)
{
    addLibrary(2);
    open();
    ripper::Tripmain extraction;
    const bool before = window->autoplaycb->checked();
    click(window->autoplaycb);
    ASSERT_NE(window->autoplaycb->checked(), before);
    library::trackscount = 0;
    extraction.doripping();
    EXPECT_EQ(extraction.jbautoplay->checked(), window->autoplaycb->checked());
}

TEST_F(PanelsTest, HeldVolumeDownSpeedsUpWhileVolumeUpRepeatsSteadilyAndStaysUnderTheBackgroundCap)
{
    addLibrary(1);
    open(QStringLiteral("Volume=100\n[Commercial]\nbgvolume=20\nbgvolumemax=25\n"));
    press(window->volumedownshape2);
    EXPECT_EQ(form->vol->value(), 99);
    const std::vector<int> down = ticker(window->volumetimer).fireRecordingIntervals(44);
    EXPECT_EQ(std::set<int>(down.begin(), down.end()), (std::set<int>{100, 50, 25, 12}));
    EXPECT_EQ(window->volumetimer->interval(), 10);
    release(window->volumedownshape2);
    EXPECT_FALSE(window->volumetimer->isEnabled());
    EXPECT_EQ(window->volumetimer->interval(), 100);
    EXPECT_EQ(form->vol->value(), 55);

    jukebox::startautoplay();
    ASSERT_TRUE(jukebox::autoplaying);
    press(window->volumeupshape2);
    const std::vector<int> up = ticker(window->volumetimer).fireRecordingIntervals(30);
    release(window->volumeupshape2);
    EXPECT_EQ(std::set<int>(up.begin(), up.end()), std::set<int>{100});
    EXPECT_EQ(form->vol->value(), 25);
    EXPECT_EQ(library::config.bgvolume, 25);
    EXPECT_EQ(library::config.volume, 55);
}

TEST_F(PanelsTest, PasscodeTakesDigitsOnlyIsStoredAsThreeDigitsAndUnlocksTheKeypadEntry)
{
    addLibrary(1);
    open();
    click(window->kioskpanel);
    EXPECT_FALSE(window->panel_kiosk->isHidden());
    click(window->advancedbut);
    EXPECT_TRUE(jukebox::keypadlocked);
    window->code->clear();
    QTest::keyClicks(window->code, QStringLiteral("a7-"));
    window->code->insert(QStringLiteral("x")); // as a paste does
    EXPECT_EQ(window->code->text(), QStringLiteral("7"));
    click(window->setcode);
    EXPECT_EQ(window->code->text(), QStringLiteral("007"));
    click(window->advancedOK);
    EXPECT_FALSE(jukebox::keypadlocked);
    EXPECT_TRUE(settingsText().contains(QStringLiteral("password=007")));
    type("0000007");
    EXPECT_TRUE(library::config.lock);
}

TEST_F(PanelsTest, RandomBuildQueuesTheChosenAlbumsAndRollsTheDiceEveryTwentyTracks)
{
    addLibrary(3, [](int) { return 20; });
    fillScreen(open());
    click(window->randombut);
    EXPECT_EQ(window->randompanellb->count(), 3);
    const QImage shown = window->randompanellb->face(); // the albums, not the list's first face
    window->randompanellb->Paint();
    const QImage unselected = window->randompanellb->face();
    EXPECT_EQ(unselected, shown);
    click(window->randompanelOK);
    EXPECT_EQ(window->randomcountlabel->text(), QStringLiteral("No albums selected."));
    click(window->randompanelselectall);
    EXPECT_NE(window->randompanellb->face(), unselected); // chosen albums stand out
    EXPECT_EQ(window->randomcountlabel->text(), QStringLiteral("Total tracks selected: 60"));
    click(window->randompanelOK);
    EXPECT_EQ(form->dplaylist->count(), 60);
    EXPECT_TRUE(playing());
    // Rolled at 20, 40 and 60: the fourth face comes next.
    EXPECT_EQ(jukebox::tagOf(window->randomdice), 3);
    EXPECT_FALSE(window->randompanel->isVisible());
}

TEST_F(PanelsTest, TheOperatorsBackdropGoesWhileNoPanelShowsAndComesBackAsItWas)
{
    addLibrary(1);
    fillScreen(open());
    const auto openAdvanced = [this] {
        click(window->kioskpanel);
        click(window->advancedbut);
        return window->advanced->face();
    };
    const QImage first = openAdvanced();
    EXPECT_EQ(qAlpha(first.pixel(first.rect().center())), 255); // the backdrop, not see-through
    click(window->advancedOK);
    ASSERT_TRUE(QTest::qWaitFor([] { return player::bg.isNull(); }));

    EXPECT_EQ(openAdvanced(), first);
}

TEST_F(PanelsTest, CommercePanelChartsOncePerOpeningAndDoneStoresTheSettingsWithAFreshChart)
{
    addLibrary(1);
    screens.bounds = QRect(0, 0, 1024, 768);
    fillScreen(open(
        QStringLiteral("[Commercial]\ncreditsystem=1\ntrackslogfile=%1/plays.log\n").arg(program.path())));
    window->playLog()->writeentry(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("One"));
    const auto chartRows = [this] { return window->CmTop100->items().count(); };
    QPointer<jukebox::tlogfile> first = window->log;
    click(window->GoCommercialManager);
    // On a 4:3 screen the captions are whole: beside their numbers, and the chart's across its half.
    for (const QLabel* caption : {window->CmBgWaitTimeLab, window->Cmtop100Lab})
        EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->width());
    EXPECT_TRUE(window->CmCredit->text().startsWith(QStringLiteral("Coin credits: ")));
    EXPECT_FALSE(window->CmCreditLab->isVisible()); // a caption with no number after it
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->isFinished(); }));
    EXPECT_EQ(chartRows(), 1);

    window->playLog()->writeentry(QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("Two"));
    click(window->GoCommercialManager);
    QTest::qWait(50);
    EXPECT_EQ(chartRows(), 1);

    window->CmPlaysPerCredit->setvalue(7);
    window->CmBgVolume->setvalue(40);
    click(window->CommerceOK);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(library::config.playspercoincredit, 7);
    EXPECT_TRUE(settingsText().contains(QStringLiteral("bgvolumemax=40")));
    QPointer<jukebox::tlogfile> second = window->log;
    click(window->GoCommercialManager);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->isFinished(); }));
    EXPECT_EQ(chartRows(), 2);
}

TEST_F(PanelsTest, APlayLogSetAfterTheWindowWasMadeIsWritten)
{
    addLibrary(1);
    open();
    library::config.trackslogfile = program.file(QStringLiteral("later.log")); // as a reload sets it
    frontEnd->writeentry(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("One"));
    EXPECT_TRUE(program.read(QStringLiteral("later.log")).contains("\t\"A\"\t\"B\"\t\"One\""));
}

TEST_F(PanelsTest, GuestControlsQueueAnAlbumCloseTheCoverAndToggleTheCorners)
{
    addLibrary(2);
    open();
    fillScreen(*window);
    click(window->lsb1playall);
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/1"), QStringLiteral("1/2"), QStringLiteral("1/3")}));
    QTest::keyClick(window, Qt::Key_BracketRight);
    EXPECT_EQ(queue().size(), 6);

    window->jbcovershow(QString());
    click(window->coverimage);
    EXPECT_TRUE(window->coverimagepanel->isHidden());
    window->jbcovershow(QString());
    click(window->butllabel);
    EXPECT_TRUE(window->coverimagepanel->isHidden());

    click(window->openpanel);
    EXPECT_EQ(jukebox::tagOf(window->openpanel), 1);
    EXPECT_FALSE(window->panel->isHidden());
    click(window->openpanel);
    EXPECT_TRUE(window->panel->isHidden());
    click(window->VisualsPanel);
    EXPECT_FALSE(window->thumbpanel->isHidden());
    EXPECT_TRUE(window->imViewMode->isHidden());

    // The operator's menu opened before the pictures keeps every button in reach.
    click(window->VisualsPanel);
    click(window->kioskpanel);
    click(window->VisualsPanel);
    for (QWidget* button : std::initializer_list<QWidget*>{window->autoplaycb, window->advancedbut})
        EXPECT_EQ(window->childAt(button->mapTo(window, QPoint(2, button->height() / 2))), button);
}

} // namespace

// The album pages of the jukebox window: what the eight panels show, the album strip, page steps
// and their slides, the letter jump, covers, thumbnails, and the switch to and from the prism.

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <vector>

#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/talphabetbar.h"
#include "controls/ticker.h"
#include "jukebox/albumpages.h"
#include "jukebox/pageslide.h"
#include "jukebox/picturebox.h"
#include "jukebox/searchtrack.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "view3d/prismview.h"
#include "jukeboxfixture.h"
#include "pageprinters.h"
#include "printers.h"

using jukebox::PictureBox;
using jukebox::tagOf;
using jukebox::Tjukebox;

namespace {

constexpr uint16_t kVkA = 0x41;
constexpr uint16_t kVkZ = 0x5A;
constexpr uint16_t kVkLeft = 0x25;

// Records what the pages hand to the prism.
class FakePrism final : public view3d::PrismView
{
public:
    QWidget* panel() override { return &view; }
    void NoAlbums() override { ++emptied; }
    void setArtwork(int face, const QImage& picture) override { artwork[face] = picture; }
    void setTitles(int face, int32_t album, const QVector<view3d::TitleRow>& rows) override
    {
        fills.push_back({face, album});
        titles[face] = rows;
    }
    void drawFrame() override { ++frames; }
    void setAddAllEnabled(bool on) override { addall = on; }

    QWidget view;
    std::vector<jukebox::PrismFill> fills;
    std::array<QImage, 4> artwork;
    std::array<QVector<view3d::TitleRow>, 4> titles;
    int emptied = 0;
    int frames = 0;
    bool addall = false;
};

// Mouse events that reach a widget, as "press x,y", "move x,y", "release x,y".
class MouseRecorder : public QObject
{
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        const char* kind = event->type() == QEvent::MouseButtonPress     ? "press"
                           : event->type() == QEvent::MouseMove          ? "move"
                           : event->type() == QEvent::MouseButtonRelease ? "release"
                                                                         : nullptr;
        if (kind) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            seen << QStringLiteral("%1 %2,%3").arg(QLatin1String(kind)).arg(at.x()).arg(at.y());
        }
        return false;
    }
    QStringList seen;
};

class PagesTest : public JukeboxTest
{
protected:
    // An album folder "artist__name" with these lines in its "title.dat".
    void writeAlbum(const QString& artist, const QString& name, const QByteArray& titles = "One\r\nTwo\r\n")
    {
        program.write(QStringLiteral("music/%1__%2/title.dat").arg(artist, name), titles);
    }

    // The window laid out on the screen, its slides without frame waits.
    Tjukebox& open(const QString& settings = QString())
    {
        writeSettings(settings);
        Tjukebox& window = start();
        window.pageSlide().setFrameInterval(0);
        fillScreen(window);
        coversMade(window);
        return window;
    }

    // Waits until every cover of the page shown is made.
    static void coversMade(const Tjukebox& w)
    {
        EXPECT_TRUE(QTest::qWaitFor([&w] { return !w.coversPending(); }, 30000));
    }

    // Waits until the cover load has ended: it shows the thumbnails then, and adds no more.
    static void coverLoadEnded(const Tjukebox& w)
    {
        EXPECT_TRUE(QTest::qWaitFor([&w] { return !w.VisualsPanelPanel->isHidden(); }));
    }

    // A thumbnail for each of the albums 1..count in place of the loaded ones, on a scroller of `size`.
    static void addThumbnails(Tjukebox& w, int count, const QSize& size)
    {
        coverLoadEnded(w);
        w.thumbs->clear();
        QImage thumb(50, 50, QImage::Format_RGB32);
        thumb.fill(Qt::blue);
        for (int album = 1; album <= count; ++album)
            w.thumbs->add(thumb, album);
        w.thumbs->setGeometry(QRect(QPoint(0, 0), size));
    }

    static std::array<int, 8> coverAlbums(const Tjukebox& w)
    {
        return {tagOf(w.cd1), tagOf(w.cd2), tagOf(w.cd3), tagOf(w.cd4),
                tagOf(w.cd5), tagOf(w.cd6), tagOf(w.cd7), tagOf(w.cd8)};
    }

    // Each row of a list as "TEXT album/track".
    static QStringList rows(const controls::TScrollListbox& list)
    {
        QStringList out;
        for (int i = 0; i < list.items().count(); ++i) {
            const auto* info = list.items().object(i);
            out << QStringLiteral("%1 %2/%3")
                       .arg(list.items()[i])
                       .arg(info ? info->AlbumNumber() : -1)
                       .arg(info ? info->TrackNumber() : -1);
        }
        return out;
    }

    static bool allBlack(const QImage& picture)
    {
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) != QColor(Qt::black)) return false;
        return !picture.isNull();
    }
};

TEST_F(PagesTest, PanelsShowThePageTheNextAndThePreviousWithTheirTracks)
{
    addAlbums(7);
    Tjukebox& w = open(QStringLiteral("jLastAlbum=3\n"));

    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_EQ(coverAlbums(w), (std::array<int, 8>{3, 4, 5, 6, 7, 0, 1, 2}));
    EXPECT_EQ(rows(*w.lsb1), (QStringList{QStringLiteral("ONE 3/1"), QStringLiteral("TWO 3/2")}));
    EXPECT_EQ(tagOf(w.lsb1), 3);
    EXPECT_EQ(tagOf(w.lsb4), 6);
    EXPECT_EQ(tagOf(w.lsb7), 1);
    EXPECT_EQ(tagOf(w.lsb8), 2);
    // The under panels stand behind the next page, the over panels behind the current one.
    EXPECT_EQ(w.toprightunderpanel->x(), w.toprightpanel->x());
    EXPECT_EQ(w.topoverpanel->x(), w.toppanel->x());
    EXPECT_GT(w.toprightpanel->x(), w.toppanel->geometry().right());
    EXPECT_EQ(library::config.jlastalbum, 3);
    EXPECT_EQ(w.cd1->picture().size(), w.cd1->size());
}

TEST_F(PagesTest, TheFillerSlotShowsNothingOfAnEarlierPage)
{
    addAlbums(7);
    Tjukebox& w = open();
    ASSERT_EQ(tagOf(w.cd2), 2);

    w.drawalbum(7);

    // Page 7: album 7 above, nothing below, and nothing there to touch.
    EXPECT_EQ(tagOf(w.cd1), 7);
    EXPECT_EQ(tagOf(w.cd2), 0);
    EXPECT_EQ(tagOf(w.lsb2), 0);
    EXPECT_EQ(w.lsb2->items().count(), 0);
    EXPECT_TRUE(allBlack(w.cd2->picture()));
    EXPECT_EQ(tagOf(w.cd3), 1);
}

TEST_F(PagesTest, NoAlbumsEmptiesEveryPanel)
{
    Tjukebox& w = open();
    EXPECT_EQ(coverAlbums(w), (std::array<int, 8>{}));
    EXPECT_EQ(w.lsb1->items().count(), 0);
    EXPECT_TRUE(allBlack(w.cd1->picture()));

    uint16_t key = kVkLeft;
    w.pageBack(key);
    EXPECT_EQ(jukebox::currentalbum, 1);
    w.pageForward(key);
    EXPECT_EQ(jukebox::currentalbum, 1);
}

TEST_F(PagesTest, AnyPageNumberBecomesTheUpperAlbumOfAValidPage)
{
    addAlbums(7);
    Tjukebox& w = open();

    // A search pick of album 6 shows page 5.
    jukebox::currentalbum = 6;
    w.drawalbum(jukebox::currentalbum);
    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(tagOf(w.cd2), 6);

    // Albums deleted under the current page: the last page shows.
    form->deletealbum(7);
    form->deletealbum(6);
    form->deletealbum(5);
    ASSERT_EQ(library::jalbumcount, 4);
    w.drawalbum(jukebox::currentalbum);
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_EQ(coverAlbums(w), (std::array<int, 8>{3, 4, 1, 2, 3, 4, 1, 2}));
}

TEST_F(PagesTest, AnEmptyTitleLineKeepsEachRowsOwnTrackNumber)
{
    writeAlbum(QStringLiteral("Abba"), QStringLiteral("Gold"), "Dancing Queen\r\n\r\nSOS\r\n  \r\nWaterloo");
    writeAlbum(QStringLiteral("Beck"), QStringLiteral("Odelay"));
    Tjukebox& w = open();

    EXPECT_EQ(rows(*w.lsb1), (QStringList{QStringLiteral("DANCING QUEEN 1/1"), QStringLiteral("SOS 1/3"),
                                          QStringLiteral("WATERLOO 1/5")}));
}

TEST_F(PagesTest, TheStripTonesTheCoverDownAndCarriesNumberAndNames)
{
    writeAlbum(QStringLiteral("Abba"), QStringLiteral("Gold"));
    writeAlbum(QStringLiteral("Beck"), QStringLiteral("Odelay"));
    QImage white(300, 300, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(program.file(QStringLiteral("music/Abba__Gold/title.bmp")), "BMP"));
    Tjukebox& w = open();

    const QImage& cover = w.cd1->picture();
    ASSERT_EQ(cover.size(), QSize(260, 260));
    const int stripTop = 260 - 260 / 8;
    // Above the strip the cover is as it was; in it, 40 % of the picture and 60 % grey.
    EXPECT_EQ(cover.pixelColor(200, stripTop - 1), QColor(Qt::white));
    EXPECT_EQ(cover.pixelColor(255, 258), QColor(179, 179, 179));
    // A black line down the left edge.
    EXPECT_EQ(cover.pixelColor(0, 100), QColor(Qt::black));
    // The number in a black ring; the names white with a dark edge.
    int darkInRing = 0, whiteNames = 0, darkNames = 0;
    for (int y = stripTop; y < 260; ++y) {
        for (int x = 1; x < 260; ++x) {
            const QColor c = cover.pixelColor(x, y);
            if (x < 20 && c.value() < 40) ++darkInRing;
            if (x > 60 && c == QColor(Qt::white)) ++whiteNames;
            if (x > 60 && c.value() < 40) ++darkNames;
        }
    }
    EXPECT_GT(darkInRing, 10);
    EXPECT_GT(whiteNames, 3);
    EXPECT_GT(darkNames, 20);
}

TEST_F(PagesTest, ForwardFromTheLastPageGoesRoundAndBackFromTheFirstToo)
{
    addAlbums(7);
    Tjukebox& w = open(QStringLiteral("jLastAlbum=7\n"));
    ASSERT_EQ(jukebox::currentalbum, 7);
    const int nextLeft = w.toprightpanel->x();

    uint16_t key = kVkLeft;
    w.pageForward(key);
    EXPECT_EQ(jukebox::currentalbum, 1);
    EXPECT_EQ(coverAlbums(w), (std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 0}));
    EXPECT_EQ(library::config.jlastalbum, 1);
    EXPECT_EQ(key, kVkLeft);
    // 550 pixels at 75 a frame: eight frames, the last landing on the page; then all back in place.
    EXPECT_EQ(w.pageSlide().frameTimes().size(), 8);
    EXPECT_FALSE(jukebox::moveinprogress);
    EXPECT_EQ(w.toprightpanel->x(), nextLeft);
    EXPECT_EQ(tagOf(w.navbuttimer), 0);
    EXPECT_TRUE(w.navbuttimer->isEnabled());

    w.pageBack(key);
    EXPECT_EQ(jukebox::currentalbum, 7);
    EXPECT_EQ(tagOf(w.navbuttimer), 1);
    // The back step had never been set by a button release: it takes its default of 150.
    EXPECT_EQ(w.pageSlide().frameTimes().size(), 4);
    EXPECT_EQ(w.toppanel->x(), 1);
    EXPECT_EQ(coverAlbums(w), (std::array<int, 8>{7, 0, 1, 2, 3, 4, 5, 6}));
}

// A page step never waits for a cover still being decoded: the page shows at once, the album's
// strip on black where the huge cover goes, and the cover takes its slot once made.
TEST_F(PagesTest, APageStepShowsAtOnceAndAHugeCoverFollows)
{
    for (const QString& name :
         {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")})
        writeAlbum(QStringLiteral("Artist ") + name, QStringLiteral("Album ") + name);
    program.write(QStringLiteral("music/Artist C__Album C/title.jpg"), noiseCover(6000));
    Tjukebox& w = open();
    const QPoint inside(w.cd1->width() / 2, w.cd1->height() / 3);

    uint16_t key = kVkLeft;
    w.pageForward(key);
    ASSERT_EQ(tagOf(w.cd1), 3);
    ASSERT_TRUE(w.coversPending());
    EXPECT_EQ(w.cd1->picture().pixelColor(inside), QColor(Qt::black));
    // The strip on black: 60 % grey, carrying the album's names meanwhile.
    const QPoint inStrip(w.cd1->width() - 5, w.cd1->height() - 2);
    EXPECT_EQ(w.cd1->picture().pixelColor(inStrip), QColor(77, 77, 77));
    coversMade(w);
    EXPECT_NE(w.cd1->picture().pixelColor(inside), QColor(Qt::black));
}

// The covers of the next page are made while the slide runs: each must land on its own slot, so
// an album shows the same picture after the step as in the slot it came from.
TEST_F(PagesTest, APageStepCarriesEachCoverToItsNewSlot)
{
    addAlbums(9);
    Tjukebox& w = open();
    const auto covers = [&w] {
        return std::array<QImage, 8>{w.cd1->picture(), w.cd2->picture(), w.cd3->picture(), w.cd4->picture(),
                                     w.cd5->picture(), w.cd6->picture(), w.cd7->picture(), w.cd8->picture()};
    };
    const auto before = covers();
    uint16_t key = kVkLeft;
    w.pageForward(key);
    ASSERT_EQ(coverAlbums(w), (std::array<int, 8>{3, 4, 5, 6, 7, 8, 1, 2}));
    coversMade(w);
    const auto after = covers();
    // Albums 3 to 6 moved from cd3..cd6 to cd1..cd4, albums 1 and 2 from cd1, cd2 to cd7, cd8.
    for (int slot : {0, 1, 2, 3})
        EXPECT_EQ(after[slot], before[slot + 2]) << "cd" << slot + 1;
    EXPECT_EQ(after[6], before[0]);
    EXPECT_EQ(after[7], before[1]);
}

// Releasing an arrow stops its repeat and resets the steps; no step starts while a slide runs.
TEST_F(PagesTest, ReleasingAnArrowStopsTheRepeatAndNoStepStartsDuringASlide)
{
    addAlbums(7);
    Tjukebox& w = open();
    uint16_t key = kVkLeft;
    w.pageForward(key);
    w.navbuttimer->setInterval(130);

    w.butllabelMouseUp(w.butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    EXPECT_FALSE(w.navbuttimer->isEnabled());
    EXPECT_EQ(w.navbuttimer->interval(), 100);
    EXPECT_EQ(jukebox::scrollamountlr, jukebox::DEFscrollamountlr);
    EXPECT_EQ(jukebox::scrollamountrl, jukebox::DEFscrollamountrl);
    EXPECT_EQ(w.butllabel->font().pointSize(), 20);

    jukebox::moveinprogress = true;
    w.pageForward(key);
    w.pageBack(key);
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_FALSE(w.navbuttimer->isEnabled());
}

TEST_F(PagesTest, UnderscoreAlbumsAreTheEndsOfTheLibrary)
{
    for (const char* artist : {"Abba", "Beck", "Cher", "Dido", "_Misc", "_Xmas"})
        writeAlbum(QString::fromLatin1(artist), QStringLiteral("Hits"));
    Tjukebox& w = open(QStringLiteral("WrapOnUnderscore=1\n"));
    ASSERT_EQ(form->albumlist->itemText(4), QStringLiteral("_Misc - Hits"));

    uint16_t key = kVkLeft;
    w.pageForward(key); // page 3: Cher and Dido
    EXPECT_EQ(key, kVkLeft);
    w.pageForward(key); // page 5: the "_" albums, so the key becomes A
    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(key, kVkA);
    w.letterJump(QChar(key));
    EXPECT_EQ(jukebox::currentalbum, 1);

    key = kVkLeft;
    w.pageBack(key); // from 1 round to page 5: the "_" albums again, so on to Z
    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(key, kVkZ);

    library::config.wraponunderscore = false;
    key = kVkLeft;
    w.pageBack(key);
    w.pageForward(key);
    EXPECT_EQ(key, kVkLeft);
}

TEST_F(PagesTest, LetterJumpFindsTheArtistWithoutTheAndSkipsTheLowerAlbum)
{
    for (const char* artist : {"Abba", "Beck", "Cher", "Dido", "The Bangles"})
        writeAlbum(QString::fromLatin1(artist), QStringLiteral("Hits"));
    Tjukebox& w = open();
    ASSERT_EQ(form->Dalbumlist->itemText(4), QStringLiteral("The Bangles - Hits"));

    // Beck is the lower album of page 1: B goes on to "The Bangles", album 5.
    EXPECT_EQ(w.findalbumalpha(1, QLatin1Char('B')), 5);
    EXPECT_EQ(w.findalbumalpha(1, QLatin1Char('C')), 3);
    EXPECT_EQ(w.findalbumalpha(3, QLatin1Char('A')), 1);
    EXPECT_EQ(w.findalbumalpha(1, QLatin1Char('Q')), -1);
    w.letterJump(QLatin1Char('B'));
    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(library::config.jlastalbum, 5);

    // Dido alone starts with D: from page 3 it is the lower album, so nothing is found.
    w.letterJump(QLatin1Char('C'));
    ASSERT_EQ(jukebox::currentalbum, 3);
    EXPECT_EQ(w.findalbumalpha(3, QLatin1Char('D')), -1);
    w.letterJump(QLatin1Char('D'));
    EXPECT_EQ(jukebox::currentalbum, 3);
    w.letterJump(QLatin1Char('B'));
    EXPECT_EQ(jukebox::currentalbum, 5);
    // Beck, album 2, stands below on page 1.
    w.letterJump(QLatin1Char('B'));
    EXPECT_EQ(jukebox::currentalbum, 1);
    w.letterJump(QLatin1Char('C'));
    w.letterJump(QLatin1Char('a'));
    EXPECT_EQ(jukebox::currentalbum, 1);
}

TEST_F(PagesTest, LettersGoToTheThumbnailsWhileTheyShowAndNowhereWhileSearching)
{
    for (char c = 'A'; c <= 'L'; ++c)
        writeAlbum(QString(QLatin1Char(c)) + QStringLiteral("rtist"), QStringLiteral("Hits"));
    Tjukebox& w = open();
    addThumbnails(w, 12, QSize(400, 200));

    w.thumbpanel->show();
    w.letterJump(QLatin1Char('J'));
    EXPECT_EQ(jukebox::currentalbum, 1);
    EXPECT_EQ(w.thumbs->topmost(), 8); // album 10 stands in the third row of four
    w.thumbpanel->hide();

    jukebox::searchpanel->show();
    w.letterJump(QLatin1Char('J'));
    EXPECT_EQ(jukebox::currentalbum, 1);
    jukebox::searchpanel->hide();
    w.letterJump(QLatin1Char('J'));
    EXPECT_EQ(jukebox::currentalbum, 9);
}

TEST_F(PagesTest, AThumbnailOfAnEvenAlbumOpensThePageAboveIt)
{
    addAlbums(8);
    Tjukebox& w = open();
    addThumbnails(w, 8, QSize(800, 600));
    w.show();
    w.thumbpanel->show();
    const auto& hits = w.thumbs->hits();
    const auto cell = std::find_if(hits.cbegin(), hits.cend(),
                                   [](const controls::tmatrix& m) { return m.item == 5 && m.x2 > m.x1; });
    ASSERT_NE(cell, hits.cend());
    jukebox::thumbmode = 1;

    w.thumbs->MouseDown((cell->x1 + cell->x2) / 2, (cell->y1 + cell->y2) / 2);
    w.thumbs->MouseUp((cell->x1 + cell->x2) / 2, (cell->y1 + cell->y2) / 2);

    EXPECT_EQ(jukebox::currentalbum, 5);
    EXPECT_EQ(tagOf(w.cd2), 6);
    EXPECT_EQ(jukebox::thumbmode, 0);
    EXPECT_FALSE(w.imViewMode->isHidden());
}

TEST_F(PagesTest, CoverClicksShowTheCoverPanelOrTheVideo)
{
    addAlbums(3);
    Tjukebox& w = open();
    ASSERT_TRUE(w.coverimagepanel->isHidden());

    w.drawalbum(3); // album 3 above, the filler below
    w.cdClick(w.cd2);
    EXPECT_TRUE(w.coverimagepanel->isHidden());
    w.cdClick(w.cd1);
    EXPECT_FALSE(w.coverimagepanel->isHidden());
    EXPECT_EQ(w.coverimagepanel->geometry(), w.midpanelpanel->geometry());
    EXPECT_TRUE(QTest::qWaitFor([&w] { return !w.coverimage->picture().isNull(); }));

    // A video plays: it shows on the cover panel instead.
    w.coverimagepanel->hide();
    w.coverimage->clearPicture();
    form->mediaPlayer()->setFileName(QStringLiteral("clip.mpg"));
    w.cdClick(w.cd1);
    EXPECT_EQ(form->mediaPlayer()->display(), w.coverimagepanel);
    EXPECT_EQ(form->mediaPlayer()->displayRect(), w.coverimagepanel->rect());
    EXPECT_FALSE(w.coverimagepanel->isHidden());
    EXPECT_TRUE(w.coverimage->picture().isNull());
}

TEST_F(PagesTest, WithoutAPrismTheViewButtonKeepsTheFlatPages)
{
    addAlbums(4);
    Tjukebox& w = open();
    w.imViewModeClick(w.imViewMode);
    EXPECT_FALSE(w.prismShown());
    EXPECT_EQ(tagOf(w.imViewMode), 0);
    w.drawalbum3D(1, 0); // nothing to fill
    EXPECT_EQ(tagOf(w.cd1), 1);
}

TEST_F(PagesTest, ThePrismGetsItsFacesAndTheFlatPagesComeBackOnAnOddAlbum)
{
    addAlbums(7);
    Tjukebox& w = open();
    FakePrism prism;
    w.ThreeDPanel = &prism;
    view3d::currentrotation = 95;

    w.imViewModeClick(w.imViewMode);
    ASSERT_TRUE(w.prismShown());
    EXPECT_FALSE(prism.view.isHidden());
    // Album 1 in front (face 3), 7 and 2 beside it, 3 behind (face 1).
    EXPECT_EQ(prism.fills, (std::vector<jukebox::PrismFill>{{2, 7}, {3, 1}, {0, 2}, {1, 3}}));
    EXPECT_EQ(prism.frames, 1);
    EXPECT_EQ(prism.artwork[3].size(), QSize(512, 512));
    ASSERT_EQ(prism.titles[3].size(), 2);
    EXPECT_EQ(prism.titles[3][1], (view3d::TitleRow{QStringLiteral("TWO"), 1, 2}));

    // The flat pages wait behind the prism.
    jukebox::currentalbum = 4;
    w.drawalbum(4);
    EXPECT_EQ(tagOf(w.cd1), 1);

    w.imViewModeClick(w.imViewMode);
    EXPECT_FALSE(w.prismShown());
    EXPECT_TRUE(prism.view.isHidden());
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_EQ(tagOf(w.cd1), 3);
    w.ThreeDPanel = nullptr;
}

TEST_F(PagesTest, OneAlbumOnThePrismNeverShowsTheEmptySlot)
{
    addAlbums(1);
    Tjukebox& w = open();
    FakePrism prism;
    w.ThreeDPanel = &prism;
    for (int mode : {0, 1, -1})
        w.drawalbum3D(1, mode);
    ASSERT_EQ(prism.fills.size(), 5u);
    for (const jukebox::PrismFill& fill : prism.fills)
        EXPECT_EQ(fill.album, 1);
    w.ThreeDPanel = nullptr;
}

TEST_F(PagesTest, ArrowButtonsDragOnThePrism)
{
    addAlbums(4);
    Tjukebox& w = open();
    FakePrism prism;
    prism.view.resize(400, 400);
    MouseRecorder recorder;
    prism.view.installEventFilter(&recorder);
    w.ThreeDPanel = &prism;
    w.imViewModeClick(w.imViewMode);

    w.butllabelMouseDown(w.butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    w.butllabelMouseUp(w.butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    w.butrlabelMouseDown(w.butrlabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    w.butrlabelMouseUp(w.butrlabel, Qt::LeftButton, Qt::NoModifier, 0, 0);

    EXPECT_EQ(recorder.seen,
              (QStringList{QStringLiteral("press 200,100"), QStringLiteral("move 0,100"),
                           QStringLiteral("release 0,100"), QStringLiteral("press 200,300"),
                           QStringLiteral("move 399,300"), QStringLiteral("release 399,300")}));
    w.ThreeDPanel = nullptr;
}

TEST_F(PagesTest, AddAllLabelsFollowTheSetting)
{
    addAlbums(2);
    Tjukebox& w = open(QStringLiteral("jukeboxaddall=0\n"));
    const std::array<QWidget*, 6> labels{w.lsb1playall, w.lsb2playall, w.lsb3playall,
                                         w.lsb4playall, w.lsb7playall, w.lsb8playall};
    for (QWidget* label : labels)
        EXPECT_TRUE(label->isHidden());
    FakePrism prism;
    w.ThreeDPanel = &prism;
    library::config.jukeboxaddall = true;
    w.setaddall();
    for (QWidget* label : labels)
        EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(prism.addall);
    w.ThreeDPanel = nullptr;
}

TEST_F(PagesTest, RemoteFocusPassesBetweenThePageLists)
{
    addAlbums(2);
    Tjukebox& w = open();
    w.lsb1Reachedend(w.lsb1);
    EXPECT_EQ(jukebox::tv_lsb, w.lsb2);
    EXPECT_EQ(jukebox::tv_currentlsb, 1);
    w.lsb2Reachedtop(w.lsb2);
    EXPECT_EQ(jukebox::tv_lsb, w.lsb1);
    EXPECT_EQ(jukebox::tv_currentlsb, 0);
    EXPECT_EQ(w.lsb1->cursor(), w.lsb1->items().count() - 1);
}

TEST_F(PagesTest, EditListHoldsEveryAlbumWithItsThumbnailOnceLoaded)
{
    addAlbums(3);
    Tjukebox& w = open();
    coverLoadEnded(w);
    w.VisualsPanelPanel->hide();
    QImage thumb(20, 20, QImage::Format_RGB32);
    thumb.fill(Qt::green);
    w.thumbs->replace(w.thumbs->lookupalbum(2), thumb, 2);

    // The green thumbnail shows at the end of album 2's row only while the thumbnails show (the
    // list, never laid out, draws one row: each is brought to the top in turn, as far as it goes).
    const auto greenRows = [&w] {
        QVector<int> rows;
        for (int top = 0; top < w.editlb->items().count(); ++top) {
            w.editlb->settopmost(top);
            w.editlb->Paint();
            if (w.editlb->topmost() != top) break;
            const controls::tmatrix& row = w.editlb->hits().at(top);
            const QPoint end(w.editlb->face().width() - 4, row.y1 + 2);
            if (w.editlb->face().pixelColor(end) == QColor(Qt::green)) rows.append(row.item);
        }
        return rows;
    };
    w.reloadeditlist();
    ASSERT_EQ(w.editlb->items().count(), 3);
    EXPECT_EQ(w.editlb->items()[2], QStringLiteral("Artist 03 - Album 03"));
    EXPECT_TRUE(greenRows().isEmpty());

    w.VisualsPanelPanel->show();
    w.reloadeditlist();
    EXPECT_EQ(greenRows(), QVector<int>{1});
}

TEST_F(PagesTest, TheLetterBarTypesItsLetterWithShift)
{
    addAlbums(2);
    Tjukebox& w = open();
    QStringList keys;
    struct KeyRecorder : QObject
    {
        explicit KeyRecorder(QStringList& out) : out_(out) {}
        bool eventFilter(QObject* /*watched*/, QEvent* event) override
        {
            if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
                const auto* key = static_cast<QKeyEvent*>(event);
                out_ << QStringLiteral("%1 %2 %3")
                            .arg(event->type() == QEvent::KeyPress ? QStringLiteral("down")
                                                                   : QStringLiteral("up"))
                            .arg(key->nativeVirtualKey(), 2, 16, QLatin1Char('0'))
                            .arg(key->modifiers().testFlag(Qt::ShiftModifier) ? QStringLiteral("shift")
                                                                              : QString());
            }
            return false;
        }
        QStringList& out_;
    } recorder(keys);
    w.installEventFilter(&recorder);

    w.alphapanelvkey(w.alphapanel, 0x4B);
    w.alphapanelvkey(w.alphapanel, 0x14B);
    QCoreApplication::processEvents();

    EXPECT_EQ(keys, (QStringList{QStringLiteral("down 10 shift"), QStringLiteral("down 4b shift"),
                                 QStringLiteral("up 4b shift"), QStringLiteral("up 10 ")}));
    w.removeEventFilter(&recorder);
}

TEST_F(PagesTest, SlideLandsOnItsGoalAndSurvivesAStepOfNothing)
{
    QWidget area;
    area.resize(600, 100);
    auto* a = new QWidget(&area);
    auto* b = new QWidget(&area);
    a->setGeometry(500, 0, 50, 50);
    b->setGeometry(500, 50, 50, 50);
    jukebox::PageSlide slide(nullptr);
    slide.setFrameInterval(0);
    int frames = 0;

    slide.run({a, b}, 10, 200, [&] { ++frames; });
    EXPECT_EQ(a->x(), 10);
    EXPECT_EQ(b->x(), 10);
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(slide.frameTimes().size(), 3);

    slide.run({a, b}, 300, 0);
    EXPECT_EQ(a->x(), 300);
    EXPECT_EQ(slide.frameTimes().size(), 1);
    slide.run({a, b}, 300, 40);
    EXPECT_TRUE(slide.frameTimes().isEmpty());
}

} // namespace

// The jukebox window's control tree and its layout on screens of several sizes.

#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/selecterlistbox.h"
#include "controls/talphabetbar.h"
#include "controls/textscroller.h"
#include "controls/transparentpanel.h"
#include "jukebox/frameshape.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/searchtrack.h"
#include "jukebox/textlabel.h"
#include "library/writefailures.h"
#include "jukeboxfixture.h"
#include "printers.h"
#include "skins/resourceskins.h"

using jukebox::PictureBox;
using jukebox::Tjukebox;

namespace {

// Texts the window shows once it is laid out, whatever the settings: those the guests read, and
// some of each kind of control on each operator panel.
const struct
{
    const char* control;
    const char* caption;
} kCaptions[] = {
    {"lcdlabel1", "Album:"},
    {"lcdlabel2", "Track:"},
    {"CreditLabel", "Credits:"},
    {"rejectlabel", "Reject"},
    {"mutelabel", "Mute"},
    {"volumelabel", "Volume Control"},
    {"volumeuplabel", "+"},
    {"volumedownlabel", "-"},
    {"lsb1playall", "Add All"},
    {"codefirst", "0000"},
    {"unlocklabel", "(Un)lock Passcode: "},
    {"setcode", "Set"},
    {"addallshow", "Show Add All"},
    {"advancedOK", "Done"},
    {"GoCommercialManager", "Commerce Management"},
    {"randompanelselectall", "Select all albums"},
    {"randompanelOK", "Make Playlist from albums"},
    {"CmTitleLab", "Commerce Settings"},
    {"CmAllowFreeCredit", "Allow Free Credit"},
    {"loadcovercaption", "Loading Album Covers"},
    {"autoplaycb", "Auto-play on"},
    {"goplaylistview", "Playlist View"},
    {"randombut", "Random Playlist"},
    {"rejectall", "Reject All"},
    {"ripbut", "Extract CD"},
    {"advancedbut", "Advanced Options"},
    {"Shutdownbut", "Exit"},
    {"numlabel1", "7"},
    {"numlabel10", "0"},
    {"numlabel11", "Clear"},
    {"numlabel12", "Enter"},
    {"numlabel13", "Cancel Last Entry"},
};

QString captionOf(const QObject* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (const auto* button = qobject_cast<const controls::TBitmapActionButton*>(control))
        return button->caption();
    if (const auto* box = qobject_cast<const controls::TBitmapCheckbox*>(control)) return box->caption();
    return QStringLiteral("<no caption>");
}

QWidget* widget(const Tjukebox& window, const char* name)
{
    return window.findChild<QWidget*>(QString::fromLatin1(name));
}

struct Screen
{
    QSize size;
    QRect keypad; // in the right column
    QRect wideKey;
    QRect corner; // the top-left one
};

class LayoutSmoke : public JukeboxTest, public ::testing::WithParamInterface<Screen>
{
};

TEST_P(LayoutSmoke, EveryControlInItsPlaceWithItsCaption)
{
    addAlbums(3);
    writeSettings();
    Tjukebox& window = startOnScreen(GetParam().size);

    for (const char* name : {"panel", "panel_kiosk", "thumbpanel", "randompanel", "advanced", "Commerce",
                             "loadcovercaption", "fav", "GoCommercialManager", "VisualsPanelPanel",
                             "coverimagepanel", "searchpanel", "playlistpanel", "CreditInfoPanel"})
        EXPECT_TRUE(widget(window, name)->isHidden()) << name;
    for (const char* name : {"keypadpanel", "butpanel", "lcdpanel", "kioskpanelpanel", "panel_searchbut",
                             "openpanelpanel", "CenterPanel", "alphapanel", "imViewMode", "lsb1playall"})
        EXPECT_FALSE(widget(window, name)->isHidden()) << name;

    for (const auto& entry : kCaptions)
        EXPECT_EQ(captionOf(widget(window, entry.control)), QString::fromLatin1(entry.caption))
            << entry.control;

    EXPECT_EQ(window.keypadpanel->geometry(), GetParam().keypad);
    EXPECT_EQ(window.num13->geometry(), GetParam().wideKey);
    for (int n = 1; n <= 13; ++n) {
        const QWidget* key = widget(window, QStringLiteral("num%1").arg(n).toLatin1().constData());
        const QWidget* label = widget(window, QStringLiteral("numlabel%1").arg(n).toLatin1().constData());
        EXPECT_EQ(label->geometry(), key->geometry()) << "key " << n;
        EXPECT_FALSE(static_cast<const PictureBox*>(key)->picture().isNull()) << "key " << n;
        // The caption stands inside the key's border.
        const QFontMetrics metrics(label->font());
        EXPECT_LT(metrics.horizontalAdvance(static_cast<const QLabel*>(label)->text()), key->width() * 0.9)
            << "key " << n;
        EXPECT_LT(metrics.height(), key->height() * 0.9) << "key " << n;
    }
    // The credits caption stands whole, the count beside it.
    EXPECT_LE(QFontMetrics(window.CreditLabel->font()).horizontalAdvance(window.CreditLabel->text()),
              window.CreditLabel->width());
    EXPECT_EQ(window.CreditStat->x(), window.CreditLabel->geometry().right() + 1);
    EXPECT_EQ(window.CreditStat->geometry().right() + 1, window.CreditInfoPanel->width());
    EXPECT_EQ(window.butl->width(), window.butl->height()); // round, as the design draws it
    EXPECT_EQ(window.VisualsPanelPanel->geometry(), GetParam().corner);
    // The columns meet without a gap and cover the screen.
    EXPECT_EQ(window.leftpanel->geometry().right() + 1, window.midpanelpanel->x());
    EXPECT_EQ(window.midpanelpanel->geometry().right() + 1, window.rightpanel->x());
    EXPECT_EQ(window.rightpanel->geometry().right() + 1, GetParam().size.width());
}

// The control panel shown for good, the letter bar on the left, the random panel opened from the
// kiosk panel: each leaves what it does not own in view.
TEST_P(LayoutSmoke, PanelsLeaveWhatTheyDoNotOwnInView)
{
    addAlbums(3);
    writeSettings(QStringLiteral("jukeboxcontrolpanel=0\n[Commercial]\ncreditsystem=1\n"
                                 "[Skins]\nalphaorientation=0\n"));
    Tjukebox& window = startOnScreen(GetParam().size);
    window.kioskpanelClick(window.kioskpanel);
    window.randombutClick(window.randombut);
    const auto onWindow = [&](const QWidget* w) { return QRect(w->mapTo(&window, QPoint(0, 0)), w->size()); };
    ASSERT_FALSE(window.panel->isHidden());
    ASSERT_FALSE(window.randompanel->isHidden());
    for (const QWidget* covered : std::initializer_list<const QWidget*>{
             window.CreditInfoPanel, window.imViewMode, window.lsb1playall, window.lsb1, window.butpanel})
        EXPECT_FALSE(onWindow(window.panel).intersects(onWindow(covered)))
            << covered->objectName().toStdString();
    const QObjectList& stack = window.children(); // from the bottom up: the corners above the panel
    for (const QObject* above : {window.VisualsPanelPanel, window.panel_searchbut, window.panel_kiosk})
        EXPECT_GT(stack.indexOf(above), stack.indexOf(window.randompanel));
    EXPECT_EQ(window.childAt(onWindow(window.midpanelpanel).right(), window.height() / 4),
              window.randompanel);
    EXPECT_TRUE(jukebox::TrackHintPanel->isHidden()); // its strip would cross the album list
    // The album numbers stand at the pages' left edge, right of the bar.
    EXPECT_LT(onWindow(window.alphapanel).right(), onWindow(window.toppanel).left());
}

// The thumbnails opened while the control panel shows leave its keys in reach.
TEST_P(LayoutSmoke, ThumbnailsLeaveTheControlPanelsKeysInReach)
{
    addAlbums(3);
    writeSettings(QStringLiteral("jukeboxcontrolpanel=0\n"));
    Tjukebox& window = startOnScreen(GetParam().size);
    ASSERT_FALSE(window.panel->isHidden());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.VisualsPanelPanel->isHidden(); })); // covers loaded
    window.VisualsPanelClick(window.VisualsPanel);
    ASSERT_FALSE(window.thumbpanel->isHidden());
    ASSERT_TRUE(window.thumbpanel->geometry().intersects(window.panel->geometry()));
    for (const QWidget* key : std::initializer_list<const QWidget*>{
             window.rejectshape2, window.muteshape2, window.volumeupshape2, window.volumedownshape2}) {
        const QPoint centre = key->mapTo(&window, key->rect().center());
        EXPECT_TRUE(window.panel->isAncestorOf(window.childAt(centre))) << key->objectName().toStdString();
    }
}

// A touched cover fills the album area as far as it can in its own proportions, centred on black.
TEST_P(LayoutSmoke, ATouchedCoverKeepsItsProportions)
{
    addAlbums(1);
    QImage cover(600, 600, QImage::Format_RGB32);
    cover.fill(Qt::white);
    ASSERT_TRUE(cover.save(program.file(QStringLiteral("music/Artist 01__Album 01/title.jpg"))));
    writeSettings();
    Tjukebox& window = startOnScreen(GetParam().size);
    window.cdClick(window.cd1);
    ASSERT_FALSE(window.coverimagepanel->isHidden());
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.coverimage->picture().isNull(); }));
    const QImage shown = window.coverimage->grab().toImage();
    QRect lit;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) > 128) lit |= QRect(x, y, 1, 1);
    const int side = std::min(shown.width(), shown.height());
    EXPECT_EQ(lit.size(), QSize(side, side));
    EXPECT_LE(std::abs(lit.center().x() - shown.rect().center().x()), 1);
    EXPECT_LE(std::abs(lit.center().y() - shown.rect().center().y()), 1);
}

// Writes that failed stand in the commerce panel's statistics under the coin line, each wrapped
// whole into the column, with the reset key and the chart below them.
TEST_P(LayoutSmoke, StandingWriteFailuresStandWholeUnderTheCoinLine)
{
    addAlbums(1);
    writeSettings();
    Tjukebox& window = startOnScreen(GetParam().size);
    const QString settings = program.file(QStringLiteral("Musetra.ini"));
    const QString plays = program.file(QStringLiteral("plays.log"));
    library::reportWriteFailure(settings, QStringLiteral("Settings not saved to %1").arg(settings));
    library::reportWriteFailure(plays, QStringLiteral("Plays not logged to %1").arg(plays));
    window.GoCommercialManagerClick(window.GoCommercialManager);

    const QLabel* failures = window.CmCreditLab;
    ASSERT_FALSE(failures->isHidden());
    EXPECT_GT(failures->y(), window.CmCredit->geometry().bottom());
    EXPECT_GE(failures->height(), failures->heightForWidth(failures->width()));
    const QFontMetrics metrics(failures->font());
    for (const QString& word : failures->text().split(QRegularExpression(QStringLiteral("\\s"))))
        EXPECT_LE(metrics.horizontalAdvance(word), failures->width()) << word.toStdString();
    EXPECT_GT(window.CmResetCreditStats->y(), failures->geometry().bottom());
    EXPECT_GT(window.Cmtop100Lab->y(), window.CmResetCreditStats->geometry().bottom());
    EXPECT_GT(window.CmTop100->height(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LayoutSmoke,
    ::testing::Values(Screen{{800, 600}, {16, 360, 134, 200}, {2, 178, 130, 21}, {0, 0, 32, 32}},
                      Screen{{1024, 768}, {19, 461, 174, 259}, {3, 231, 168, 27}, {0, 0, 41, 41}},
                      Screen{{1920, 1080}, {38, 648, 323, 364}, {5, 324, 313, 38}, {0, 0, 77, 58}}));

struct PageScreen
{
    QSize size;
    QRect cover; // cd1 on its page
    QRect page;  // the upper page
    int lowerTop;
    int nextLeft; // the next page, waiting to the right
    int hintHeight;
    int thumbsTop;    // in the thumbnail panel
    int thumbsMargin; // what the thumbnails leave of the panel's height
};

class PageLayout : public JukeboxTest, public ::testing::WithParamInterface<PageScreen>
{
};

TEST_P(PageLayout, PagesCoversAndListsFollowTheDesign)
{
    addAlbums(3);
    writeSettings();
    Tjukebox& window = startOnScreen(GetParam().size);
    const PageScreen& screen = GetParam();

    // Covers keep their shape (a round cover stays round); the titles take the rest of the page.
    EXPECT_EQ(window.cd1->geometry(), screen.cover);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.coversPending(); }, 30000));
    EXPECT_EQ(window.cd1->picture().size(), window.cd1->size());
    EXPECT_EQ(
        window.lb1->geometry(),
        QRect(screen.cover.width(), 0, screen.page.width() - screen.cover.width(), screen.cover.height()));
    EXPECT_EQ(window.toppanel->geometry(), screen.page);
    EXPECT_EQ(window.botpanel->geometry(), screen.page.translated(0, screen.lowerTop - screen.page.y()));
    EXPECT_EQ(window.topoverpanel->geometry(), window.toppanel->geometry());
    // The pages under the next page stand where it stands.
    EXPECT_EQ(window.toprightpanel->x(), screen.nextLeft);
    EXPECT_EQ(window.botrightunderpanel->x(), window.toprightpanel->x());
    // A list fills its title area less its margins, at double line spacing.
    const int margin = window.lsb1->x() - window.lb1->x();
    EXPECT_GT(margin, 0);
    EXPECT_EQ(window.lsb1->geometry(), window.lb1->geometry().adjusted(margin, 0, -margin, 0));
    EXPECT_EQ(window.lsb1->linespacing(), 2.0f);
    EXPECT_EQ(window.lsb8->linespacing(), 2.0f);
    // "Add All" in the gap beside its page, level with its list.
    EXPECT_GT(window.lsb2playall->x(), window.botpanel->geometry().right());
    EXPECT_LT(window.lsb2playall->geometry().right(), window.botrightpanel->x());
    EXPECT_EQ(window.lsb2playall->y(), window.botpanel->y());
    // A touch on a page's "Add All" reaches that label, not the over page's lying on it.
    for (jukebox::TextLabel* label : {window.lsb1playall, window.lsb2playall})
        EXPECT_EQ(window.childAt(label->mapTo(&window, label->rect().center())), label);
    // The hint line sits under the upper page, across the album area.
    EXPECT_EQ(jukebox::TrackHintPanel->geometry(),
              QRect(window.midpanelpanel->x(), window.topoverpanel->geometry().bottom() + 1,
                    window.midpanelpanel->width(), screen.hintHeight));
    // The search and queue panels span the album area above the letter bar at the bottom.
    for (const QWidget* panel :
         std::initializer_list<const QWidget*>{jukebox::searchpanel, jukebox::playlistpanel}) {
        EXPECT_EQ(panel->pos(), QPoint(0, 0));
        EXPECT_EQ(panel->width(), window.midpanelpanel->width());
        EXPECT_EQ(panel->geometry().bottom() + 1, window.alphapanel->y());
    }
    // The thumbnails cover the album area.
    window.sizethumbpanel();
    const int height = screen.size.height();
    EXPECT_EQ(window.thumbpanel->geometry(),
              QRect(window.leftpanel->width(), 0, window.midpanelpanel->width(), height));
    EXPECT_EQ(window.thumbs->geometry(),
              QRect(0, screen.thumbsTop, window.midpanelpanel->width(), height - screen.thumbsMargin));
    // The view switch keeps its size on every screen.
    EXPECT_EQ(window.imViewMode->size(), QSize(60, 50));
    EXPECT_FALSE(window.imViewMode->picture().isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PageLayout,
    ::testing::Values(
        PageScreen{{1024, 768}, {0, 0, 333, 333}, {1, 29, 666, 333}, 381, 1 + 666 + 38, 15, 3, 31},
        PageScreen{{1920, 1080}, {0, 0, 468, 468}, {2, 41, 1248, 468}, 536, 2 + 1248 + 72, 22, 4, 43}));

// The window rectangle of `w`.
QRect onWindow(const Tjukebox& window, const QWidget* w)
{
    return QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
}

// The shorter side of the smallest keypad key: what every other touch key measures at least.
int smallestKeySide(const Tjukebox& window)
{
    int side = INT_MAX;
    for (const QWidget* key : {window.num1, window.num10, window.num11, window.num12, window.num13})
        side = std::min({side, key->width(), key->height()});
    return side;
}

class BinKey : public JukeboxTest, public ::testing::WithParamInterface<int>
{
};

// Wherever the letter bar stands, the queue panel's bin key stands whole inside the album frame: a
// touch anywhere on it reaches the key, not the frame drawn across it.
TEST_P(BinKey, StandsWholeInsideTheFrameWhereverTheLetterBarStands)
{
    addAlbums(3);
    writeSettings(QStringLiteral("[Skins]\nalphaorientation=%1\n").arg(GetParam()));
    Tjukebox& window = startOnScreen(QSize(800, 600));
    window.goplaylistviewClick(window.goplaylistview);
    const QWidget* purge = jukebox::playlistpanel->purge;
    const QRect key = onWindow(window, purge);
    int covered = 0; // rows of the key's middle column where a touch reaches something else
    for (int y = key.top(); y <= key.bottom(); ++y)
        covered += window.childAt(key.center().x(), y) != purge;
    EXPECT_EQ(covered, 0);
    EXPECT_TRUE(window.rect().contains(key));
}

INSTANTIATE_TEST_SUITE_P(LetterBarPlaces, BinKey, ::testing::Values(0, 1, 2));

// "Done" on the advanced options returns to the keypad: the operator's menu opened to reach them
// is closed, so a guest's touches on the lower keys reach those keys.
TEST_F(JukeboxTest, AdvancedOptionsDoneLeavesTheKeypadToTheGuests)
{
    addAlbums(3);
    writeSettings();
    Tjukebox& window = startOnScreen(QSize(800, 600));
    window.kioskpanelClick(window.kioskpanel);
    ASSERT_FALSE(window.panel_kiosk->isHidden());
    window.advancedbutClick(window.advancedbut);
    window.advancedOKClick(window.advancedOK);
    for (const jukebox::TextLabel* key :
         {window.numlabel10, window.numlabel11, window.numlabel12, window.numlabel13})
        EXPECT_EQ(window.childAt(onWindow(window, key).center()), key) << key->text().toStdString();
}

// The rows of the middle column of `key`'s face that stand out from its corner (a channel more than
// 32 apart): the key as drawn on its panel, without the border its picture leaves round it.
int drawnHeight(QWidget* key)
{
    const QImage face = key->grab().toImage();
    const QRgb panel = face.pixel(0, 0);
    const auto apart = [](int a, int b) { return std::abs(a - b) > 32; };
    int rows = 0;
    for (int y = 0; y < face.height(); ++y) {
        const QRgb p = face.pixel(face.width() / 2, y);
        rows +=
            apart(qRed(p), qRed(panel)) || apart(qGreen(p), qGreen(panel)) || apart(qBlue(p), qBlue(panel));
    }
    return rows;
}

// The first "More" key of the kind `code` in `hits`, or none.
const controls::tmatrix* moreKey(const QVector<controls::tmatrix>& hits, int code)
{
    const auto key =
        std::find_if(hits.cbegin(), hits.cend(), [&](const controls::tmatrix& m) { return m.item == code; });
    return key == hits.cend() ? nullptr : &*key;
}

class TouchKeys : public JukeboxTest, public ::testing::WithParamInterface<QSize>
{
};

// The letter bar's keys at the left, the thumbnails' and the random panel's "More" keys are no
// smaller than the keypad's smallest key. A letter key is what its shape lets a touch reach; the 26
// share the column between the two left corner keys, too short for 26 cells of that key's full
// height, so a letter key measures at least that key as drawn, without its picture's border.
TEST_P(TouchKeys, AreAsLargeAsTheSmallestKeypadKey)
{
    addAlbums(40);
    writeSettings(QStringLiteral("[Skins]\nalphaorientation=0\n"));
    Tjukebox& window = startOnScreen(GetParam());
    const int side = smallestKeySide(window);
    const int drawn = drawnHeight(window.num13);
    ASSERT_GT(drawn, side / 2);
    const QRegion shape = window.alphapanel->mask();
    for (const controls::tbuttonmatrix& cell : window.alphapanel->btnmatrix()) {
        const QRect key = shape.intersected(cell.tr).boundingRect();
        EXPECT_GE(key.width(), side) << "letter at " << cell.tr.y();
        EXPECT_GE(key.height(), drawn) << "letter at " << cell.tr.y();
    }

    window.kioskpanelClick(window.kioskpanel);
    window.randombutClick(window.randombut);
    const controls::tmatrix* listMore = moreKey(window.randompanellb->hits(), controls::kBottomBox);
    ASSERT_NE(listMore, nullptr);
    EXPECT_GE(listMore->x2 - listMore->x1, side);
    EXPECT_GE(listMore->y2 - listMore->y1, side);
    window.randompanelcancelClick(window.randompanelcancel);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.VisualsPanelPanel->isHidden(); })); // covers loaded
    window.show(); // a hidden scroller draws nothing
    window.VisualsPanelClick(window.VisualsPanel);
    const controls::tmatrix* more = moreKey(window.thumbs->hits(), -1); // the lower "More" key
    ASSERT_NE(more, nullptr);
    EXPECT_GE(more->x2 - more->x1, side);
    EXPECT_GE(more->y2 - more->y1, side);
    EXPECT_LE(more->y2, window.thumbs->height()); // whole on the screen
}

INSTANTIATE_TEST_SUITE_P(Screens, TouchKeys,
                         ::testing::Values(QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)));

TEST_F(JukeboxTest, BackgroundAndFrameComeFromTheTheme)
{
    addAlbums(1);
    writeSettings();
    Tjukebox& window = startOnScreen(QSize(1024, 768));

    ASSERT_EQ(jukebox::jbbg.size(), QSize(1024, 768));
    EXPECT_EQ(jukebox::jbbg.format(), QImage::Format_RGB32);
    // The theme's picture smoothly stretched over the screen, the same pixels as from a 24-bit decode.
    const QImage picture = skins::uncachedSkinPictureOrNull(QStringLiteral("BACKGROUND"),
                                                            library::config.theme.sbackground, true);
    EXPECT_EQ(jukebox::jbbg, picture.convertToFormat(QImage::Format_RGB888)
                                 .scaled(QSize(1024, 768), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32));
    // The columns show the piece of the background that lies under them.
    const QRect right = window.rightpanel->geometry();
    EXPECT_EQ(window.rightpanelpic->picture(), jukebox::jbbg.copy(right));
    EXPECT_EQ(window.midpanel->picture(), jukebox::jbbg.copy(window.midpanelpanel->geometry()));
    const QRect arrows(window.butpanel->mapTo(&window, QPoint(0, 0)), window.butpanel->size());
    EXPECT_EQ(window.butpanelpic->picture(), jukebox::jbbg.copy(arrows));

    // The frame round the album area: its white inside is cut away, its rim stays.
    EXPECT_EQ(window.CenterPanel->geometry(), QRect(14, 14, 815, 736));
    const QRegion shape = window.CenterPanel->mask();
    EXPECT_FALSE(shape.contains(QPoint(400, 360)));
    EXPECT_TRUE(shape.contains(QPoint(400, 5)));
    // The rim shows every pixel of the mask's own, stretched pixel by pixel.
    const QImage mask =
        skins::LoadSkinResource(QStringLiteral("CENTERMASK"), QString(), library::clNone, false);
    const QImage rim = mask.scaled(window.CenterPanel->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                           .convertToFormat(QImage::Format_RGB32);
    const QImage shown = window.CenterPanel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int wrong = 0;
    for (const QRect& run : shape)
        for (int y = run.top(); y <= run.bottom(); ++y)
            for (int x = run.left(); x <= run.right(); ++x)
                wrong += shown.pixel(x, y) != rim.pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(JukeboxTest, DisplayOnlyHidesEverythingThatTakesAChoice)
{
    addAlbums(1);
    writeSettings(QStringLiteral("jukeboxcontrolpanel=0\n"));
    arguments = QStringList{QStringLiteral("musetra"), QStringLiteral("kiosk"), QStringLiteral("/s")};
    Tjukebox& window = start();
    fillScreen(window);

    for (const char* name :
         {"keypadpanel", "butpanel", "panel", "rejectshape2", "volumeupshape2", "openpanelpanel"})
        EXPECT_TRUE(widget(window, name)->isHidden()) << name;
    EXPECT_FALSE(window.lcdpanel->isHidden());
    EXPECT_FALSE(window.midpanelpanel->isHidden());
}

TEST_F(JukeboxTest, ThemeChangeLaysTheScreenOutAgain)
{
    addAlbums(1);
    writeSettings();
    Tjukebox& window = startOnScreen(QSize(1024, 768));
    const QImage plainArrow = window.butl->picture();
    const QImage plainBackground = jukebox::jbbg;
    ASSERT_EQ(window.alphapanel->width(), window.midpanelpanel->geometry().right() + 1 - 41);

    // What the theme manager does: new pictures for the elements, a new orientation, a new layout.
    library::config.theme.alphaorientation = 0;
    (void)skins::ReplaceSkinResource(QStringLiteral("LBUTUP"), QString(), 0x0000FF, false);
    (void)skins::ReplaceSkinResource(QStringLiteral("BACKGROUND"), QString(), 0xFF0000, true);
    window.setscreen();

    EXPECT_NE(window.butl->picture(), plainArrow);
    EXPECT_NE(jukebox::jbbg, plainBackground);
    EXPECT_EQ(window.leftpanelpic->picture(), jukebox::jbbg.copy(window.leftpanel->geometry()));
    // As wide as the keypad's wide key is tall: the left column is narrower.
    EXPECT_EQ(window.alphapanel->geometry(), QRect(0, 41, window.num13->height(), 768 - 82));
}

struct LetterBar
{
    int orientation;
    QRect bounds; // at 1024 x 768; empty: hidden
};

class LetterBarTest : public JukeboxTest, public ::testing::WithParamInterface<LetterBar>
{
};

TEST_P(LetterBarTest, StandsWhereTheThemeSays)
{
    writeSettings(QStringLiteral("[Skins]\nalphaorientation=%1\n").arg(GetParam().orientation));
    Tjukebox& window = startOnScreen(QSize(1024, 768));

    if (GetParam().bounds.isEmpty()) {
        EXPECT_TRUE(window.alphapanel->isHidden());
    } else {
        EXPECT_FALSE(window.alphapanel->isHidden());
        EXPECT_EQ(window.alphapanel->geometry(), GetParam().bounds);
        // Wherever it stands, the pages and their "Add All" lie free of it.
        for (const QWidget* page : std::initializer_list<const QWidget*>{
                 window.toppanel, window.botpanel, window.lsb1playall, window.lsb2playall})
            EXPECT_FALSE(
                window.alphapanel->geometry().intersects(QRect(page->mapTo(&window, QPoint()), page->size())))
                << page->objectName().toStdString();
    }
}

// The album area ends at 819; the corners are 41 square, the keypad's wide key 27 tall (wider than
// the left column's 24).
INSTANTIATE_TEST_SUITE_P(Orientations, LetterBarTest,
                         ::testing::Values(LetterBar{0, {0, 41, 27, 686}}, LetterBar{1, {41, 0, 778, 41}},
                                           LetterBar{2, {41, 727, 778, 41}}, LetterBar{3, {}},
                                           LetterBar{7, {0, 41, 27, 686}}, LetterBar{-1, {0, 41, 27, 686}}));

TEST_F(JukeboxTest, SettingsDecideWhatTheRightColumnShows)
{
    addAlbums(3);
    writeSettings(QStringLiteral("Disable3D=1\nPowerOff=1\nlock=1\n[Commercial]\ncreditsystem=1\n"));
    arguments =
        QStringList{QStringLiteral("musetra"), QStringLiteral("KIOSK"), QString(), QStringLiteral("/l")};
    Tjukebox& window = startOnScreen(QSize(1024, 768));

    EXPECT_FALSE(window.CreditInfoPanel->isHidden());
    EXPECT_TRUE(window.imViewMode->isHidden());
    EXPECT_TRUE(window.kioskpanelpanel->isHidden());
    EXPECT_EQ(window.Shutdownbut->caption(), QStringLiteral("Turn Off"));
    EXPECT_TRUE(window.lightstimer->isEnabled());
    // The message line greets with the album count; the number displays start blank.
    EXPECT_EQ(window.lcd3->text(), QStringLiteral("WELCOME - 3 ALBUMS AVAILABLE"));
    EXPECT_EQ(window.lcdtext1->text(), QStringLiteral("    "));
    EXPECT_EQ(window.lcdtext2->text(), QStringLiteral("   "));
    EXPECT_EQ(jukebox::lcddelay, jukebox::NORMALLCDDELAY);
}

struct Piece
{
    QRect from;
    QRgb topLeft;
    QRgb bottomRight;
};

class PieceTest : public ::testing::TestWithParam<Piece>
{
};

TEST_P(PieceTest, CopiesTheRectangleAndLeavesTheRestBlack)
{
    QImage source(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.setPixel(x, y, qRgb(x * 60, y * 60, 7));
    QImage dest(GetParam().from.size(), QImage::Format_ARGB32);
    dest.fill(Qt::white);

    jukebox::bitmapoverbitmap(source, dest, 0x123456, GetParam().from.x(), GetParam().from.y());

    EXPECT_EQ(dest.format(), QImage::Format_RGB888);
    EXPECT_EQ(dest.size(), GetParam().from.size());
    EXPECT_EQ(dest.pixel(0, 0), GetParam().topLeft);
    EXPECT_EQ(dest.pixel(dest.width() - 1, dest.height() - 1), GetParam().bottomRight);
}

INSTANTIATE_TEST_SUITE_P(Rectangles, PieceTest,
                         ::testing::Values(Piece{{1, 1, 2, 2}, qRgb(60, 60, 7), qRgb(120, 120, 7)},
                                           // Beyond the source's edge there is nothing to copy.
                                           Piece{{3, 3, 3, 3}, qRgb(180, 180, 7), qRgb(0, 0, 0)},
                                           Piece{{-1, 0, 2, 1}, qRgb(0, 0, 0), qRgb(0, 0, 7)}));

} // namespace

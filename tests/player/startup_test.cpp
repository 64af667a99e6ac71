// Start-up, reload and shutdown of the player window, run against a generated library in a temporary
// program folder, with the fake media player and a front end that records what the jukebox is asked.

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "answeringdialogs.h"
#include "fakemediaplayer.h"
#include "player/backdrops.h"
#include "jukebox/coverform.h"
#include "library/filter.h"
#include "library/global.h"
#include "platform/cursors.h"
#include "platform/fatal.h"
#include "platform/fonts.h"
#include "platform/programfolder.h"
#include "platform/screens.h"
#include "player/aboutform.h"
#include "app/application.h"
#include "player/frontend.h"
#include "player/mainform.h"
#include "player/randomfromalbums.h"
#include "player/video.h"
#include "player/volumedisplay.h"
#include "playerground.h"
#include "printers.h"
#include "ripper/musripmain.h"
#include "skins/loadjpegorbmp.h"
#include "tempfolder.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Records every call the player makes into the jukebox, in order.
class RecordingFrontEnd : public player::FrontEnd
{
public:
    void gojukebox(bool show) override
    {
        calls << (show ? QStringLiteral("gojukebox(true)") : QStringLiteral("gojukebox(false)"));
    }
    void domessage(const QString& text) override { calls << QStringLiteral("domessage(%1)").arg(text); }
    void closeJukebox() override { calls << QStringLiteral("closeJukebox"); }
    void initautoplay() override { calls << QStringLiteral("initautoplay"); }
    void startautoplay() override { calls << QStringLiteral("startautoplay"); }
    void addthumbnail(const QString& albumFolder, int index) override
    {
        calls << QStringLiteral("addthumbnail(%1,%2)").arg(QFileInfo(albumFolder).fileName()).arg(index);
    }
    void deletethumbnail(int index) override { calls << QStringLiteral("deletethumbnail(%1)").arg(index); }

    QStringList calls;
};

// "artist - album" of album numbers 1..albumcount.
QStringList numberedAlbums()
{
    QStringList texts;
    for (int n = 1; n <= library::albumcount; ++n)
        texts << library::album.at(n).artist + QStringLiteral(" - ") + library::album.at(n).album;
    return texts;
}

class StartupTest : public PlayerGround<RecordingFrontEnd>
{
protected:
    void TearDown() override
    {
        PlayerGround::TearDown();
        platform::resetHandPointCursor();
    }

    // Writes the settings file: the library, the temporary folder and `extra` lines of section main.
    void writeSettings(const QString& extra = QString(), const QString& cache = QString())
    {
        const QString text = QStringLiteral("[main]\nPath=%1\nCachePath=%2\n%3")
                                 .arg(libraryRoot, cache.isEmpty() ? cacheFolder : cache, extra);
        program.write(QStringLiteral("Musetra.ini"), text.toUtf8());
    }

    void addAlbumFolder(const QString& name, const QByteArray& titles = "One\r\nTwo\r\n")
    {
        program.write(QStringLiteral("music/%1/title.dat").arg(name), titles);
    }

    player::Tmainform& create()
    {
        form = std::make_unique<player::Tmainform>([this] {
            ++playersMade;
            return std::make_unique<FakeMediaPlayer>();
        });
        player::mainform = form.get();
        return *form;
    }

    player::Tmainform& start()
    {
        create().FormCreate(form.get());
        return *form;
    }

    QString settingsText() const { return QString::fromUtf8(program.read(QStringLiteral("Musetra.ini"))); }

    int playersMade = 0;
};

TEST_F(StartupTest, NoAlbumsStillShowsTheJukeboxWithItsMessage)
{
    writeSettings(QStringLiteral("autoplay=1\n"));
    player::Tmainform& mf = start();

    EXPECT_EQ(library::albumcount, 0);
    EXPECT_EQ(mf.albumlist->count(), 0);
    EXPECT_FALSE(mf.albumlist->isEnabled());
    EXPECT_FALSE(mf.Dalbumlist->isEnabled());
    EXPECT_FALSE(mf.Add->isEnabled());
    EXPECT_TRUE(mf.tracklist->isHidden());
    EXPECT_TRUE(mf.cover->isHidden());
    EXPECT_TRUE(mf.butjukebox->isHidden());
    EXPECT_FALSE(mf.butcdlist->isHidden());
    EXPECT_TRUE(mf.jukeboxbut->isEnabled());
    // No background play without albums, and the jukebox is shown all the same.
    EXPECT_THAT(frontEnd.calls,
                ElementsAre(QStringLiteral("gojukebox(false)"), QStringLiteral("domessage(No CDs on system)"),
                            QStringLiteral("gojukebox(true)")));
    EXPECT_THAT(dialogs.shown, IsEmpty());
}

// Case is ignored, digits go before letters and a blank before "_", and every "_" artist goes last.
TEST_F(StartupTest, RowOrderFixesAlbumNumbersWithUnderscoreArtistsLast)
{
    for (const char* name : {"Rivers__Blue", "_Various__Hits", " Space__Odyssey", "beta__x", "Alpha__y",
                             "ALPHA__a", "9 Lives__z", "Zed__b", "_b__Two", "_a__One", "_C__Three"})
        addAlbumFolder(QString::fromUtf8(name));
    writeSettings();
    player::Tmainform& mf = start();

    const QStringList expected = {
        QStringLiteral(" Space - Odyssey"), QStringLiteral("9 Lives - z"),    QStringLiteral("ALPHA - a"),
        QStringLiteral("Alpha - y"),        QStringLiteral("beta - x"),       QStringLiteral("Rivers - Blue"),
        QStringLiteral("Zed - b"),          QStringLiteral("_a - One"),       QStringLiteral("_b - Two"),
        QStringLiteral("_C - Three"),       QStringLiteral("_Various - Hits")};
    EXPECT_EQ(rowTexts(mf.albumlist), expected);
    EXPECT_EQ(rowTexts(mf.Dalbumlist), expected);
    EXPECT_EQ(numberedAlbums(), expected);
    // The jukebox's copy follows the numbering, padded with the filler album.
    ASSERT_EQ(library::jalbumcount, 12);
    EXPECT_EQ(library::jalbum.at(11).artist, QStringLiteral("_Various"));
    EXPECT_EQ(library::jalbum.at(12).artist, QString(QChar(12)));
    EXPECT_TRUE(mf.albumlist->isEnabled());
    EXPECT_FALSE(mf.tracklist->isHidden());
}

// The pictures that stand in for a missing or unreadable cover are made off the window thread
// while the start goes on; they are made as the settings read at that start ask (a slow processor's
// are not toned), and the album without a cover shows the "not found" one.
TEST_F(StartupTest, TheCoverlessAlbumShowsTheNotFoundPictureTheSettingsAskFor)
{
    skins::reseterrorbitmaps();
    const auto remadeForLaterTests = qScopeGuard([] { skins::reseterrorbitmaps(); });
    addAlbumFolder(QStringLiteral("Rivers__Blue"));
    writeSettings(QStringLiteral("SlowProcessor=1\n"));
    player::Tmainform& mf = start();
    ASSERT_TRUE(QTest::qWaitFor([&mf] { return !mf.coverLoading(); }));

    const QImage notFound = skins::errorwithbitmap(QStringLiteral("Image File Not Found"), {}, {});
    EXPECT_EQ(mf.cover->pixmap().toImage(), QPixmap::fromImage(notFound).toImage());
    EXPECT_EQ(skins::errorbitmap_corrupt,
              skins::errorwithbitmap(QStringLiteral("Corrupt picture file"), {}, {}));
}

struct RememberedAlbum
{
    int lastalbum;
    int expectedRow;
};

class RememberedAlbumTest : public StartupTest, public ::testing::WithParamInterface<RememberedAlbum>
{
};

TEST_P(RememberedAlbumTest, SelectsTheRememberedRowOrTheFirst)
{
    for (const char* name : {"A__1", "B__2", "C__3"})
        addAlbumFolder(QString::fromUtf8(name));
    writeSettings(QStringLiteral("LastAlbum=%1\ndLastAlbum=%1\n").arg(GetParam().lastalbum));
    player::Tmainform& mf = start();

    EXPECT_EQ(mf.albumlist->currentIndex(), GetParam().expectedRow);
    EXPECT_EQ(mf.Dalbumlist->currentIndex(), GetParam().expectedRow);
}

INSTANTIATE_TEST_SUITE_P(Rows, RememberedAlbumTest,
                         ::testing::Values(RememberedAlbum{1, 0}, RememberedAlbum{3, 2},
                                           RememberedAlbum{2, 1}, RememberedAlbum{4, 0},
                                           RememberedAlbum{0, 0}, RememberedAlbum{-5, 0}));

// Media player mode closes the jukebox again in the play-list style; only the toolbar picture leaves it.
TEST_F(StartupTest, MediaPlayerModeClosesTheJukeboxUntilTheToolbarPictureIsClicked)
{
    addAlbumFolder(QStringLiteral("A__1"));
    writeSettings(QStringLiteral("mediaplayermode=1\nautoplay=0\n"));
    player::Tmainform& mf = start();
    EXPECT_THAT(frontEnd.calls,
                ElementsAre(QStringLiteral("gojukebox(false)"), QStringLiteral("gojukebox(true)"),
                            QStringLiteral("closeJukebox")));
    EXPECT_TRUE(mf.playlistbut->isChecked());

    mf.jukeboxbut->trigger();
    EXPECT_TRUE(library::config.mediaplayermode);
    EXPECT_EQ(frontEnd.calls.last(), QStringLiteral("closeJukebox"));

    frontEnd.calls.clear();
    mf.butjukebox->click();
    EXPECT_FALSE(library::config.mediaplayermode);
    EXPECT_THAT(frontEnd.calls, ElementsAre(QStringLiteral("gojukebox(true)")));
    // Never stored: the next start reads the file's value again.
    mf.close();
    EXPECT_THAT(settingsText().toStdString(), ::testing::Not(::testing::HasSubstr("mediaplayermode=0")));
}

TEST_F(StartupTest, AutoplayStartsBackgroundPlayBeforeTheJukeboxShows)
{
    addAlbumFolder(QStringLiteral("A__1"));
    writeSettings(QStringLiteral("autoplay=1\n"));
    start();

    EXPECT_THAT(frontEnd.calls,
                ElementsAre(QStringLiteral("gojukebox(false)"), QStringLiteral("initautoplay"),
                            QStringLiteral("startautoplay"), QStringLiteral("gojukebox(true)")));
}

TEST_F(StartupTest, StoredFilterDoesNotSurviveStartUp)
{
    writeSettings();
    library::filter.yearlower = 1970;
    library::filter.genre.count = 2;
    start();

    EXPECT_EQ(library::filter.genre.count, -1);
    EXPECT_EQ(library::filter.artist.count, -1);
    EXPECT_EQ(library::filter.yearlower, -1);
    EXPECT_EQ(library::filter.decadelower, -1);
}

TEST_F(StartupTest, SettingsReachTheWindow)
{
    writeSettings(QStringLiteral("Volume=90\n"));
    player::Tmainform& mf = start();

    EXPECT_EQ(mf.vol->maximum(), 150);
    EXPECT_EQ(mf.vol->value(), 90);
    EXPECT_EQ(mf.windowTitle(), QStringLiteral("Musetra v2.6"));
    EXPECT_TRUE(mf.Cdplayerbut->isChecked() || mf.playlistbut->isChecked());
    EXPECT_FALSE(mf.del->isEnabled());
    EXPECT_FALSE(mf.clearlist->isEnabled());
    // Kiosk mode: controls that point with a hand show no cursor.
    EXPECT_NE(platform::handPointCursor().shape(), Qt::PointingHandCursor);
    // The screen-sized admin backdrop waits until an operator panel shows.
    EXPECT_TRUE(player::bg.isNull());
}

TEST_F(StartupTest, ToolbarImagesGetTheirFadedFormsTenPlacesBehind)
{
    writeSettings();
    player::Tmainform& mf = create();
    // The window holds its ten pictures from its creation on; the test paints its own into them.
    ASSERT_EQ(mf.butimages.size(), 10);
    for (int i = 0; i < 10; ++i) {
        QImage image(34, 34, QImage::Format_RGB32);
        image.fill(i == 3 ? Qt::black : Qt::white);
        mf.butimages[i] = image;
    }
    mf.FormCreate(&mf);
    ASSERT_EQ(mf.butimages.size(), 20);
    // 35 % of the picture stays; the rest is the button face.
    const QColor face = QColor::fromRgb(mf.butimages.at(13).pixel(5, 5));
    EXPECT_NEAR(face.red(), 0.65 * 0xD4, 1.0);
    EXPECT_EQ(mf.butimages.at(3).pixel(5, 5), qRgb(0, 0, 0));

    // A reload makes the faded forms again instead of adding ten more.
    mf.reloadClick(mf.reload);
    EXPECT_EQ(mf.butimages.size(), 20);
    EXPECT_EQ(mf.butimages.at(13).pixel(5, 5), face.rgb());
}

TEST_F(StartupTest, DigitalFontIsDrawableUnderItsFaceName)
{
    writeSettings();
    start();

    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("musetradigital"))).family(), QStringLiteral("DSEG7 Classic"));
}

TEST_F(StartupTest, SilentMp3IsOpenedFromTheCacheAndCloseDeletesItAndWritesTheSettings)
{
    addAlbumFolder(QStringLiteral("A__1"));
    addAlbumFolder(QStringLiteral("B__2"));
    writeSettings();
    player::Tmainform& mf = start();
    const QString blank = QDir(cacheFolder).filePath(QStringLiteral("blank.mp3"));
    QFile resource(QStringLiteral(":/blank"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    EXPECT_EQ(program.read(QStringLiteral("cache/blank.mp3")), resource.readAll());
    EXPECT_EQ(static_cast<FakeMediaPlayer*>(mf.mediaPlayer())->openFileName(), blank);

    library::config.lastalbum = 2;
    library::config.volume = 33;
    mf.close();
    EXPECT_FALSE(QFileInfo::exists(blank));
    const std::string text = settingsText().toStdString();
    EXPECT_THAT(text, ::testing::HasSubstr("LastAlbum=2"));
    EXPECT_THAT(text, ::testing::HasSubstr("Volume=33"));
}

TEST_F(StartupTest, ReloadRenumbersAfterFoldersChangeAndKeepsThePlayer)
{
    addAlbumFolder(QStringLiteral("Moss__Green"));
    addAlbumFolder(QStringLiteral("Lark__Song"));
    writeSettings();
    player::Tmainform& mf = start();
    platform::MediaPlayer* player = mf.mediaPlayer();
    ASSERT_EQ(numberedAlbums(), (QStringList{QStringLiteral("Lark - Song"), QStringLiteral("Moss - Green")}));

    QDir(QDir(libraryRoot).filePath(QStringLiteral("Lark__Song"))).removeRecursively();
    addAlbumFolder(QStringLiteral("Nettle__Sting"));
    addAlbumFolder(QStringLiteral("Ash__Grey"));
    library::config.volume = 44; // a change of the running program survives the reload
    auto* fake = static_cast<FakeMediaPlayer*>(player);
    fake->clearCommands();
    mf.reloadClick(mf.reload);

    const QStringList expected{QStringLiteral("Ash - Grey"), QStringLiteral("Moss - Green"),
                               QStringLiteral("Nettle - Sting")};
    EXPECT_EQ(numberedAlbums(), expected);
    EXPECT_EQ(rowTexts(mf.albumlist), expected);
    EXPECT_EQ(library::jalbumcount, 4);
    EXPECT_EQ(playersMade, 1);
    EXPECT_EQ(mf.mediaPlayer(), player);
    EXPECT_EQ(library::config.volume, 44);
    EXPECT_TRUE(mf.isEnabled());
    // The player is stopped, and the silent file it holds is not provided again (the volume bar,
    // set from the settings, only sends the volume).
    QStringList commands = fake->commands();
    commands.removeIf([](const QString& command) { return command.startsWith(QStringLiteral("volume")); });
    EXPECT_EQ(commands, QStringList{QStringLiteral("stop")});
}

// The message names the cache folder and says why it cannot be used.
TEST_F(StartupTest, UnwritableTemporaryFolderHaltsWithItsMessage)
{
    // A folder of the kernel's: present, but nobody may create files in it.
    writeSettings(QString(), QStringLiteral("/proc"));
    ThrowingHalt halt;
    EXPECT_THROW(start(), platform::Halted);

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.at(0).text,
              QStringLiteral(
                  "Cannot create temporary file. The cache folder /proc takes no new file.\r\nPlease point "
                  "\"CachePath=\" in section [main] of the .INI file at a folder of your own that can "
                  "be written to"));
    EXPECT_EQ(dialogs.shown.at(0).icon, platform::MessageIcon::Error);
}

// Without a CachePath that is a folder, the user's own cache folder is refused when a link stands
// in its place: the message names both and says why.
TEST_F(StartupTest, RefusedCacheFolderIsNamedWithTheReason)
{
    TempFolder cacheHome;
    const QByteArray oldHome = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", cacheHome.path().toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_CACHE_HOME", oldHome); });
    const QString own = cacheHome.path() + QStringLiteral("/musetra");
    ASSERT_TRUE(QFile::link(cacheHome.mkdir(QStringLiteral("shared")), own));
    writeSettings(QString(), QStringLiteral("/no/such/folder"));
    ThrowingHalt halt;
    EXPECT_THROW(start(), platform::Halted);

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_THAT(
        dialogs.shown.at(0).text.toStdString(),
        ::testing::StartsWith(QStringLiteral("Cannot create temporary file. CachePath /no/such/folder does "
                                             "not exist. The cache folder %1 is not used: a link stands "
                                             "there.\r\n")
                                  .arg(own)
                                  .toStdString()));
}

TEST_F(StartupTest, SomethingElseInThePlaceOfTheSilentMp3HaltsToo)
{
    program.mkdir(QStringLiteral("cache/blank.mp3"));
    writeSettings();
    ThrowingHalt halt;
    EXPECT_THROW(start(), platform::Halted);

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown.at(0).text.startsWith(QStringLiteral("Cannot create temporary file. ")));
}

TEST_F(StartupTest, MissingSettingsFileHaltsBeforeAnythingIsScanned)
{
    addAlbumFolder(QStringLiteral("A__1"));
    ThrowingHalt halt;
    EXPECT_THROW(start(), platform::Halted);

    EXPECT_EQ(library::albumcount, 0);
    EXPECT_THAT(frontEnd.calls, IsEmpty());
}

TEST_F(StartupTest, TitlesLoadIntoEitherTrackList)
{
    addAlbumFolder(QStringLiteral("Owl__Night"), "Hoot\r\n\r\nFlight\r\n");
    addAlbumFolder(QStringLiteral("Wren__Day"));
    writeSettings();
    player::Tmainform& mf = start();

    ASSERT_TRUE(mf.loadtitles(mf.tracklist, 1));
    EXPECT_EQ(rowTexts(mf.tracklist),
              (QStringList{QStringLiteral("Hoot"), QStringLiteral("Unknown track name"),
                           QStringLiteral("Flight")}));
    EXPECT_EQ(QDir::cleanPath(library::currentalbumpath),
              QDir(libraryRoot).filePath(QStringLiteral("Owl__Night")));

    ASSERT_TRUE(mf.loadtitles(mf.dtracklist, 2));
    EXPECT_EQ(rowTexts(mf.dtracklist), (QStringList{QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(QDir::cleanPath(library::dcurrentalbumpath),
              QDir(libraryRoot).filePath(QStringLiteral("Wren__Day")));

    // A missing titles file leaves the list as it was; so does an album number that does not exist.
    QFile::remove(QDir(libraryRoot).filePath(QStringLiteral("Wren__Day/title.dat")));
    EXPECT_FALSE(mf.loadtitles(mf.tracklist, 2));
    EXPECT_FALSE(mf.loadtitles(mf.tracklist, 3));
    EXPECT_FALSE(mf.loadtitles(mf.tracklist, 0));
    EXPECT_EQ(mf.tracklist->count(), 3);
}

// A fresh library opens without waiting for its title files: they are made after the windows show.
TEST_F(StartupTest, TitlesMissingFromAFreshLibraryAreMadeAfterStartUp)
{
    program.write(QStringLiteral("music/Owl__Night/track01.mp3"), "x");
    writeSettings();
    player::Tmainform& mf = start();
    ASSERT_TRUE(mf.loadtitles(mf.tracklist, 1));
    EXPECT_EQ(rowTexts(mf.tracklist), QStringList{QStringLiteral("track01")});

    player::mainform = nullptr;
    form.reset(); // waits for the title files
    EXPECT_EQ(program.read(QStringLiteral("music/Owl__Night/title.dat")), QByteArray("track01\n"));
}

TEST_F(StartupTest, AddedAndDeletedAlbumsKeepListsNumbersAndThumbnailsInStep)
{
    for (const char* name : {"A__1", "B__2", "C__3"})
        addAlbumFolder(QString::fromUtf8(name));
    writeSettings(QStringLiteral("autoplay=0\n"));
    player::Tmainform& mf = start();
    frontEnd.calls.clear();

    program.mkdir(QStringLiteral("music/Aa__0"));
    mf.addalbum(QStringLiteral("Aa"), QStringLiteral("0"));
    // Appended behind, not sorted in: the album gets the next number.
    EXPECT_EQ(rowTexts(mf.albumlist).last(), QStringLiteral("Aa - 0"));
    EXPECT_EQ(rowTexts(mf.Dalbumlist).last(), QStringLiteral("Aa - 0"));
    EXPECT_EQ(library::albumcount, 4);
    EXPECT_EQ(library::jalbumcount, 4);
    EXPECT_EQ(library::jalbum.at(4).artist, QStringLiteral("Aa"));

    mf.deletealbum(1);
    EXPECT_EQ(rowTexts(mf.albumlist),
              (QStringList{QStringLiteral("B - 2"), QStringLiteral("C - 3"), QStringLiteral("Aa - 0")}));
    EXPECT_EQ(numberedAlbums(), rowTexts(mf.Dalbumlist));
    EXPECT_EQ(library::jalbumcount, 4);
    EXPECT_EQ(library::jalbum.at(4).artist, QString(QChar(12)));

    mf.deletealbum(0);
    mf.deletealbum(4);
    EXPECT_EQ(mf.albumlist->count(), 3);
    EXPECT_THAT(frontEnd.calls,
                ElementsAre(QStringLiteral("addthumbnail(Aa__0,3)"), QStringLiteral("deletethumbnail(0)")));
}

TEST_F(StartupTest, ApplicationRunsStartUpBeforeTheOtherWindowsExist)
{
    writeSettings();
    {
        // The player window makes its media player at the start of its creation.
        bool laterWindowsExisted = true;
        app::Application windows([&] {
            ++playersMade;
            laterWindowsExisted = player::rnd_dialog || ripper::ripmain || jukebox::coverform ||
                                  player::volumedisplay || player::video;
            return std::make_unique<FakeMediaPlayer>();
        });
        EXPECT_FALSE(laterWindowsExisted);
        EXPECT_NE(player::mainform, nullptr);
        EXPECT_NE(player::rnd_dialog, nullptr);
        EXPECT_NE(ripper::ripmain, nullptr);
        EXPECT_NE(jukebox::coverform, nullptr);
        EXPECT_NE(player::volumedisplay, nullptr);
        EXPECT_NE(player::video, nullptr);
        // No window shows itself: start-up decides what is on the screen.
        EXPECT_FALSE(player::mainform->isVisible());
        EXPECT_FALSE(player::video->isVisible());
        EXPECT_EQ(playersMade, 1);
    }
    EXPECT_EQ(player::mainform, nullptr);
    EXPECT_EQ(player::video, nullptr);
}

// A stop signal leaves by the exit road: the silent file goes and the settings are written.
void expectExitRoadTaken(const QString& silentFile, int jlastalbum)
{
    library::config.jlastalbum = jlastalbum;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(silentFile); }));
    QFile settings(platform::programFolder() + QStringLiteral("/Musetra.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(settings.readAll())
                    .contains(QStringLiteral("jlastalbum=%1").arg(jlastalbum), Qt::CaseInsensitive));
}

TEST_F(StartupTest, TerminationSignalLeavesByTheExitRoad)
{
    writeSettings();
    app::Application windows([] { return std::make_unique<FakeMediaPlayer>(); });
    ASSERT_TRUE(QFile::exists(player::blankfilepath));
    const QString silentFile = player::blankfilepath;
    std::raise(SIGTERM);
    expectExitRoadTaken(silentFile, 3);
}

// A stop while the player window is still being made used to end the program on the spot.
TEST_F(StartupTest, TerminationSignalDuringStartUpLeavesByTheExitRoadOnceStarted)
{
    writeSettings();
    std::signal(SIGTERM, SIG_DFL);
    app::Application windows([] {
        std::raise(SIGTERM);
        return std::make_unique<FakeMediaPlayer>();
    });
    expectExitRoadTaken(player::blankfilepath, 4);
}

} // namespace

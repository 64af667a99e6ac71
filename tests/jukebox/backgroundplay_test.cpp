// Background play: the album list file, the random choice, starting and chaining tracks, the check
// box, the play and rest cycle, the fade and the volume steps.

#include <QApplication>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSet>
#include <QSignalSpy>
#include <QSlider>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "../controls/faketimersource.h"
#include "controls/bitmapcheckbox.h"
#include "jukebox/tags.h"
#include "jukeboxfixture.h"
#include "numberstesting.h"
#include "player/volumedisplay.h"
#include "printers.h"

namespace {

using jukebox::tdonelist;

class BackgroundPlay : public JukeboxTest
{
protected:
    void SetUp() override
    {
        JukeboxTest::SetUp();
        jukebox::resetBackgroundPlay();
        jukebox::setBackgroundRandom(&random);
    }
    void TearDown() override
    {
        JukeboxTest::TearDown();
        jukebox::resetBackgroundPlay();
    }

    // An album folder with `titles` titles and, unless `files` is off, their track files.
    void addAlbum(const QString& name, int titles, bool files = true)
    {
        QByteArray lines;
        for (int t = 1; t <= titles; ++t) {
            lines += "Title " + QByteArray::number(t) + "\r\n";
            if (files)
                program.write(
                    QStringLiteral("music/%1/track%2.mp3").arg(name).arg(t, 2, 10, QLatin1Char('0')), "ID3");
        }
        program.write(QStringLiteral("music/%1/title.dat").arg(name), lines);
    }

    // A started jukebox over one album whose titles the player's CD-player list holds (its album
    // list loads them by itself only once its change handler exists).
    jukebox::Tjukebox& startOneAlbum(const QString& commercial, bool files = true)
    {
        addAlbum(QStringLiteral("Solo__Record"), 3, files);
        writeSettings(QStringLiteral("Volume=90\n[Commercial]\n") + commercial);
        jukebox::Tjukebox& window = start();
        EXPECT_TRUE(form->loadtitles(form->tracklist, 1));
        fake().clearCommands();
        return window;
    }

    FakeMediaPlayer& fake() const { return *qobject_cast<FakeMediaPlayer*>(form->mediaPlayer()); }
    QStringList opened() const { return fake().commands().filter(QStringLiteral("open ")); }
    int opens() const { return int(opened().size()); }
    static bool fire(controls::Ticker* ticker, int times = 1)
    {
        bool fired = true;
        for (int n = 0; n < times; ++n)
            fired = static_cast<FakeTicker*>(ticker)->fire() && fired;
        return fired;
    }

    QRandomGenerator random{20240611};
};

struct ListCase
{
    const char* name;
    const char* fileName;
    QByteArray bytes;
    std::vector<std::string> rows; // the album rows expected, by their text
};

class BackgroundListFile : public BackgroundPlay, public ::testing::WithParamInterface<ListCase>
{
};

TEST_P(BackgroundListFile, NamesTheAlbumsToChooseFrom)
{
    for (const char* folder : {"Abba__Gold", "Björk__Debut", "Cream__Wheels"})
        addAlbum(QString::fromUtf8(folder), 1);
    writeSettings();
    start();
    if (*GetParam().fileName) program.write(QString::fromLatin1(GetParam().fileName), GetParam().bytes);

    library::autoplaymode = false;
    jukebox::initautoplay();
    std::vector<int32_t> expected;
    for (const std::string& row : GetParam().rows)
        expected.push_back(form->albumlist->findText(QString::fromStdString(row)));
    // As standard vectors: Qt compares two empty lists through a null pointer.
    EXPECT_EQ(std::vector<int32_t>(jukebox::backgroundlist.cbegin(), jukebox::backgroundlist.cend()),
              expected);
    EXPECT_TRUE(library::autoplaymode);
    EXPECT_TRUE(jukebox::jukebox->autoplaycb->checked());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BackgroundListFile,
    ::testing::Values(
        ListCase{
            "TwoAlbums", "background.list", "Abba__Gold\nCream__Wheels\n", {"Abba - Gold", "Cream - Wheels"}},
        ListCase{"CaseAndCrLf",
                 "BACKGROUND.LIST",
                 "aBBA__gOLD\r\nCREAM__wheels",
                 {"Abba - Gold", "Cream - Wheels"}},
        ListCase{"TwiceIsTwice",
                 "background.list",
                 "Cream__Wheels\nCream__Wheels\n",
                 {"Cream - Wheels", "Cream - Wheels"}},
        ListCase{"UnmatchedSkipped", "background.list", "Nobody__Here\n\nAbba__Gold\n", {"Abba - Gold"}},
        ListCase{"NoneMatch", "background.list", "Nobody__Here\n", {}},
        ListCase{"Empty", "background.list", "", {}}, ListCase{"Missing", "", "", {}},
        ListCase{"Windows1252", "background.list", "Bj\xF6rk__Debut\r\n", {"Bj\u00F6rk - Debut"}},
        ListCase{"Utf8WithBom",
                 "background.list",
                 "\xEF\xBB\xBF"
                 "Bj\xC3\xB6rk__Debut\n",
                 {"Bj\u00F6rk - Debut"}}),
    [](const auto& test) { return std::string(test.param.name); });

// The choice alone, over albums with the given numbers of titles.
class BackgroundChoice : public ::testing::Test
{
protected:
    void SetUp() override { jukebox::resetBackgroundPlay(); }
    void TearDown() override { jukebox::resetBackgroundPlay(); }

    bool choose(const QVector<int>& titles, tdonelist& chosen)
    {
        return jukebox::chooseBackgroundTrack(
            int32_t(titles.size()),
            [&](int32_t a) {
                ++loads;
                return titles.at(a);
            },
            random, chosen);
    }

    QRandomGenerator random{7};
    int loads = 0;
};

TEST_F(BackgroundChoice, PlaysEveryPairOfAlbumsWithTitlesBeforeAnyRepeat)
{
    const QVector<int> titles{0, 3, 0, 2};
    QSet<QPair<int, int>> seen;
    tdonelist chosen;
    for (int n = 0; n < 5; ++n) {
        ASSERT_TRUE(choose(titles, chosen));
        seen.insert({chosen.album, chosen.track});
    }
    EXPECT_EQ(seen.size(), 5);
    EXPECT_EQ(jukebox::donelistcount, 5);

    // Nothing new is left: the 250th try empties the done list and is played.
    loads = 0;
    ASSERT_TRUE(choose(titles, chosen));
    EXPECT_EQ(loads, 250);
    EXPECT_EQ(jukebox::donelistcount, 1);
    EXPECT_TRUE(titles.at(chosen.album) > chosen.track);
}

TEST_F(BackgroundChoice, ListRestrictsAndWeighsAlbumsAndStaleRowsArePassedOver)
{
    jukebox::backgroundlist = {2, 2, 0, 9};
    QVector<int> picks(3);
    tdonelist chosen;
    for (int n = 0; n < 1500; ++n) {
        ASSERT_TRUE(choose({10000, 10000, 10000}, chosen));
        ++picks[chosen.album];
    }
    EXPECT_EQ(picks.at(1), 0);
    EXPECT_NEAR(picks.at(2), 1000, 90);
}

TEST_F(BackgroundChoice, NoAlbumWithTitlesChoosesNothing)
{
    tdonelist chosen{5, 5};
    EXPECT_FALSE(choose({0, 0}, chosen));
    EXPECT_EQ(loads, 250);
    EXPECT_FALSE(choose({}, chosen));
    EXPECT_EQ(loads, 250);
    EXPECT_EQ(chosen.album, 5);
}

TEST_F(BackgroundChoice, RowsFollowARemovedAlbum)
{
    jukebox::backgroundlist = {0, 2, 2, 3};
    jukebox::donelist = {{2, 1}, {3, 0}, {0, 1}};
    jukebox::backgroundAlbumRemoved(2);
    EXPECT_EQ(jukebox::backgroundlist, (QVector<int32_t>{0, 2}));
    ASSERT_EQ(jukebox::donelistcount, 2);
    EXPECT_EQ(jukebox::donelist.at(0).album, 2);
    EXPECT_EQ(jukebox::donelist.at(1).album, 0);
}

TEST_F(BackgroundPlay, TrackPlaysAtTheCappedVolumeAndTheNextFollowsItsEnd)
{
    jukebox::Tjukebox& window = startOneAlbum(QStringLiteral("bgvolume=40\nbgvolumemax=25\n"));
    jukebox::startautoplay();

    EXPECT_TRUE(jukebox::autoplaying);
    EXPECT_EQ(form->vol->value(), 25);
    ASSERT_EQ(opens(), 1);
    EXPECT_TRUE(opened().first().contains(QStringLiteral("Solo__Record/track0")));
    EXPECT_EQ(fake().mode(), platform::PlayerMode::Playing);
    EXPECT_TRUE(form->playlistbut->isChecked());
    EXPECT_EQ(jukebox::tagOf(window.BackgroundTimer), 0);
    EXPECT_TRUE(window.BackgroundTimer->isEnabled());

    QSignalSpy ended(form->mediaPlayer(), &platform::MediaPlayer::completed);
    fake().finishPlay();
    ASSERT_TRUE(ended.wait(2000));
    EXPECT_EQ(opens(), 2);
    EXPECT_TRUE(jukebox::autoplaying);
    EXPECT_EQ(jukebox::donelistcount, 2);

    fake().clearCommands();
    jukebox::stopautoplay();
    EXPECT_EQ(form->vol->value(), 90);
    EXPECT_FALSE(jukebox::autoplaying || library::autoplaymode);
    EXPECT_TRUE(fake().commands().contains(QStringLiteral("stop")));
}

TEST_F(BackgroundPlay, StartedAtStartUpItGoesOnFromTrackToTrack)
{
    addAlbum(QStringLiteral("Solo__Record"), 3);
    writeSettings(QStringLiteral("autoplay=1\n"));
    // As the application does: the front end is in place before the player window is made.
    frontEnd = std::make_unique<jukebox::JukeboxFrontEnd>();
    player::setFrontEnd(frontEnd.get());
    form = std::make_unique<player::Tmainform>([] { return std::make_unique<FakeMediaPlayer>(); });
    player::mainform = form.get();
    form->FormCreate(form.get());
    ASSERT_TRUE(jukebox::autoplaying);
    fake().clearCommands();

    QSignalSpy ended(form->mediaPlayer(), &platform::MediaPlayer::completed);
    fake().finishPlay();
    ASSERT_TRUE(ended.wait(2000));
    EXPECT_EQ(opens(), 1);
    EXPECT_TRUE(jukebox::autoplaying);
    EXPECT_EQ(fake().mode(), platform::PlayerMode::Playing);
}

TEST_F(BackgroundPlay, NothingStartsInTheRestPhaseOrWithoutAPlayableTrack)
{
    jukebox::Tjukebox& window = startOneAlbum(QStringLiteral("bgvolume=20\n"), false);
    window.BackGroundCanAutoPlay = false;
    jukebox::startautoplay();
    EXPECT_FALSE(jukebox::autoplaying);

    window.BackGroundCanAutoPlay = true;
    jukebox::startautoplay(); // the track files are missing
    EXPECT_FALSE(jukebox::autoplaying);
    EXPECT_EQ(form->vol->value(), 90);
    form->tracklist->clear(); // no titles at all
    jukebox::startautoplay();
    EXPECT_FALSE(jukebox::autoplaying);
    EXPECT_FALSE(fake().commands().contains(QStringLiteral("play")));
}

TEST_F(BackgroundPlay, CheckBoxStartsAndStopsBackgroundPlay)
{
    jukebox::Tjukebox& window = startOneAlbum(QStringLiteral("creditsystem=0\n"));
    window.autoplaycb->setchecked(true);
    window.autoplaycbClick(window.autoplaycb);
    EXPECT_TRUE(jukebox::autoplaying && library::config.autoplay);
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Started Autoplay"));

    window.autoplaycb->setchecked(false);
    window.autoplaycbClick(window.autoplaycb);
    EXPECT_FALSE(jukebox::autoplaying || library::autoplaymode || library::config.autoplay);
    EXPECT_FALSE(window.BackgroundTimer->isEnabled());
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Stopped Autoplay"));

    // While the player plays, checking the box starts nothing.
    form->Timers->start();
    window.autoplaycb->setchecked(true);
    window.autoplaycbClick(window.autoplaycb);
    EXPECT_FALSE(jukebox::autoplaying);
    EXPECT_EQ(opens(), 1);
}

TEST_F(BackgroundPlay, CheckBoxStaysOffWithoutAlbums)
{
    writeSettings();
    jukebox::Tjukebox& window = start();
    library::autoplaymode = false;
    window.autoplaycb->setchecked(true);
    window.autoplaycbClick(window.autoplaycb);
    EXPECT_FALSE(window.autoplaycb->checked() || library::autoplaymode);
}

class FadeTest : public BackgroundPlay, public ::testing::WithParamInterface<bool>
{
};

TEST_P(FadeTest, ThirtyStepsDownThenTheVolumeComesBack)
{
    jukebox::Tjukebox& window = startOneAlbum(QString());
    jukebox::startautoplay();
    (void)fake().setVolume(700);
    window.dofade();
    window.fadetimernostop = GetParam();
    for (int step = 1; step < 30; ++step) {
        ASSERT_TRUE(fire(window.fadetimer));
        EXPECT_EQ(fake().volume(), 700 - step * 23) << "step " << step;
        if (step == 10) window.dofade(); // a second fade leaves the first as it is
    }
    window.fadetimernostop = GetParam();
    ASSERT_TRUE(fire(window.fadetimer));
    EXPECT_EQ(fake().volume(), 700);
    EXPECT_FALSE(window.fadetimer->isEnabled());
    EXPECT_FALSE(jukebox::autoplaying || library::autoplaymode);
    EXPECT_EQ(fake().mode() == platform::PlayerMode::Playing, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Stop, FadeTest, ::testing::Values(false, true));

TEST_F(BackgroundPlay, ThirtyMinutesOfMusicThenTenOfRest)
{
    jukebox::Tjukebox& window =
        startOneAlbum(QStringLiteral("creditsystem=1\nbgduration=30\nbgwaittime=10\n"));
    window.autoplaycb->setchecked(true);
    window.autoplaycbClick(window.autoplaycb);
    ASSERT_TRUE(fire(window.BackgroundTimer, 29));
    EXPECT_FALSE(window.fadetimer->isEnabled());
    ASSERT_TRUE(fire(window.BackgroundTimer));
    EXPECT_FALSE(window.BackGroundCanAutoPlay);
    ASSERT_TRUE(fire(window.fadetimer, 30));
    EXPECT_NE(fake().mode(), platform::PlayerMode::Playing);

    ASSERT_TRUE(fire(window.BackgroundTimer, 9));
    EXPECT_EQ(opens(), 1);
    ASSERT_TRUE(fire(window.BackgroundTimer));
    EXPECT_EQ(opens(), 2);
    EXPECT_TRUE(jukebox::autoplaying && window.BackGroundCanAutoPlay);
    EXPECT_EQ(fake().mode(), platform::PlayerMode::Playing);

    // Unchecked, the box ends the cycle at the next minute.
    window.autoplaycb->setchecked(false);
    ASSERT_TRUE(fire(window.BackgroundTimer));
    EXPECT_FALSE(window.BackgroundTimer->isEnabled());
}

TEST_F(BackgroundPlay, EndOfTheRestNeverStartsOverAGuestsTrack)
{
    jukebox::Tjukebox& window = startOneAlbum(QStringLiteral("creditsystem=1\nbgduration=1\nbgwaittime=1\n"));
    window.autoplaycb->setchecked(true);
    window.autoplaycbClick(window.autoplaycb);
    ASSERT_TRUE(fire(window.BackgroundTimer));
    ASSERT_TRUE(fire(window.fadetimer, 30));
    // A guest's track plays through the rest.
    ASSERT_TRUE(form->loadtitles(form->dtracklist, 1));
    form->dtracklist->setCurrentRow(1);
    form->AddClick(nullptr);
    form->playClick(nullptr);
    const QStringList guestTrack = opened();

    ASSERT_TRUE(fire(window.BackgroundTimer));
    EXPECT_EQ(opened(), guestTrack);
    EXPECT_FALSE(jukebox::autoplaying);
    EXPECT_EQ(fake().mode(), platform::PlayerMode::Playing);
}

struct VolumeStep
{
    bool background;
    int from, step, to, bgvolume, volume;
};

class VolumeStepTest : public BackgroundPlay, public ::testing::WithParamInterface<VolumeStep>
{
};

TEST_P(VolumeStepTest, MovesWithinItsRangeAndIsRemembered)
{
    startOneAlbum(QStringLiteral("bgvolume=15\nbgvolumemax=30\n"));
    form->vol->setValue(GetParam().from);
    jukebox::autoplaying = GetParam().background;
    jukebox::stepVolume(GetParam().step);
    EXPECT_EQ(form->vol->value(), GetParam().to);
    EXPECT_EQ(fake().volume(), GetParam().to * 1000 / 150);
    EXPECT_EQ(library::config.bgvolume, GetParam().bgvolume);
    EXPECT_EQ(library::config.volume, GetParam().volume);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, VolumeStepTest,
    ::testing::Values(VolumeStep{true, 20, 1, 21, 21, 90}, VolumeStep{true, 30, 1, 30, 30, 90},
                      VolumeStep{true, 60, -1, 30, 30, 90}, VolumeStep{false, 90, 1, 91, 15, 91},
                      VolumeStep{false, 150, 1, 150, 15, 150}, VolumeStep{false, 0, -1, 0, 15, 0}));

// Notes every window other than `allowed` that is shown (the volume bar and its symbol are windows
// of their own over the full-screen jukebox).
class OtherWindowsShown : public QObject
{
public:
    explicit OtherWindowsShown(const QWidget* allowed) : allowed_(allowed) { qApp->installEventFilter(this); }
    ~OtherWindowsShown() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() && widget != allowed_)
            shown << QString::fromLatin1(widget->metaObject()->className());
        return false;
    }

    QStringList shown;

private:
    const QWidget* allowed_;
};

class NothingOfThePlayerOverTheJukebox : public NumberEntryTest, public ::testing::WithParamInterface<QSize>
{
};

// Nothing of the desktop player shows over the jukebox: its volume bar goes when the jukebox comes,
// and neither a background track's start nor a guest's selection that fades it out shows it, at
// any screen size. The guest's own volume key shows it.
TEST_P(NothingOfThePlayerOverTheJukebox, NeitherAtABackgroundTrackNorWhenAGuestReplacesIt)
{
    screens.bounds = QRect(QPoint(0, 0), GetParam());
    player::Tvolumedisplay display;
    player::volumedisplay = &display;
    const auto forget = qScopeGuard([] { player::volumedisplay = nullptr; });
    addLibrary(3);
    open(QStringLiteral("Volume=90\n[Commercial]\nbgvolume=15\n"));
    // The bar of a change at the desktop player a moment ago goes when the jukebox comes.
    form->vol->setValue(89);
    ASSERT_TRUE(display.isVisible());
    frontEnd->gojukebox(true);
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(display.isVisible() || display.symbol->isVisible());
    const OtherWindowsShown others(window);

    jukebox::startautoplay();
    ASSERT_TRUE(jukebox::autoplaying);
    ASSERT_EQ(form->vol->value(), 15);
    type("0002001");
    ASSERT_EQ(queue(), QStringList{QStringLiteral("2/1")});
    ASSERT_EQ(form->vol->value(), 90);
    EXPECT_EQ(others.shown, QStringList());
    for (const QWidget* shown : QApplication::topLevelWidgets())
        EXPECT_TRUE(shown == window || !shown->isVisible()) << shown->metaObject()->className();

    QTest::keyClick(window, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(display.isVisible() && display.symbol->isVisible());
    EXPECT_EQ(display.symbol->accessibleName(), QStringLiteral("Volume (91)"));
}

INSTANTIATE_TEST_SUITE_P(Screens, NothingOfThePlayerOverTheJukebox,
                         ::testing::Values(QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)));

} // namespace

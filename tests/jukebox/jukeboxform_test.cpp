// The jukebox window's frame: creation through the front end, the padded album copy, the start
// page, scaling, the message line, resizing and closing.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <array>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "controls/bitmapactionbutton.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/transparentpanel.h"
#include "jukebox/ripperhooks.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "jukeboxfixture.h"
#include "printers.h"

using jukebox::Tjukebox;

namespace {

// The first timer named `name` under `owner`.
controls::Ticker* timer(const QObject& owner, const char* name)
{
    return owner.findChild<controls::Ticker*>(QString::fromLatin1(name));
}

bool scrolling(const controls::TTextScroller& line)
{
    const auto* ticker = line.findChild<controls::Ticker*>();
    return ticker && ticker->isEnabled();
}

// The front end makes the window once, hidden, with the player hidden too; showing it covers the
// screen; closing hands the upper page's album to the player and keeps the window for next time.
TEST_F(JukeboxTest, OpenShowAndCloseTheWindowOnce)
{
    addAlbums(6);
    writeSettings();
    Tjukebox& window = start();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(form->isHidden());
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    frontEnd->gojukebox(false);
    EXPECT_EQ(jukebox::jukebox, &window);

    frontEnd->gojukebox(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(form->isHidden());

    jukebox::currentalbum = 5;
    window.domessage(QStringLiteral("Welcome"));
    frontEnd->closeJukebox();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(form->isHidden());
    EXPECT_EQ(form->Dalbumlist->currentIndex(), 4);
    EXPECT_FALSE(scrolling(*window.lcd3));
    EXPECT_EQ(jukebox::jukebox, &window);
}

struct StartPage
{
    int albums;
    int jlastalbum;
    int currentalbum;
};

class StartPageTest : public JukeboxTest, public ::testing::WithParamInterface<StartPage>
{
};

TEST_P(StartPageTest, StartsOnTheRememberedOddAlbumOrTheFirst)
{
    addAlbums(GetParam().albums);
    writeSettings(QStringLiteral("jLastAlbum=%1\n").arg(GetParam().jlastalbum));
    start();

    EXPECT_EQ(jukebox::currentalbum, GetParam().currentalbum);
}

INSTANTIATE_TEST_SUITE_P(Remembered, StartPageTest,
                         ::testing::Values(StartPage{7, 5, 5}, StartPage{7, 6, 5}, StartPage{7, 0, 1},
                                           StartPage{7, -3, 1}, StartPage{7, 9, 1}, StartPage{7, 8, 7},
                                           StartPage{0, 3, 1}));

TEST_F(JukeboxTest, CreationResetsNumberEntryAndSetsUpTheTimers)
{
    addAlbums(2);
    writeSettings();
    jukebox::keypadlocked = true;
    jukebox::lcd1count = 4;
    jukebox::moveinprogress = true;
    Tjukebox& window = start();

    EXPECT_FALSE(jukebox::keypadlocked);
    EXPECT_EQ(jukebox::lcd1count, 1);
    EXPECT_EQ(jukebox::lcd2count, 1);
    EXPECT_EQ(jukebox::lcdpanelcurrent, 0);
    EXPECT_FALSE(jukebox::moveinprogress);

    const struct
    {
        const char* name;
        int interval;
        bool enabled;
    } expected[] = {{"errortimer", 250, false},  {"playstimer", 250, false},
                    {"lightstimer", 200, false}, {"navbuttimer", 100, false},
                    {"volumetimer", 100, false}, {"BackgroundTimer", 60000, false},
                    {"fadetimer", 100, false}};
    for (const auto& entry : expected) {
        const controls::Ticker* ticker = timer(window, entry.name);
        ASSERT_NE(ticker, nullptr) << entry.name;
        EXPECT_EQ(ticker->interval(), entry.interval) << entry.name;
        EXPECT_EQ(ticker->isEnabled(), entry.enabled) << entry.name;
    }
}

struct BackgroundCycle
{
    const char* settings;
    bool enabled;
};

class BackgroundCycleTest : public JukeboxTest, public ::testing::WithParamInterface<BackgroundCycle>
{
};

TEST_P(BackgroundCycleTest, MinuteTimerRunsOnlyWithCreditsAndADuration)
{
    writeSettings(QStringLiteral("[Commercial]\n") + QString::fromLatin1(GetParam().settings));
    Tjukebox& window = start();

    EXPECT_EQ(window.BackgroundTimer->isEnabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Settings, BackgroundCycleTest,
                         ::testing::Values(BackgroundCycle{"creditsystem=1\nbgduration=15\n", true},
                                           BackgroundCycle{"creditsystem=1\nbgduration=0\n", false},
                                           BackgroundCycle{"creditsystem=0\nbgduration=15\n", false}));

// The control panel shown for good leaves no corner to open it; "hideexit" hides the exit key.
TEST_F(JukeboxTest, PanelSettingsChooseBetweenPanelAndCorner)
{
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        writeSettings(
            QStringLiteral("jukeboxcontrolpanel=%1\nhideexit=%2\n").arg(int(!shown)).arg(int(shown)));
        Tjukebox& window = start();
        EXPECT_EQ(window.panel->isHidden(), !shown);
        EXPECT_EQ(window.openpanelpanel->isHidden(), shown);
        EXPECT_EQ(window.Shutdownbut->isHidden(), shown);
        TearDown();
        SetUp();
    }
}

TEST_F(JukeboxTest, MessageLineShowsCapitalsAndKeepsTheTextAsGiven)
{
    addAlbums(1);
    writeSettings();
    Tjukebox& window = start();

    window.domessage(QStringLiteral("Added Track: Blue in Green"));
    EXPECT_EQ(window.lcd3->text(), QStringLiteral("ADDED TRACK: BLUE IN GREEN"));
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Added Track: Blue in Green"));
    EXPECT_TRUE(scrolling(*window.lcd3));

    frontEnd->domessage(QString());
    EXPECT_TRUE(window.lcd3->text().isEmpty());
    EXPECT_TRUE(jukebox::oldmessage.isEmpty());
    EXPECT_FALSE(scrolling(*window.lcd3));
}

TEST_F(JukeboxTest, AnExtractionsWordRunsOnceAcrossTheLineBeforeTheWelcome)
{
    addAlbums(2);
    writeSettings();
    Tjukebox& window = startOnScreen(QSize(800, 600));
    struct : jukebox::RipperHooks
    {
        void rip_go() override { player::frontend().domessage(QStringLiteral("Completed. Birch - Wood")); }
    } road;
    jukebox::setRipperHooks(&road);
    window.ripbutClick(window.ripbut);
    jukebox::setRipperHooks(nullptr);
    auto* ticker = static_cast<FakeTicker*>(window.lcd3->findChild<controls::Ticker*>());
    const int round = int(window.lcd3->shownText().size());
    int steps = 0;
    while (window.lcd3->text().startsWith(QStringLiteral("COMPLETED")) && steps++ < 2 * round)
        (void)ticker->fire();
    EXPECT_GT(steps, round) << "read in full first";
    EXPECT_EQ(window.lcd3->text(), QStringLiteral("WELCOME - 2 ALBUMS AVAILABLE"));
}

struct Scaling
{
    QSize screen;
    bool vertical;
    int design;
    int expected;
};

class ScalingTest : public JukeboxTest, public ::testing::WithParamInterface<Scaling>
{
};

TEST_P(ScalingTest, RoundsHalvesToEven)
{
    writeSettings();
    startOnScreen(GetParam().screen);

    const int scaled =
        GetParam().vertical ? jukebox::aspy(GetParam().design) : jukebox::aspx(GetParam().design);
    EXPECT_EQ(scaled, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScalingTest,
    ::testing::Values(Scaling{{1024, 768}, false, 75, 96}, Scaling{{1024, 768}, false, 150, 192},
                      Scaling{{1024, 768}, true, 11, 14}, Scaling{{1024, 768}, true, 360, 461},
                      Scaling{{1280, 1024}, false, 150, 240},
                      // 1.25 and 1.5: the halves go to the even neighbour.
                      Scaling{{1000, 900}, false, 2, 2}, Scaling{{1000, 900}, false, 6, 8},
                      Scaling{{1000, 900}, true, 3, 4}, Scaling{{1000, 900}, true, 5, 8},
                      Scaling{{1000, 900}, true, -3, -4}));

TEST(Scaling, ResultBeyondThe32BitRangeIsARangeError)
{
    jukebox::aspectx = 1e10;
    EXPECT_THROW((void)jukebox::aspx(1000), std::out_of_range);
    jukebox::aspectx = 1.0;
}

TEST_F(JukeboxTest, LayoutOnlyWhenTheWindowCoversTheScreen)
{
    addAlbums(2);
    writeSettings();
    Tjukebox& window = startOnScreen(QSize(1024, 768));
    const QRect keypad = window.keypadpanel->geometry();
    ASSERT_DOUBLE_EQ(jukebox::aspectx, 1.28);

    // On the way to full screen the window passes through other sizes: they lay out nothing.
    window.resize(1000, 700);
    window.FormResize(&window);
    EXPECT_DOUBLE_EQ(jukebox::aspectx, 1.28);
    EXPECT_DOUBLE_EQ(jukebox::aspecty, 1.28);
    EXPECT_EQ(window.keypadpanel->geometry(), keypad);
    EXPECT_TRUE(window.windowState() & Qt::WindowFullScreen);

    window.resize(1024, 768);
    window.FormResize(&window);
    EXPECT_EQ(jukebox::DEFscrollamountlr, 96);
    EXPECT_EQ(jukebox::DEFscrollamountrl, 192);
    EXPECT_FALSE(jukebox::moveinprogress);
}

// The player asks for a new rest of background play when its queue runs out.
TEST_F(JukeboxTest, FrontEndRestartsTheBackgroundRest)
{
    writeSettings();
    Tjukebox& window = start();
    window.BackGroundTimerCount = 7;
    frontEnd->restartBackgroundRest();
    EXPECT_EQ(jukebox::tagOf(window.BackgroundTimer), 1);
    EXPECT_EQ(window.BackGroundTimerCount, 0);
}

TEST_F(JukeboxTest, CreditCounterShowsOnTheWindow)
{
    writeSettings(QStringLiteral("[Commercial]\nplayspercoincredit=3\n"));
    Tjukebox& window = start();

    window.credit->AddCoinCredit();
    EXPECT_EQ(window.CreditStat->text(), QStringLiteral("3"));
    EXPECT_EQ(window.lcd3->text(), QStringLiteral("COIN INSERTED - THANK YOU"));
    // A refused repeat gives the credit back through the player's front end.
    ASSERT_TRUE(window.credit->UseCredit());
    frontEnd->RefundCredit();
    EXPECT_EQ(window.credit->Credits(), 3);
    EXPECT_EQ(window.CreditStat->text(), QStringLiteral("3"));
}

// Badges, track numbers, keypad and credits are drawn in the panel face: its figures must stand on
// the line at capital height, so "0001" never reads "OOOI".
TEST_F(JukeboxTest, PanelFaceDrawsLiningFigures)
{
    writeSettings();
    start();
    QFont face(QStringLiteral("Garamond"));
    face.setPixelSize(100);
    const QFontMetricsF metrics(face);
    const QRectF capital = metrics.tightBoundingRect(QStringLiteral("H"));
    for (const QChar figure : QStringLiteral("0123456789")) {
        const QRectF shape = metrics.tightBoundingRect(QString(figure));
        EXPECT_NEAR(shape.top(), capital.top(), capital.height() * 0.1) << figure.toLatin1();
        EXPECT_NEAR(shape.bottom(), capital.bottom(), capital.height() * 0.04) << figure.toLatin1();
    }
}

TEST_F(JukeboxTest, SlowMachineCoversTheScreenWhileCoversLoad)
{
    writeSettings(QStringLiteral("SlowProcessor=1\n"));
    screens.bounds = QRect(0, 0, 1000, 750);
    const QLabel* caption = start().loadcovercaption;
    EXPECT_FALSE(caption->isHidden());
    EXPECT_EQ(caption->geometry(), QRect(0, 0, 1000, 750));
    EXPECT_EQ(caption->font().pointSize(), 40);
    EXPECT_EQ(caption->text(), QStringLiteral("Loading Album Covers"));
}

TEST_F(JukeboxTest, VideoOnTheJukeboxFillsTheCoverPanel)
{
    writeSettings();
    screens.bounds = QRect(0, 0, 1024, 768);
    Tjukebox& window = start();
    window.coverimagepanel->setGeometry(10, 10, 300, 200);
    fillScreen(window);

    EXPECT_EQ(form->mediaPlayer()->displayRect(), QRect(0, 0, 300, 200));
}

// ---- What the operator is told at start ----

// Root reads every folder whatever its rights; without these two capabilities this thread keeps to
// a folder's rights as any user does, so a folder closed to its owner is unreadable here too.
class WithoutReadingEverything
{
public:
    WithoutReadingEverything()
    {
        (void)::syscall(SYS_capget, &header_, saved_);
        std::array<__user_cap_data_struct, 2> reduced{saved_[0], saved_[1]};
        reduced[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
        (void)::syscall(SYS_capset, &header_, reduced.data());
    }
    ~WithoutReadingEverything() { (void)::syscall(SYS_capset, &header_, saved_); }
    WithoutReadingEverything(const WithoutReadingEverything&) = delete;
    WithoutReadingEverything& operator=(const WithoutReadingEverything&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

struct LibraryFolderCase
{
    const char* name;
    const char* says; // how the welcome line goes on after "WELCOME - 0 ALBUMS AVAILABLE - "
};

class LibraryFolderProblem : public JukeboxTest, public ::testing::WithParamInterface<LibraryFolderCase>
{
};

// A library folder the albums cannot be read from leaves the jukebox without albums; its welcome
// line says why, naming the folder, and so does the error log.
TEST_P(LibraryFolderProblem, TheWelcomeLineSaysWhyNoAlbumShows)
{
    const QString folder = program.path() + QStringLiteral("/library");
    const QString kind = QString::fromLatin1(GetParam().name);
    if (kind == QLatin1String("File")) program.write(QStringLiteral("library"), "not a folder");
    if (kind == QLatin1String("Fifo")) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(folder).constData(), 0600), 0);
    }
    if (kind == QLatin1String("Unreadable")) {
        ASSERT_TRUE(QDir().mkdir(folder, QFileDevice::Permissions()));
    }
    if (kind == QLatin1String("Empty")) program.mkdir(QStringLiteral("library/Not an album"));
    libraryRoot = folder;
    program.write(QStringLiteral("errors.log"), "");
    writeSettings(QStringLiteral("ErrorLog=%1/errors.log\n").arg(program.path()));
    const WithoutReadingEverything asAnyUser;

    const Tjukebox& window = startOnScreen(QSize(800, 600));
    const QString why = QString::fromLatin1(GetParam().says).arg(folder + QLatin1Char('/'));
    EXPECT_EQ(window.lcd3->text(), (QStringLiteral("Welcome - 0 albums available - ") + why).toUpper());
    EXPECT_TRUE(QString::fromUtf8(program.read(QStringLiteral("errors.log"))).trimmed().endsWith(why));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LibraryFolderProblem,
    ::testing::Values(
        LibraryFolderCase{"Missing", "The library folder %1 (setting Path) does not exist"},
        LibraryFolderCase{"File", "The library folder %1 (setting Path) is a file, not a folder"},
        LibraryFolderCase{"Fifo", "The library folder %1 (setting Path) is a pipe (FIFO), not a folder"},
        LibraryFolderCase{"Unreadable",
                          "The library folder %1 (setting Path) cannot be read: Permission denied"},
        LibraryFolderCase{"Empty", "No album folder (Artist__Album) in %1"}),
    [](const auto& test) { return std::string(test.param.name); });

// Album folders left out are each told in the error log with the reason; when none is left, the
// welcome line says so.
TEST_F(JukeboxTest, AlbumFoldersLeftOutAreToldInTheErrorLog)
{
    program.mkdir(QStringLiteral("music/___Triple__D"));
    program.mkdir(QStringLiteral("music/Solo__"));
    const QByteArray latin1 = QFile::encodeName(libraryRoot) + "/Caf\xE9__Latin1";
    ASSERT_EQ(::mkdir(latin1.constData(), 0700), 0);
    // A name Qt cannot read is one it cannot remove either.
    const auto removeLatin1 = qScopeGuard([&] { ::rmdir(latin1.constData()); });
    program.write(QStringLiteral("errors.log"), "");
    writeSettings(QStringLiteral("ErrorLog=%1/errors.log\n").arg(program.path()));

    const Tjukebox& window = startOnScreen(QSize(800, 600));
    const QString log = QString::fromUtf8(program.read(QStringLiteral("errors.log")));
    for (const char* line :
         {"Album folder ___Triple__D left out: its name has no artist before \"__\"",
          "Album folder Solo__ left out: its name has no album after \"__\"",
          "Album folder Caf\u00E9__Latin1 left out: its name is not valid UTF-8; please rename it"})
        EXPECT_TRUE(log.contains(QString::fromUtf8(line))) << line << "\n" << log.toStdString();
    EXPECT_TRUE(window.lcd3->text().endsWith(
        QStringLiteral("No album folder (Artist__Album) in %1/: 3 left out, see the error log")
            .arg(libraryRoot)
            .toUpper()))
        << window.lcd3->text().toStdString();
}

} // namespace

// Number entry: typed digits to a queued, playing track; the displays, the credit, the passcode of
// the operator lock and the error blink.

#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <ostream>
#include <thread>
#include <gtest/gtest.h>

#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "fakespeech.h"
#include "library/inifuncs.h"
#include "numberstesting.h"
#include "player/olespeech.h"
#include "printers.h"

using jukebox::Tjukebox;

namespace {

TEST_F(NumberEntryTest, SevenDigitsQueueTheTrackAndStartIt)
{
    addLibrary(3);
    Tjukebox& jb = open();

    type("0001002");

    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/2")});
    EXPECT_EQ(opened(), QStringList{folderName(1) + QStringLiteral("/track02.mp3")});
    EXPECT_TRUE(playing());
    // The entry is cleared for the next guest and the keypad is free again.
    EXPECT_EQ(jb.lcdtext1->text(), QStringLiteral("    "));
    EXPECT_EQ(jb.lcdtext2->text(), QStringLiteral("   "));
    EXPECT_EQ(jukebox::lcd1count, 1);
    EXPECT_FALSE(jukebox::keypadlocked);
    EXPECT_TRUE(jb.playstimer->isEnabled());

    // A second selection while the first plays joins the queue and tells the guest.
    type("0003001");
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/2"), QStringLiteral("3/1")}));
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Added Track: T1"));
    EXPECT_EQ(opened().size(), 1);
    // Enter completes each field early.
    type("2E3E");
    EXPECT_EQ(queue().last(), QStringLiteral("2/3"));
    EXPECT_FALSE(blinking());
}

// "DJ On" means the DJ is on from the start: the first guest selection is announced, with no
// activation of the player window before it; an activation still presses the button.
TEST_F(NumberEntryTest, WithTheDjOnFromTheStartTheFirstSelectionIsAnnounced)
{
    FakeSpeech speech;
    addLibrary(3);
    open(QStringLiteral("DJ On=1\n"));

    type("0001002");

    EXPECT_TRUE(playing());
    EXPECT_TRUE(speech.texts().join(u' ').contains(QStringLiteral("T2")))
        << speech.texts().join(u'|').toStdString();
    form->dj->setChecked(false);
    form->FormActivate(form.get());
    EXPECT_TRUE(form->dj->isChecked());
    player::resetspeech();
}

TEST_F(NumberEntryTest, AlbumOfFourDigitsAndTrackFiveOfALargeLibrary)
{
    addLibrary(1234, [](int n) { return n == 1234 ? 6 : 1; });
    const QString log = program.path() + QStringLiteral("/plays.log");
    Tjukebox& jb = open(QStringLiteral("[Commercial]\ntrackslogfile=%1\n").arg(log));

    type("1234005");

    EXPECT_EQ(form->Dalbumlist->currentIndex(), 1233);
    EXPECT_EQ(form->dtracklist->currentRow(), 4);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1234/5")});
    EXPECT_EQ(opened(), QStringList{folderName(1234) + QStringLiteral("/track05.mp3")});
    EXPECT_TRUE(playing());
    QFile plays(log);
    ASSERT_TRUE(plays.open(QIODevice::ReadOnly));
    const QString line = QString::fromUtf8(plays.readAll());
    EXPECT_TRUE(line.contains(QStringLiteral("Artist 1234"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("T5"))) << line.toStdString();
    (void)jb;
}

struct Display
{
    const char* keys;
    const char* album;
    const char* track;
    int lcd1count;
    int lcd2count;
    int field;
    bool blink;
};

void PrintTo(const Display& display, std::ostream* os)
{
    *os << display.keys;
}

class EntryDisplay : public NumberEntryTest, public ::testing::WithParamInterface<Display>
{
};

TEST_P(EntryDisplay, ShowsTypedDigitsRightAlignedAndPadsOnEnter)
{
    addLibrary(2);
    Tjukebox& jb = open();
    type(GetParam().keys);

    EXPECT_EQ(jb.lcdtext1->text(), QString::fromLatin1(GetParam().album));
    EXPECT_EQ(jb.lcdtext2->text(), QString::fromLatin1(GetParam().track));
    EXPECT_EQ(jukebox::lcd1count, GetParam().lcd1count);
    EXPECT_EQ(jukebox::lcd2count, GetParam().lcd2count);
    EXPECT_EQ(jukebox::lcdpanelcurrent, GetParam().field);
    EXPECT_EQ(blinking(), GetParam().blink);
    EXPECT_TRUE(queue().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Keys, EntryDisplay,
                         ::testing::Values(Display{"1", "   1", "   ", 2, 1, 0, false},
                                           Display{"12", "  12", "   ", 3, 1, 0, false},
                                           Display{"7E", "0007", "   ", 5, 1, 1, true},
                                           Display{"12E", "0012", "   ", 5, 1, 1, true},
                                           Display{"123E", "0123", "   ", 5, 1, 1, true},
                                           // Enter alone completes the album field blank: number 0, no error.
                                           Display{"E", "    ", "   ", 5, 1, 1, false},
                                           // A fifth digit goes to the track field.
                                           Display{"00015", "0001", "  5", 5, 2, 1, false},
                                           Display{"0001E", "0001", "   ", 5, 4, 1, true},
                                           Display{"00014E", "0001", "004", 5, 4, 1, true},
                                           Display{"12C", "    ", "   ", 1, 1, 0, false},
                                           // A digit after a complete track (9: none) starts a new album.
                                           Display{"00010092", "   2", "   ", 2, 1, 0, true},
                                           Display{"00012C", "    ", "   ", 1, 1, 0, false}));

// `dtracklist` still holds the album chosen before: its tracks must not be queued under another number.
TEST_F(NumberEntryTest, TrackDigitsAfterAnInvalidOrBlankOrRowlessAlbumQueueNothing)
{
    addLibrary(2);
    open();
    type("0002");
    ASSERT_EQ(form->dtracklist->count(), 3);
    type("C0009001");
    EXPECT_TRUE(blinking());
    finishBlink();
    type("E001");
    EXPECT_TRUE(blinking());
    finishBlink();
    // An album counted in the library but missing from the player's rows cannot be chosen there.
    library::albumcount = 3;
    library::album.resize(4);
    type("0003001");
    EXPECT_TRUE(blinking());
    EXPECT_TRUE(queue().isEmpty());
    EXPECT_TRUE(opened().isEmpty());
}

// Without a credit the selection is refused; a credit pays for one valid track only, and a track
// already queued gives it back.
TEST_F(NumberEntryTest, ACreditPaysForOneValidNewTrack)
{
    addLibrary(2);
    Tjukebox& jb = open();
    library::config.creditsystem = true;
    library::config.norepeat = true;

    type("0001001");
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("NO CREDITS - INSERT COIN"));
    EXPECT_TRUE(queue().isEmpty());
    EXPECT_TRUE(opened().isEmpty());
    EXPECT_TRUE(blinking());
    // The blink, not the step, unlocks the keypad, and then clears the entry.
    EXPECT_TRUE(jukebox::keypadlocked);
    finishBlink();
    EXPECT_FALSE(jukebox::keypadlocked);
    EXPECT_EQ(jukebox::lcd1count, 1);

    jb.credit->AddFreeCredit();
    jb.credit->AddFreeCredit();
    type("0001007"); // no track 7
    EXPECT_TRUE(blinking());
    EXPECT_EQ(jb.credit->Credits(), 2);
    finishBlink();
    type("0002003");
    type("0002003");
    EXPECT_EQ(queue(), QStringList{QStringLiteral("2/3")});
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("NO CREDIT TAKEN - TRACK ALREADY IN QUEUE"));
    EXPECT_EQ(jb.credit->Credits(), 1);
}

TEST_F(NumberEntryTest, PasscodeAfterAlbumZeroTogglesTheOperatorLock)
{
    addLibrary(2);
    Tjukebox& jb = open();
    type("0000123"); // no passcode set
    EXPECT_TRUE(blinking());
    finishBlink();
    library::config.password = QStringLiteral("12");
    type("000012E"); // "012" is not "12": the passcode is compared as text
    EXPECT_TRUE(blinking());
    finishBlink();
    EXPECT_FALSE(library::config.lock);

    library::config.password = QStringLiteral("123");
    jb.kioskpanelpanel->show();

    type("0000123");
    EXPECT_TRUE(library::config.lock);
    EXPECT_TRUE(jb.kioskpanelpanel->isHidden());
    EXPECT_TRUE(jb.lcdtext1->text().isEmpty());
    EXPECT_TRUE(jb.lcdtext2->text().isEmpty());
    EXPECT_FALSE(blinking());
    library::config.lock = false;
    library::readini();
    EXPECT_TRUE(library::config.lock) << "the lock is written to the settings";

    type("0000123");
    EXPECT_FALSE(library::config.lock);
    EXPECT_FALSE(jb.kioskpanelpanel->isHidden());
    EXPECT_TRUE(queue().isEmpty());
}

TEST_F(NumberEntryTest, ErrorBlinkTakesTenTicksAndPutsTheMessageBack)
{
    addLibrary(2);
    Tjukebox& jb = open();
    jb.domessage(QStringLiteral("Hello there"));
    type("9");
    // A Clear outside a blink must not shorten the next blink.
    jb.numClick(jb.numlabel11);
    type("9999");
    ASSERT_TRUE(blinking());

    for (int tick = 1; tick <= 9; ++tick) {
        ticker(jb.errortimer).fire();
        EXPECT_EQ(jb.lcdtext1->isHidden(), tick % 2 == 1) << "tick " << tick;
        EXPECT_TRUE(jukebox::keypadlocked);
        EXPECT_EQ(jb.lcd3->text(), QStringLiteral("           Error"));
        EXPECT_TRUE(blinking()) << "tick " << tick;
    }
    ticker(jb.errortimer).fire();
    EXPECT_FALSE(blinking());
    EXPECT_EQ(jb.lcd3->text(), QStringLiteral("Hello there"));
    EXPECT_FALSE(jb.lcdtext1->isHidden());
    EXPECT_EQ(jb.lcdtext1->text(), QStringLiteral("    "));
    EXPECT_FALSE(jukebox::keypadlocked);
    EXPECT_EQ(jukebox::errortime, 0);

    // Clear during a blink ends it at its next tick.
    type("9999");
    ticker(jb.errortimer).fire();
    jb.numClick(jb.numlabel11);
    EXPECT_TRUE(blinking());
    ticker(jb.errortimer).fire();
    EXPECT_FALSE(blinking());
    EXPECT_FALSE(jb.lcdtext1->isHidden());
}

TEST_F(NumberEntryTest, EachStepPausesShowsItsKeyPressedAndTakesTouchesAfterIt)
{
    addLibrary(2);
    Tjukebox& jb = open();
    jukebox::lcddelay = 20;
    jb.numButUp();
    const QImage up = jb.num7->picture();
    QImage during;
    duringPause = [&] { during = jb.num7->picture(); };

    jb.numClick(jb.numlabel7); // the caption "1"

    EXPECT_EQ(jb.lcdtext1->text(), QStringLiteral("   1"));
    EXPECT_EQ(pauses, QList<int>{20});
    EXPECT_NE(during, up);
    EXPECT_EQ(jb.num7->picture(), up);

    // A key touched while a step waits ("3") is not entered half-way through it, but right after it;
    // while an album is being added, touches are refused.
    int touches = 0;
    duringPause = [&] {
        if (touches++ == 0) jb.numClick(jb.numlabel9);
    };
    jb.numClick(jb.numlabel7);
    duringPause = nullptr;
    EXPECT_EQ(jb.lcdtext1->text(), QStringLiteral(" 113"));

    jukebox::noinput = true;
    jb.numClick(jb.numlabel8);
    jukebox::noinput = false;
    EXPECT_EQ(jb.lcdtext1->text(), QStringLiteral(" 113"));
}

// The guest touches the keys: each of the thirteen enters what its caption says.
TEST_F(NumberEntryTest, EveryKeypadKeyEntersItsOwnCaption)
{
    addLibrary(2);
    Tjukebox& jb = open();
    fillScreen(jb);
    jb.numClick(jb.numlabel13); // an empty queue: nothing to cancel
    type("0001001");
    type("0002002");
    QStringList captions;
    for (jukebox::TextLabel* key :
         {jb.numlabel1, jb.numlabel2, jb.numlabel3, jb.numlabel4, jb.numlabel5, jb.numlabel6, jb.numlabel7,
          jb.numlabel8, jb.numlabel9, jb.numlabel10, jb.numlabel11, jb.numlabel12, jb.numlabel13}) {
        const QString caption = key->text();
        captions << caption;
        type(caption == QStringLiteral("Clear") ? "12" : caption == QStringLiteral("Enter") ? "C7" : "C");
        QTest::mouseClick(key, Qt::LeftButton);
        if (caption == QStringLiteral("Cancel Last Entry")) {
            EXPECT_EQ(queue(), QStringList{QStringLiteral("1/1")});
        } else {
            const QString shown = caption == QStringLiteral("Clear")   ? QStringLiteral("    ")
                                  : caption == QStringLiteral("Enter") ? QStringLiteral("0007")
                                                                       : QStringLiteral("   ") + caption;
            EXPECT_EQ(jb.lcdtext1->text(), shown) << caption.toStdString();
        }
    }
    captions.sort();
    EXPECT_EQ(captions.join(u' '), QStringLiteral("0 1 2 3 4 5 6 7 8 9 Cancel Last Entry Clear Enter"));
}

TEST_F(NumberEntryTest, SelectionFadesBackgroundPlayOutWithoutStoppingThePlayer)
{
    addLibrary(2);
    Tjukebox& jb = open();
    jukebox::initautoplay();
    jukebox::startautoplay();
    ASSERT_TRUE(jukebox::autoplaying);
    fake().clearCommands();

    type("0002001");

    // Thirty steps of 100 ms: the entry waited for the whole fade.
    EXPECT_EQ(pauses.count(10), 30);
    EXPECT_FALSE(jb.fadetimer->isEnabled());
    EXPECT_FALSE(fake().commands().contains(QStringLiteral("stop")))
        << fake().commands().join(u',').toStdString();
    EXPECT_FALSE(jukebox::autoplaying);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("2/1")});
    EXPECT_EQ(opened(), QStringList{folderName(2) + QStringLiteral("/track01.mp3")})
        << fake().commands().join(u',').toStdString();
}

// Touches the keypad keys captioned with the digits of `digits`.
void touch(Tjukebox& jb, const QString& digits)
{
    const QList<jukebox::TextLabel*> keys{jb.numlabel1, jb.numlabel2, jb.numlabel3, jb.numlabel4,
                                          jb.numlabel5, jb.numlabel6, jb.numlabel7, jb.numlabel8,
                                          jb.numlabel9, jb.numlabel10};
    for (const QChar digit : digits) {
        const auto key = std::find_if(keys.cbegin(), keys.cend(),
                                      [digit](const jukebox::TextLabel* k) { return k->text() == digit; });
        ASSERT_NE(key, keys.cend()) << digit.toLatin1();
        QTest::mouseClick(*key, Qt::LeftButton);
    }
}

// A guest keys a second selection while the first one fades background play out: every touch
// counts, the fade ends at the first of them, and both tracks are queued and logged.
TEST_F(NumberEntryTest, SelectionsKeyedDuringTheBackgroundFadeAreAllQueued)
{
    addLibrary(3);
    const QString logPath = program.file(QStringLiteral("plays.log"));
    Tjukebox& jb = open(QStringLiteral("[Commercial]\ntrackslogfile=%1\n").arg(logPath));
    fillScreen(jb);
    jukebox::initautoplay();
    jukebox::startautoplay();
    ASSERT_TRUE(jukebox::autoplaying);
    bool keyedDuringFade = false;
    duringPause = [&] {
        if (!jb.fadetimer->isEnabled() || keyedDuringFade) return;
        keyedDuringFade = true;
        touch(jb, QStringLiteral("0002002"));
    };

    touch(jb, QStringLiteral("0001001"));

    ASSERT_TRUE(keyedDuringFade);
    EXPECT_EQ(queue(), (QStringList{QStringLiteral("1/1"), QStringLiteral("2/2")}));
    EXPECT_LT(pauses.count(10), 30) << "the guest waited for the whole fade";
    EXPECT_FALSE(jb.fadetimer->isEnabled());
    const QByteArray log = program.read(QStringLiteral("plays.log"));
    EXPECT_TRUE(log.contains("Album 0001") && log.contains("Album 0002")) << log.toStdString();
    EXPECT_EQ(jb.lcdtext1->text(), QStringLiteral("    "));
    EXPECT_FALSE(jukebox::keypadlocked);
}

// Runs `wait` (a wait on the window thread) while the program is asked to end 50 ms in: the event
// loops no longer run then, so a wait that polls them must end instead of spinning for good (one
// once grew until the system killed the program). A wait that never ends fails the test program.
void endsWhenAStopIsAsked(const std::function<void()>& wait, const char* what)
{
    QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
    std::promise<void> returned;
    std::thread watchdog([done = returned.get_future(), what] {
        if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return;
        std::fprintf(stderr, "FAILED: %s went on waiting after the stop\n", what);
        std::_Exit(1);
    });
    wait();
    returned.set_value();
    watchdog.join();
    // The event loops run again for the tests that follow.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// A selection waiting for the background fade, and the player waiting while an operator picks a
// cover from the thumbnails.
TEST_F(NumberEntryTest, AStopEndsTheFadesWaitKeepingTheSelectionAndEndsACoverPick)
{
    addLibrary(2);
    Tjukebox& jb = open();
    fillScreen(jb);
    jukebox::initautoplay();
    jukebox::startautoplay();
    ASSERT_TRUE(jukebox::autoplaying);
    jukebox::setentrypause({});

    endsWhenAStopIsAsked([&] { touch(jb, QStringLiteral("0001001")); }, "the selection");
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/1")});
    EXPECT_FALSE(jb.fadetimer->isEnabled());

    endsWhenAStopIsAsked([&] { EXPECT_EQ(frontEnd->pickcover(), -1); }, "the cover pick");
}

// What stands in the place of an album's "title.dat": a link out of the library, or a folder.
enum class InTheWay { LinkToFifo, LinkToMissingPath, LinkToFile, Folder };

class UnwritableTitlesTest : public NumberEntryTest, public ::testing::WithParamInterface<InTheWay>
{
};

// Choosing the album tries to make its titles: nothing is made where a link leads, and only the
// album's own tracks are offered, never those of the album chosen before it.
TEST_P(UnwritableTitlesTest, NothingIsWrittenOutsideAndOnlyTheAlbumsOwnTracksAreOffered)
{
    addLibrary(2, [](int n) { return n == 1 ? 6 : 2; });
    const QString titles = program.file(QStringLiteral("music/%1/title.dat").arg(folderName(2)));
    const QString target = program.mkdir(QStringLiteral("outside")) + QStringLiteral("/target");
    QFile::remove(titles);
    if (GetParam() == InTheWay::LinkToFifo) program.makeFifo(QStringLiteral("outside/target"));
    if (GetParam() == InTheWay::LinkToFile) program.write(QStringLiteral("outside/target"), "Outside\n");
    ASSERT_TRUE(GetParam() == InTheWay::Folder ? std::filesystem::create_directory(titles.toStdString())
                                               : QFile::link(target, titles));
    const auto kind = [&target] { return std::filesystem::symlink_status(target.toStdString()).type(); };
    const auto before = kind();
    open();
    type("0001C0002005");
    EXPECT_TRUE(blinking()) << "a track beyond the album's own was taken";
    finishBlink();
    type("C0002001");
    EXPECT_EQ(queue(), QStringList{QStringLiteral("2/1")});
    EXPECT_EQ(kind(), before);
}

INSTANTIATE_TEST_SUITE_P(Titles, UnwritableTitlesTest,
                         ::testing::Values(InTheWay::LinkToFifo, InTheWay::LinkToMissingPath,
                                           InTheWay::LinkToFile, InTheWay::Folder));

} // namespace

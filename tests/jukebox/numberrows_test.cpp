// Selections made without typing: track-list rows, search picks and "Add All"; the copy of a track
// with Control held; and the keypad's press areas.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWindow>
#include <ostream>
#include <gtest/gtest.h>

#include "controls/transparentpanel.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "numberstesting.h"
#include "printers.h"
#include "skins/resourceskins.h"

using jukebox::Tjukebox;

namespace {

// Holds the Control key down for the whole application while it lives.
class ControlHeld
{
public:
    ControlHeld() { QTest::keyPress(&window_, Qt::Key_Control, Qt::ControlModifier); }
    ~ControlHeld() { QTest::keyRelease(&window_, Qt::Key_Control, Qt::NoModifier); }

private:
    QWindow window_;
};

class RowSelectionTest : public NumberEntryTest
{
protected:
    // Chooses row `row` of the upper page's list and touches it.
    void touch(controls::TScrollListbox& list, int row)
    {
        list.setitemindex(row);
        window->lsbClick(&list);
    }
};

// A row keys in the digits of its album and track; pages leave out empty title lines, so a row's
// place is not its track number.
TEST_F(RowSelectionTest, ARowKeysInTheDigitsOfTheTrackItCarries)
{
    addLibrary(12);
    program.write(QStringLiteral("music/%1/title.dat").arg(folderName(12)), "T1\n\nT3\n");
    Tjukebox& jb = open();
    QStringList shown;
    duringPause = [&] { shown << jb.lcdtext1->text() + u'|' + jb.lcdtext2->text(); };
    // Album 12 stands on the lower page beside album 11.
    fillScreen(jb);
    jukebox::currentalbum = 11;
    jb.drawalbum(11);
    ASSERT_EQ(jukebox::tagOf(jb.lsb2), 12);

    touch(*jb.lsb2, 0);

    EXPECT_EQ(queue(), QStringList{QStringLiteral("12/1")});
    EXPECT_TRUE(playing());
    ASSERT_GE(shown.size(), 7);
    EXPECT_EQ(shown.mid(0, 7),
              (QStringList{QStringLiteral("    |   "), QStringLiteral("   0|   "), QStringLiteral("  00|   "),
                           QStringLiteral(" 001|   "), QStringLiteral("0012|   "), QStringLiteral("0012|  0"),
                           QStringLiteral("0012| 00")}));
    duringPause = nullptr;
    touch(*jb.lsb2, 1);
    EXPECT_EQ(queue().last(), QStringLiteral("12/3"));
}

TEST_F(RowSelectionTest, RowTouchesWaitForABlinkOrAStepToEnd)
{
    addLibrary(2);
    Tjukebox& jb = open();
    fillList(*jb.lsb1, 1, {1, 2, 3});

    type("9999");
    ASSERT_TRUE(blinking());
    touch(*jb.lsb1, 0);
    EXPECT_TRUE(queue().isEmpty());
    finishBlink();

    jukebox::keypadlocked = true;
    touch(*jb.lsb1, 0);
    jukebox::keypadlocked = false;
    touch(*jb.lsb1, -1); // no row chosen
    EXPECT_TRUE(queue().isEmpty());
    touch(*jb.lsb1, 0);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/1")});
}

TEST_F(RowSelectionTest, ATrackBeyondThreeDigitsIsQueuedWithoutACredit)
{
    addLibrary(1, [](int) { return 1000; });
    Tjukebox& jb = open();
    library::config.creditsystem = true;
    jukebox::autoplaying = true;
    fillList(*jb.lsb1, 1, {1000});

    touch(*jb.lsb1, 0);

    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/1000")});
    EXPECT_TRUE(playing());
    EXPECT_EQ(jb.credit->Credits(), 0);
    EXPECT_FALSE(jukebox::autoplaying);
    EXPECT_EQ(jukebox::lcd1count, 1);
}

// Five album digits would run over into the track number and choose another album and track.
TEST_F(RowSelectionTest, AnAlbumBeyondFourDigitsIsChosenDirectly)
{
    addLibrary(1);
    Tjukebox& jb = open();
    constexpr int kFar = 10000;
    for (int row = form->Dalbumlist->count(); row < kFar; ++row)
        form->Dalbumlist->addItem(QStringLiteral("Filler %1").arg(row));
    library::album.resize(kFar + 1);
    library::album[kFar] = library::album.at(1);
    library::albumcount = kFar;
    fillList(*jb.lsb1, kFar, {1, 2});

    touch(*jb.lsb1, 1);

    EXPECT_EQ(form->Dalbumlist->currentIndex(), kFar - 1);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/2")});
}

TEST_F(RowSelectionTest, SearchPickShowsTheAlbumAndKeysInTheTrack)
{
    addLibrary(4);
    open();

    window->searchpanellbclick(3, 2);
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("3/2")});

    // An album alone is only shown, on the page whose upper album is odd.
    window->searchpanellbclick(4, -1);
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_EQ(queue().size(), 1);

    // A pick while a step waits is not keyed in half-way through it.
    duringPause = [this] { window->searchpanellbclick(2, 1); };
    type("1");
    duringPause = nullptr;
    EXPECT_EQ(queue().size(), 1);
}

TEST_F(RowSelectionTest, AddAllQueuesTheWholeAlbumWithoutCredits)
{
    addLibrary(3, [](int n) { return n == 2 ? 10 : 2; });
    Tjukebox& jb = open();
    library::config.creditsystem = true;
    fillList(*jb.lsb1, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});

    jb.playall(jb.lsb1);

    ASSERT_EQ(queue().size(), 10);
    EXPECT_EQ(queue().first(), QStringLiteral("2/1"));
    EXPECT_EQ(queue().last(), QStringLiteral("2/10"));
    EXPECT_EQ(opened(), QStringList{folderName(2) + QStringLiteral("/track01.mp3")});
    EXPECT_TRUE(playing());
    EXPECT_EQ(jb.credit->Credits(), 0);
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Added Album"));
    EXPECT_FALSE(jukebox::noinput);
    EXPECT_EQ(jukebox::lcddelay, 0);

    // Tracks already queued are refused again without giving credits that were never taken.
    library::config.norepeat = true;
    jb.playall(jb.lsb1);
    EXPECT_EQ(queue().size(), 10);
    EXPECT_EQ(jb.credit->Credits(), 0);

    // The list of no real album (the filler) adds nothing.
    fillList(*jb.lsb2, 4, {});
    jb.playall(jb.lsb2);
    EXPECT_EQ(queue().size(), 10);
}

TEST_F(RowSelectionTest, ControlAndARowCopiesTheTrackInsteadOfQueueing)
{
    addLibrary(2);
    Tjukebox& jb = open();
    const QString copies = program.mkdir(QStringLiteral("copies"));
    library::config.copytrackdest = copies;
    fillList(*jb.lsb1, 1, {1, 2, 3});
    const QString target = copies + QStringLiteral("/T2-Artist 0001 - Album 0001.mp3");

    {
        const ControlHeld control;
        touch(*jb.lsb1, 1);
    }
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Finished copying track to ") + target);
    EXPECT_TRUE(queue().isEmpty());

    // A copy that fails says so.
    ASSERT_TRUE(QFile::remove(program.path() + QStringLiteral("/music/") + folderName(1) +
                              QStringLiteral("/track03.mp3")));
    {
        const ControlHeld control;
        touch(*jb.lsb1, 2);
    }
    EXPECT_TRUE(jukebox::oldmessage.startsWith(QStringLiteral("Could not copy track to ")))
        << jukebox::oldmessage.toStdString();
    EXPECT_EQ(QDir(copies).entryList(QDir::Files), QStringList{QFileInfo(target).fileName()});

    // A very long title is cut so that the whole name, ".mp3" included, is one valid file name.
    program.write(QStringLiteral("music/%1/title.dat").arg(folderName(1)),
                  "T1\n" + QByteArray(300, 'x') + "\nT3\n");
    {
        const ControlHeld control;
        touch(*jb.lsb1, 1);
    }
    const QStringList names = QDir(copies).entryList({QStringLiteral("xxx*")}, QDir::Files);
    ASSERT_EQ(names.size(), 1) << jukebox::oldmessage.toStdString();
    EXPECT_EQ(names.first().toUtf8().size(), 255);
    EXPECT_TRUE(names.first().endsWith(QStringLiteral(".mp3")));

    // Without Control the row is a selection.
    touch(*jb.lsb1, 0);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/1")});
}

struct Press
{
    int x; // keypad pixels of the 800 x 600 design
    int y;
    const char* key; // the key image shown pressed, or nothing
};

void PrintTo(const Press& press, std::ostream* os)
{
    *os << press.x << ',' << press.y;
}

class KeypadPress : public NumberEntryTest, public ::testing::WithParamInterface<Press>
{
};

TEST_P(KeypadPress, ShowsTheKeyUnderTheTouchPressed)
{
    addLibrary(1);
    Tjukebox& jb = open();
    fillScreen(jb);
    jb.numButUp();
    const QImage down =
        skins::LoadSkinResource(QStringLiteral("KEYPADDOWN"), library::config.theme.skeypad.Skin,
                                library::config.theme.skeypad.Color, false);
    const QImage wideDown =
        skins::LoadSkinResource(QStringLiteral("WIDEBUTDOWN"), library::config.theme.skeypad.Skin,
                                library::config.theme.skeypad.Color, false);
    // The touch arrives at whichever caption lies under it; the first one here.
    jukebox::TextLabel* label = jb.numlabel1;
    jb.rightpanelpicMouseDown(label, Qt::LeftButton, Qt::NoModifier, GetParam().x - label->x(),
                              GetParam().y - label->y());

    QStringList pressed;
    for (jukebox::PictureBox* key : jb.keypadpanel->findChildren<jukebox::PictureBox*>()) {
        if (key->picture() == down || key->picture() == wideDown) pressed << key->objectName();
    }
    const QString expected = QString::fromLatin1(GetParam().key);
    EXPECT_EQ(pressed, expected.isEmpty() ? QStringList() : QStringList{expected});

    jb.keypadpanelMouseUp(jb.keypadpanel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    for (jukebox::PictureBox* key : jb.keypadpanel->findChildren<jukebox::PictureBox*>())
        EXPECT_NE(key->picture(), down) << key->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Areas, KeypadPress,
                         ::testing::Values(Press{4, 4, "num1"}, Press{46, 44, "num1"}, Press{3, 10, ""},
                                           Press{47, 10, ""}, Press{49, 10, "num2"}, Press{134, 177, "num12"},
                                           Press{100, 90, ""}, Press{60, 100, "num8"},
                                           Press{10, 150, "num10"}, Press{10, 190, "num13"},
                                           Press{136, 200, "num13"}, Press{137, 190, ""},
                                           Press{10, 201, ""}));

} // namespace

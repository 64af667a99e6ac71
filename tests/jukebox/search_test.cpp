// The search panel as a guest uses it: open it at its corner, type a keyword, press Search, touch
// a result.

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/scrolllistbox.h"
#include "fakesystem.h"
#include "jukebox/editbox.h"
#include "jukebox/picturebox.h"
#include "jukebox/searchthread.h"
#include "jukebox/searchtrack.h"
#include "library/osk.h"
#include "numberstesting.h"
#include "printers.h"

namespace {

class SearchTest : public NumberEntryTest
{
protected:
    // Albums by folder name (in their sorted order) with their titles.
    void addAlbum(const QString& folder, const QByteArray& titles)
    {
        program.write(QStringLiteral("music/%1/title.dat").arg(folder), titles);
        program.write(QStringLiteral("music/%1/track01.mp3").arg(folder), "ID3");
    }

    jukebox::ttracksearch& openPanel(const QString& settings = QString())
    {
        jukebox::Tjukebox& jb = open(settings);
        fillScreen(jb);
        QTest::mouseClick(jb.panel_searchbut_image, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        return *jukebox::searchpanel;
    }

    // Types `keyword` and presses Search; the message line once the search completed.
    QString search(jukebox::ttracksearch& panel, const QString& keyword)
    {
        panel.keywords->clear();
        QTest::keyClicks(panel.keywords, keyword);
        jukebox::oldmessage.clear();
        QTest::mouseClick(panel.action_but, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_TRUE(QTest::qWaitFor([] { return jukebox::oldmessage.startsWith(QStringLiteral("Search")); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return panel.st->isFinished(); }));
        return jukebox::oldmessage;
    }

    static QStringList rows(const jukebox::ttracksearch& panel) { return panel.lb->items().strings(); }

    FakeProcesses processes;
};

TEST_F(SearchTest, AlbumRowThenMatchingTitlesThenTheAlbumsOtherTracksEachOnce)
{
    addAlbum(QStringLiteral("Abba__Gold"), "Beat It\nMamma Mia\n");
    addAlbum(QStringLiteral("Band__Beat Street"), "Intro\nHeartBEAT\n\nOutro\n");
    jukebox::ttracksearch& panel = openPanel();
    ASSERT_TRUE(panel.isVisibleTo(jukebox::jukebox));

    EXPECT_EQ(search(panel, QStringLiteral("beat")), QStringLiteral("Search completed. Found 5 items"));
    EXPECT_EQ(rows(panel),
              (QStringList{QStringLiteral("Band, Beat Street"), QStringLiteral("Beat It - Abba, Gold"),
                           QStringLiteral("HeartBEAT - Band, Beat Street"),
                           QStringLiteral("Intro - Band, Beat Street"),
                           QStringLiteral("Outro - Band, Beat Street")}));
}

// A titles file that is not UTF-8 only in its last line is read as Windows-1252 throughout: every
// row reads so, and the lines read before that was known are listed once.
TEST_F(SearchTest, TitlesFoundNotToBeUtf8FarDownListEachRowOnceInWindows1252)
{
    addAlbum(QStringLiteral("Abba__Gold"),
             QByteArray("Caf\xc3\xa9 Love\n").repeated(3'000) + "Love \xe9t\xe9\n");
    jukebox::ttracksearch& panel = openPanel();
    EXPECT_EQ(search(panel, QStringLiteral("love")), QStringLiteral("Search completed. Found 3001 items"));
    const QStringList listed = rows(panel);
    ASSERT_EQ(listed.size(), 3'001);
    EXPECT_EQ(listed.first(), QStringLiteral("Caf\u00c3\u00a9 Love - Abba, Gold"));
    EXPECT_EQ(listed.last(), QStringLiteral("Love \u00e9t\u00e9 - Abba, Gold"));
}

// Titles beyond the selectable rows (999 of three digits) are not found.
TEST_F(SearchTest, StatusCountsAndAnEmptyKeywordOrAnUnselectableTitleFindsNothing)
{
    addAlbum(QStringLiteral("Abba__Gold"),
             "Beat It\nMamma Mia\n" + QByteArray("x\n").repeated(9997) + "Deep Cut\n");
    jukebox::ttracksearch& panel = openPanel();
    EXPECT_EQ(search(panel, QStringLiteral("mia")), QStringLiteral("Search completed. Found 1 item"));
    EXPECT_EQ(search(panel, QStringLiteral("deep")), QStringLiteral("Search completed. Found 0 items"));
    EXPECT_EQ(search(panel, QStringLiteral("zebra")), QStringLiteral("Search completed. Found 0 items"));
    EXPECT_EQ(search(panel, QString()), QStringLiteral("Search completed. Found 0 items"));
    EXPECT_TRUE(rows(panel).isEmpty());
}

class SearchBoundTest : public SearchTest, public ::testing::WithParamInterface<bool>
{
};

// A library whose titles match without end lists the first rows found, in order, up to the bound,
// and says how many more there were: at the bound nothing is left out, one past it one row is.
TEST_P(SearchBoundTest, AHostileLibraryListsRowsUpToTheBoundAndSaysHowManyMore)
{
    const bool onePast = GetParam();
    const int bound = jukebox::tsearchthread::kMaxRows;
    QByteArray titles;
    for (int t = 1; t <= bound - 2; ++t)
        titles += "Love " + QByteArray::number(t) + "\n";
    // The album row, its matching titles and its one other title: exactly the bound.
    addAlbum(QStringLiteral("Band__Love"), titles + "Other\n");
    // One past: a matching title in an album before it.
    addAlbum(QStringLiteral("Abba__Gold"), onePast ? "Love Me\n" : "Nothing\n");
    jukebox::ttracksearch& panel = openPanel();
    const QString found = QStringLiteral("Search completed. Found %1 items").arg(bound);
    EXPECT_EQ(search(panel, QStringLiteral("love")),
              onePast ? found + QStringLiteral(", 1 more not listed") : found);
    const QStringList listed = rows(panel);
    ASSERT_EQ(listed.size(), bound);
    EXPECT_EQ(listed.first(), QStringLiteral("Band, Love"));
    EXPECT_EQ(listed.at(1),
              onePast ? QStringLiteral("Love Me - Abba, Gold") : QStringLiteral("Love 1 - Band, Love"));
    EXPECT_EQ(listed.last(), onePast ? QStringLiteral("Love %1 - Band, Love").arg(bound - 2)
                                     : QStringLiteral("Other - Band, Love"));
}

INSTANTIATE_TEST_SUITE_P(AtAndPastTheBound, SearchBoundTest, ::testing::Bool());

// "0001001", Backspace and Enter typed into the search, and a key after a step of the background
// fade, are the keyword's: no selection, no credit, no queue entry cancelled.
TEST_F(SearchTest, KeysTypedIntoTheSearchBelongToItAlone)
{
    addLibrary(3);
    jukebox::ttracksearch& panel = openPanel();
    library::config.creditsystem = true;
    window->credit->AddFreeCredit();
    window->credit->AddFreeCredit();
    type("0002001");
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_EQ(QApplication::focusWidget(), panel.keywords);
    QTest::keyClicks(panel.keywords, QStringLiteral("0001001\b2\r"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.st && panel.st->isFinished(); }));
    form->volChange(form->vol);
    QTest::keyClick(window->windowHandle(), Qt::Key_3);
    EXPECT_EQ(panel.keywords->text(), QStringLiteral("00010023"));
    EXPECT_EQ(queue(), QStringList{QStringLiteral("2/1")});
    EXPECT_EQ(window->credit->Credits(), 1);
    QTest::keyClick(window->windowHandle(), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(window->credit->Credits(), 1 + library::config.playspercoincredit);
    EXPECT_EQ(panel.keywords->text(), QStringLiteral("00010023"));
}

// The on-screen keyboard sends its keys to whatever has the focus. Opened again with the panel's
// "Keyboard" key after a search, it types into the search: no selection, no credit spent, no play
// logged, no page turned.
TEST_F(SearchTest, TheKeyboardKeyTypesIntoTheSearchAndBuysNothing)
{
    addLibrary(3);
    const QString logPath = program.file(QStringLiteral("plays.log"));
    jukebox::ttracksearch& panel = openPanel(QStringLiteral("[Commercial]\ntrackslogfile=%1\n").arg(logPath));
    library::config.creditsystem = true;
    window->show();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window->windowHandle(), Qt::Key_C, Qt::AltModifier);
    const int credits = window->credit->Credits();
    ASSERT_GT(credits, 0);
    const int page = jukebox::currentalbum;
    const auto osk = [&](const QString& keys) {
        for (const QChar key : keys)
            QTest::keyClick(window->windowHandle(), key.toLatin1());
    };
    osk(QStringLiteral("t\r"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.st && panel.st->isFinished(); }));
    EXPECT_FALSE(library::keyboardshowing) << "the search closes the keyboard";

    QTest::mouseClick(panel.keyboard_but, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(library::keyboardshowing);
    osk(QStringLiteral("0001001zb"));
    QTest::keyClick(window->windowHandle(), Qt::Key_Right);

    EXPECT_EQ(panel.keywords->text(), QStringLiteral("t0001001zb"));
    EXPECT_EQ(window->credit->Credits(), credits);
    EXPECT_TRUE(queue().isEmpty());
    EXPECT_TRUE(program.read(QStringLiteral("plays.log")).isEmpty());
    EXPECT_EQ(jukebox::currentalbum, page);
    EXPECT_FALSE(window->lcdtext1->text().contains(u'1'));
}

// Closed, the panel leaves no search behind: the welcome takes the line back from the search's
// message, and the next guest opens an empty box over an empty list.
TEST_F(SearchTest, ClosingThePanelEndsTheSearchAndItsMessage)
{
    addAlbum(QStringLiteral("Abba__Gold"), "Beat It\nMamma Mia\n");
    jukebox::ttracksearch& panel = openPanel();
    ASSERT_EQ(search(panel, QStringLiteral("beat")), QStringLiteral("Search completed. Found 1 item"));
    const auto corner = [this] {
        QTest::mouseClick(window->panel_searchbut_image, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    };

    corner();
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("Welcome - 1 albums available"));
    corner();
    ASSERT_TRUE(panel.isVisibleTo(window));
    EXPECT_TRUE(panel.keywords->text().isEmpty());
    EXPECT_TRUE(rows(panel).isEmpty());
}

// Shown again at the size it had, the window is not laid out anew.
TEST_F(SearchTest, AJukeboxOpenedAgainShowsItsPagesAndMovesItsMessage)
{
    addAlbum(QStringLiteral("Abba__Gold"), "Beat It\n");
    jukebox::ttracksearch& panel = openPanel();
    window->show();
    search(panel, QStringLiteral("beat"));
    frontEnd->closeJukebox();
    window->show();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(window->toppanel->isVisible());
    EXPECT_TRUE(window->lcd3->running());
}

// At the panel's top-left only the corner's round button lies over it: the keyboard key takes a
// touch anywhere on it, and the corner's square round its button lets touches through.
TEST_F(SearchTest, TheKeyboardKeyAndTheCornerSquareLieOpen)
{
    screens.bounds = QRect(0, 0, 1024, 768);
    jukebox::ttracksearch& panel = openPanel();
    window->VisualsPanelPanel->show();
    const QRect key(panel.keyboard_but->mapTo(window, QPoint(0, 0)), panel.keyboard_but->size());
    for (const QPoint point : {key.topLeft(), key.bottomRight(), key.center()})
        EXPECT_EQ(window->childAt(point), panel.keyboard_but);
    EXPECT_EQ(window->childAt(QPoint(2, 2)), window->VisualsPanel);
    EXPECT_EQ(window->childAt(window->VisualsPanelPanel->geometry().bottomRight()), &panel);
}

// Results longer than the page show as a fresh drawing of the list; a new search started while one
// runs leaves no row of the old one.
TEST_F(SearchTest, LongResultsShowWholeAndANewSearchLeavesNoRowOfTheOldOne)
{
    for (int n = 1; n <= 300; ++n)
        addAlbum(folderName(n), "Song A\nSong B\nSong C\n");
    jukebox::ttracksearch& panel = openPanel();
    ASSERT_EQ(search(panel, QStringLiteral("song")), QStringLiteral("Search completed. Found 900 items"));
    const QImage shown = panel.lb->face();
    panel.lb->Paint();
    EXPECT_EQ(panel.lb->face(), shown);

    panel.keywords->clear();
    QTest::keyClicks(panel.keywords, QStringLiteral("song"));
    QTest::mouseClick(panel.action_but, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(search(panel, QStringLiteral("nothing")), QStringLiteral("Search completed. Found 0 items"));
    QTest::qWait(50);
    EXPECT_TRUE(rows(panel).isEmpty());
}

TEST_F(SearchTest, TouchingATrackRowQueuesItAndClosesThePanel)
{
    addLibrary(3);
    jukebox::ttracksearch& panel = openPanel();
    // The strip of the track hint would lie across the results.
    EXPECT_TRUE(jukebox::TrackHintPanel->isHidden());
    ASSERT_EQ(search(panel, QStringLiteral("album 0002")), QStringLiteral("Search completed. Found 4 items"));
    const auto hit = std::find_if(panel.lb->hits().cbegin(), panel.lb->hits().cend(),
                                  [](const controls::tmatrix& m) { return m.item == 2; });
    ASSERT_NE(hit, panel.lb->hits().cend());
    QTest::mouseClick(panel.lb, Qt::LeftButton, Qt::NoModifier, QPoint(hit->x1 + 2, hit->y1 + 2));
    EXPECT_EQ(queue(), QStringList{QStringLiteral("2/2")});
    EXPECT_FALSE(panel.isVisibleTo(jukebox::jukebox));
    EXPECT_FALSE(jukebox::TrackHintPanel->isHidden());
}

} // namespace

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

#include "answeringdialogs.h"
#include "controls/bitmapactionbutton.h"
#include "controls/rowrenderer.h"
#include "controls/scrolllistbox.h"
#include "fakesystem.h"
#include "library/global.h"
#include "printers.h"
#include "ripper/albumartist.h"
#include "ripper/multiple.h"
#include "ripper/verifyform.h"
#include "ripper/warn.h"
#include "ripperfixture.h"
#include "tempfolder.h"

namespace {

// The dialogs of the road over an 800 x 600 extraction window, list pauses taking no time and the
// on-screen keyboard never started.
class EntryDialogs : public ::testing::Test
{
protected:
    EntryDialogs()
    {
        controls::setpaintpause([](int) {});
    }
    ~EntryDialogs() override
    {
        controls::setpaintpause({});
        library::resetGlobals();
    }

    // Answers the next dialog by running `act` on it while it is shown.
    template<class Dialog> void answer(std::function<void(Dialog&)> act)
    {
        dialogs.modalHandler = [act](QDialog& shown) {
            shown.show();
            act(static_cast<Dialog&>(shown));
            return shown.result();
        };
    }

    ExtractionWindow window{QSize(800, 600)};
    AnsweringDialogs dialogs;
    FakeProcesses processes;
};

void click(QWidget* widget, QPoint at = QPoint(10, 10))
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

// Clicks row `row` of `list`, or the list's empty area below its rows when `row` is negative.
void clickRow(controls::TScrollListbox* list, int row)
{
    if (row < 0) return click(list, QPoint(list->width() / 2, list->height() - 2));
    for (const controls::tmatrix& hit : list->hits())
        if (hit.item == row) return click(list, QPoint((hit.x1 + hit.x2) / 2, (hit.y1 + hit.y2) / 2));
    FAIL() << "no row " << row;
}

ripper::talbums matches(int count)
{
    ripper::talbums albs;
    for (int i = 0; i < count; ++i) {
        albs.artists << QStringLiteral("Artist %1").arg(i);
        albs.titles << QStringLiteral("Title %1").arg(i);
    }
    albs.count = count;
    return albs;
}

} // namespace

TEST_F(EntryDialogs, MatchListAnswersTheRowGoBackOrManualEntry)
{
    using ripper::Tmultiplealbums;
    answer<Tmultiplealbums>([](Tmultiplealbums& d) {
        EXPECT_EQ(d.lb->items().strings(), QStringList{QStringLiteral("Artist 0-Title 0")});
        clickRow(d.lb, -1); // the empty area chooses nothing
        EXPECT_TRUE(d.isVisible());
        clickRow(d.lb, 0);
    });
    EXPECT_EQ(ripper::multipledialog(matches(1)), 0);
    answer<Tmultiplealbums>([](Tmultiplealbums& d) { clickRow(d.lb, 2); });
    EXPECT_EQ(ripper::multipledialog(matches(3)), 2);
    answer<Tmultiplealbums>([](Tmultiplealbums& d) { click(d.manentry); });
    EXPECT_EQ(ripper::multipledialog(matches(3)), ripper::kMatchManualEntry);
    answer<Tmultiplealbums>([](Tmultiplealbums& d) {
        EXPECT_LE(d.cancel->geometry().right(), d.width());
        click(d.cancel);
    });
    EXPECT_EQ(ripper::multipledialog(matches(3)), ripper::kMatchGoBack);
    answer<Tmultiplealbums>([](Tmultiplealbums& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(ripper::multipledialog(matches(3)), ripper::kMatchGoBack);
}

TEST_F(EntryDialogs, ManualEntryChecksTheNamesAndGoingBackRestoresThem)
{
    TempFolder library;
    library::config.path = library.path() + QLatin1Char('/');
    library.mkdir(QStringLiteral("Band__Debut"));
    using ripper::Talbumdialog;
    QStringList errors;
    answer<Talbumdialog>([&errors](Talbumdialog& d) {
        for (const char* bad : {"AC/DC", "Jay-Z", "Under_Score", "Plus+"}) {
            d.editart->setText(QString::fromLatin1(bad));
            click(d.OK);
            errors << d.error->text();
        }
        d.editart->setText(QStringLiteral("Band"));
        for (const char* taken : {"DEBUT", "Debut"}) { // in any case the same album to a guest
            d.editalb->setText(QString::fromLatin1(taken));
            click(d.OK);
            errors << d.error->text();
        }
        d.editalb->setText(QStringLiteral("Encore"));
        click(d.OK);
    });
    QString album = QStringLiteral("Debut");
    QString artist = QStringLiteral("Someone");
    EXPECT_EQ(ripper::getuseralbumtitle(album, artist), 1);
    EXPECT_EQ(album, QStringLiteral("Encore"));
    EXPECT_EQ(artist, QStringLiteral("Band"));
    const QString bad = QStringLiteral(
        "Album and Artist fields must be filled in and cannot contain special characters (\\/:*?\"<>|)");
    const QString exists = QStringLiteral("Album already exists. Enter different album details");
    EXPECT_EQ(errors, (QStringList{bad, bad, bad, bad, exists, exists}));

    answer<Talbumdialog>([](Talbumdialog& d) {
        d.editart->setText(QStringLiteral("Changed"));
        click(d.Cancel);
    });
    EXPECT_EQ(ripper::getuseralbumtitle(album, artist), 2);
    EXPECT_EQ(artist, QStringLiteral("Band"));
}

TEST_F(EntryDialogs, TrackEditorSetsTheEditedRowsTitle)
{
    library::tracks = {QStringLiteral("Track 1"), QStringLiteral("Track 2")};
    library::trackscount = 2;
    using ripper::Tverify;
    answer<Tverify>([](Tverify& d) {
        EXPECT_EQ(d.titleedit->text(), QStringLiteral("Track 1"));
        clickRow(d.lb, 1);
        d.titleedit->setText(QStringLiteral("Second\nSong")); // as pasted
        click(d.settitle);
        EXPECT_EQ(d.lb->items()[1], QStringLiteral("Second Song"));
        click(d.next);
    });
    EXPECT_EQ(ripper::doverify(0), 1);
    EXPECT_EQ(library::tracks[1], QStringLiteral("Second Song"));

    answer<Tverify>([](Tverify& d) {
        EXPECT_EQ(d.next->caption(), QStringLiteral("Save"));
        click(d.cancel1);
    });
    EXPECT_EQ(ripper::doverify(1), 2);
    EXPECT_EQ(dialogs.modalCount, 2);
    library::trackscount = 0;
    EXPECT_EQ(ripper::doverify(0), 2);
    EXPECT_EQ(dialogs.modalCount, 2);
}

// Fonts grow with the screen's width, the dialog with its height: titles still show, clear of "MORE".
TEST_F(EntryDialogs, TrackEditorShowsThreeTitlesAboveTheMoreBoxOnEveryScreen)
{
    library::tracks = QStringLiteral("1,2,3,4,5,6,7,8,9,10").split(QLatin1Char(','));
    library::trackscount = 10;
    QList<int> shown;
    answer<ripper::Tverify>([&shown](ripper::Tverify& d) {
        const QList<controls::tmatrix>& hits = d.lb->hits();
        shown << int(std::count_if(hits.begin(), hits.end(), [&hits](const controls::tmatrix& row) {
            return row.item >= 0 && row.y2 > 0 && row.y2 <= hits.last().y1;
        }));
    });
    ripper::doverify(0);
    ExtractionWindow wide{QSize(1920, 1080)};
    ripper::doverify(0);
    EXPECT_EQ(shown, (QList<int>{3, 3}));
}

TEST_F(EntryDialogs, WarningWithoutLinkAndATickedBoxAsksNotToWarnAgain)
{
    using ripper::Twarnform;
    answer<Twarnform>([](Twarnform& d) {
        EXPECT_FALSE(d.hyperlink->isVisible());
        EXPECT_TRUE(d.remember->isVisible());
        d.remember->click();
        d.accept();
    });
    EXPECT_FALSE(ripper::showwarning(QStringLiteral("Rip CD"), QStringLiteral("Main"), QStringLiteral("More"),
                                     QStringLiteral("Site"), QString(), true));
    answer<Twarnform>([](Twarnform& d) { d.reject(); });
    EXPECT_TRUE(ripper::showwarning(QStringLiteral("Rip CD"), QStringLiteral("Main"), QString(), QString(),
                                    QString(), false));
}

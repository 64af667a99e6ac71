#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "../jukebox/numberstesting.h"
#include "answeringdialogs.h"
#include "controls/bitmapactionbutton.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "fakesystem.h"
#include "library/global.h"
#include "library/id3.h"
#include "platform/jpegcodec.h"
#include "platform/mounts.h"
#include "printers.h"
#include "ripper/albumartist.h"
#include "ripper/cdartworkform.h"
#include "ripper/editmenuform.h"
#include "ripper/jukeboxhooks.h"
#include "ripper/mydialog.h"
#include "ripper/verifyform.h"
#include "ripperfixture.h"
#include "tempfolder.h"

using ripper::Teditmenu;

namespace {

// The edit menu over the player window and the jukebox (on screen, once `startAll` ran, reaching
// the ripper through its hooks as the application installs them) in a temporary library; each dialog it opens
// is answered by the matching handler, the questions from `answers` (else the first button), the names with
// "Go Back" while `newArtist` is empty, the track titles with `verifyAnswer`.
class EditMenu : public NumberEntryTest
{
protected:
    void SetUp() override
    {
        NumberEntryTest::SetUp();
        extraction = std::make_unique<ExtractionWindow>(QSize(800, 600));
        jukebox::setRipperHooks(&ripperHooks);
        dialogs.modalHandler = [this](QDialog& shown) {
            shown.show();
            if (qobject_cast<ripper::Tmdialog*>(&shown)) {
                questions << ripper::mes;
                return answers.isEmpty() ? int(ripper::kFirstButton) : answers.takeFirst();
            }
            if (auto* names = qobject_cast<ripper::Talbumdialog*>(&shown)) {
                EXPECT_FALSE(shownMenu && shownMenu->OK->isVisible())
                    << "the menu shows nothing below the names";
                if (newArtist.isEmpty()) return int(ripper::Talbumdialog::kGoBack);
                names->editart->setText(newArtist);
                names->editalb->setText(QStringLiteral("Hits"));
                QTest::mouseClick(names->OK, Qt::LeftButton, {}, QPoint(10, 10));
            } else if (auto* verify = qobject_cast<ripper::Tverify*>(&shown)) {
                edited = verify->lb->items().strings();
                verify->done(verifyAnswer);
            } else {
                act(*(shownMenu = &static_cast<Teditmenu&>(shown)));
            }
            return shown.result();
        };
    }
    void TearDown() override
    {
        jukebox::setRipperHooks(nullptr);
        extraction.reset();
        NumberEntryTest::TearDown();
    }

    void startAll()
    {
        fillScreen(open());
        window->show();
    }

    void touchEditRow(int row)
    {
        window->advancedbutClick(nullptr);
        controls::TScrollListbox* lb = window->editlb;
        lb->Paint();
        const auto hit = std::find_if(lb->hits().cbegin(), lb->hits().cend(),
                                      [row](const controls::tmatrix& m) { return m.item == row; });
        ASSERT_NE(hit, lb->hits().cend());
        QTest::mouseClick(lb, Qt::LeftButton, Qt::NoModifier, QPoint(hit->x1 + 2, hit->y1 + 2));
    }

    // Ends the playing track as the device would; the player takes the next.
    void endTrack()
    {
        QSignalSpy ended(form->mediaPlayer(), &platform::MediaPlayer::completed);
        fake().finishPlay();
        ASSERT_TRUE(ended.wait(2000));
    }

    bool staleError() const
    {
        return jukebox::oldmessage.contains(QStringLiteral("not exist"), Qt::CaseInsensitive);
    }

    QString music(const QString& relative) const { return program.file(QStringLiteral("music/") + relative); }

    TempFolder folder;
    ripper::JukeboxHooks ripperHooks;
    std::unique_ptr<ExtractionWindow> extraction;
    FakeProcesses processes;
    QVector<int> answers;
    QStringList questions;
    QStringList edited;
    int verifyAnswer = ripper::Tverify::kNext; // "Save"
    QString newArtist = QStringLiteral("New Band");
    std::function<void(Teditmenu&)> act;
    QPointer<Teditmenu> shownMenu; // the menu a handler last acted on
};

void click(controls::TBitmapActionButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace

TEST_F(EditMenu, TouchedAlbumIsRenamedAndItsQueuedTracksFollow)
{
    addLibrary(3);
    startAll();
    type("0002001");
    type("0002002");
    act = [](Teditmenu& menu) {
        click(menu.gotitle);
        EXPECT_TRUE(menu.OK->isVisible());
    };
    newArtist.clear();
    touchEditRow(1);
    EXPECT_TRUE(QDir(music(folderName(2))).exists());

    newArtist = QStringLiteral(".New Band"); // a hidden folder would vanish at the next scan
    touchEditRow(1);
    EXPECT_TRUE(QFile::exists(music(QStringLiteral("New Band__Hits/track02.mp3"))));
    EXPECT_EQ(form->albumlist->itemText(1), QStringLiteral("New Band - Hits"));
    EXPECT_EQ(form->albumlist->itemText(2), QStringLiteral("Artist 0003 - Album 0003"));
    // The playing track's name follows its folder, and the next track plays from there.
    EXPECT_EQ(form->mediaPlayer()->fileName(), music(QStringLiteral("New Band__Hits/track01.mp3")));
    endTrack();
    EXPECT_EQ(fake().openFileName(), music(QStringLiteral("New Band__Hits/track02.mp3")));
    EXPECT_FALSE(staleError()) << jukebox::oldmessage.toStdString();

    // A folder that cannot be moved leaves the lists alone.
    QDir(music(QStringLiteral("New Band__Hits"))).removeRecursively();
    newArtist = QStringLiteral("Other Band");
    touchEditRow(1);
    EXPECT_EQ(library::album[2].artist, QStringLiteral("New Band"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("Could not rename the album folder")));
}

TEST_F(EditMenu, DeleteAsksFirstThenTakesTheWholeAlbumOutOfTheLibraryAndTheQueue)
{
    addLibrary(3);
    program.write(QStringLiteral("music/") + folderName(2) + QStringLiteral("/scans/back.jpg"), "jpeg");
    const QString outside = program.write(QStringLiteral("elsewhere/keep.txt"), "keep");
    ASSERT_TRUE(QFile::link(outside, music(folderName(2) + QStringLiteral("/scans/link.txt"))));
    startAll();
    type("0002001");
    type("0002002");
    type("0003001");
    answers = {ripper::kSecondButton, ripper::kFirstButton}; // "No", then "Yes"
    act = [this](Teditmenu& menu) {
        click(menu.godelete);
        EXPECT_TRUE(QFile::exists(music(folderName(2) + QStringLiteral("/track01.mp3"))));
        EXPECT_EQ(queue().size(), 3);
        click(menu.godelete);
    };
    touchEditRow(1);
    EXPECT_EQ(QDir(libraryRoot).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{folderName(1), folderName(3)}));
    EXPECT_EQ(program.read(QStringLiteral("elsewhere/keep.txt")), QByteArray("keep"));
    EXPECT_EQ(form->albumlist->itemText(1), QStringLiteral("Artist 0003 - Album 0003"));
    // The playing track was rejected for the next track of another album.
    EXPECT_EQ(queue(), QStringList{QStringLiteral("3/1")});
    EXPECT_EQ(fake().openFileName(), music(folderName(3) + QStringLiteral("/track01.mp3")));
    endTrack();
    EXPECT_FALSE(staleError()) << jukebox::oldmessage.toStdString();
}

TEST_F(EditMenu, ALinkedAlbumIsLeftWholeWithAWordAndAGoneOneLeavesTheList)
{
    const QString outside = program.write(QStringLiteral("elsewhere/track01.mp3"), "keep");
    ASSERT_TRUE(QFile::link(QFileInfo(outside).path(), music(QStringLiteral("Band__Songs"))));
    startAll();
    act = [](Teditmenu& menu) { click(menu.godelete); };
    ripper::goeditmenu(1);
    EXPECT_EQ(program.read(QStringLiteral("elsewhere/track01.mp3")), QByteArray("keep"));
    EXPECT_EQ(form->albumlist->count(), 1);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[1].startsWith(QStringLiteral("The album could not be deleted and is left whole")));
    // A folder already gone leaves only the list entry to delete.
    QFile::remove(music(QStringLiteral("Band__Songs")));
    ripper::goeditmenu(1);
    EXPECT_EQ(form->albumlist->count(), 0);
}

TEST_F(EditMenu, TitlesByHandFillMissingTracksAndFromTagsInTrackOrder)
{
    for (int n = 10; n >= 1; --n)
        program.write(QStringLiteral("music/Band__Songs/track%1.mp3").arg(n, 2, 10, QLatin1Char('0')), "x");
    program.write(QStringLiteral("music/Band__Songs/title.dat"), "1\n2\n3\n4\n5\n6\n7\n8\n");
    startAll();
    act = [](Teditmenu& menu) { click(menu.gotracks); };
    ripper::goeditmenu(1);
    EXPECT_EQ(edited.mid(7),
              (QStringList{QStringLiteral("8"), QStringLiteral("Track  9"), QStringLiteral("Track 10")}));
    EXPECT_TRUE(
        program.read(QStringLiteral("music/Band__Songs/title.dat")).endsWith("8\nTrack  9\nTrack 10\n"));

    QDir(music(QStringLiteral("Band__Songs"))).removeRecursively();
    library::tid3tag tag;
    for (const char* name : {"TRACK03.MPG", "track01.mp3", "Track02.mp3"}) {
        const QString file =
            program.write(QStringLiteral("music/Band__Songs/") + QLatin1String(name), QByteArray(200, 'x'));
        tag.track = QString::fromLatin1(name).left(7);
        if (tag.track != QStringLiteral("Track02")) {
            ASSERT_TRUE(library::writetag(file, tag));
        }
    }
    act = [](Teditmenu& menu) { click(menu.gotracksauto); };
    ripper::goeditmenu(1);
    EXPECT_EQ(edited, (QStringList{QStringLiteral("track01"), QStringLiteral("Unknown Track"),
                                   QStringLiteral("TRACK03")}));
}

// Titles from tags that are not there, or by hand, and then "Go Back": the titles file stays as it was.
TEST_F(EditMenu, TitlesLeftWithoutSavingKeepTheTitlesFileByteForByte)
{
    const QByteArray titles("Dancing Queen\r\nWaterloo\r\n");
    program.write(QStringLiteral("music/Band__Songs/track01.mp3"), "x");
    program.write(QStringLiteral("music/Band__Songs/track02.mp3"), "x");
    program.write(QStringLiteral("music/Band__Songs/title.dat"), titles);
    startAll();
    verifyAnswer = ripper::Tverify::kGoBack;
    for (controls::TBitmapActionButton* Teditmenu::*button :
         {&Teditmenu::gotracksauto, &Teditmenu::gotracks}) {
        act = [button](Teditmenu& menu) { click(menu.*button); };
        ripper::goeditmenu(1);
        EXPECT_EQ(program.read(QStringLiteral("music/Band__Songs/title.dat")), titles);
    }
    EXPECT_EQ(edited, (QStringList{QStringLiteral("Dancing Queen"), QStringLiteral("Waterloo")}));
    verifyAnswer = ripper::Tverify::kNext;
    act = [](Teditmenu& menu) { click(menu.gotracksauto); };
    ripper::goeditmenu(1);
    EXPECT_EQ(program.read(QStringLiteral("music/Band__Songs/title.dat")),
              QByteArray("Unknown Track\nUnknown Track\n"));
}

TEST_F(EditMenu, PicturesOfTheCdInAnyCaseAtMostTwoHundred)
{
    QImage picture(8, 8, QImage::Format_RGB888);
    picture.fill(Qt::red);
    const QByteArray jpeg = platform::encodeJpeg(picture, 80);
    for (int i = 0; i < 205; ++i)
        folder.write(QStringLiteral("cd/P%1.JPG").arg(i, 3, 10, QLatin1Char('0')), jpeg);
    folder.write(QStringLiteral("small/a.JPG"), jpeg);
    folder.write(QStringLiteral("small/b.jpg"), "not a picture");
    folder.write(QStringLiteral("small/c.png"), jpeg);
    ripper::Tcdartwork dialog{QString()};
    EXPECT_EQ(dialog.getpics(folder.file(QStringLiteral("cd"))), ripper::kMaxCdPictures);
    EXPECT_EQ(dialog.getpics(folder.file(QStringLiteral("small"))), 1);
    EXPECT_EQ(dialog.pictures(), QStringList{folder.file(QStringLiteral("small/a.JPG"))});

    // A picture that can no longer be read is reported and the choice stays open.
    ripper::Tcdartwork shown{folder.file(QStringLiteral("small"))};
    shown.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.lb->isVisible() && !shown.lb->hits().isEmpty(); }));
    QFile::remove(folder.file(QStringLiteral("small/a.JPG")));
    for (const controls::tmatrix& hit : shown.lb->hits()) {
        if (hit.item != 0) continue;
        shown.lb->MouseDown(hit.x1 + 1, hit.y1 + 1);
        shown.lb->MouseUp(hit.x1 + 1, hit.y1 + 1);
    }
    EXPECT_EQ(questions, QStringList{QStringLiteral("This picture cannot be read. Choose another one.")});
    EXPECT_EQ(shown.result(), 0);
    EXPECT_EQ(platform::mountpointIn(
                  QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sr9 /media/My\\040CD iso9660 ro 0 0\n"),
                  QStringLiteral("/dev/sr9")),
              QStringLiteral("/media/My CD"));
}

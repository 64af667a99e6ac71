#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

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
#include "ripper/mydialog.h"
#include "ripper/verifyform.h"
#include "ripperfixture.h"
#include "tempfolder.h"

using ripper::Teditmenu;

namespace {

// The edit menu of the album "Band" / "Songs" (number 1) in a temporary library; each dialog it
// opens is answered by the matching handler.
class EditMenu : public ::testing::Test
{
protected:
    EditMenu()
    {
        library::config.path = folder.path() + QLatin1Char('/');
        library::album = {{}, {QStringLiteral("Songs"), QStringLiteral("Band")}};
        library::albumcount = 1;
        dialogs.modalHandler = [this](QDialog& shown) {
            shown.show();
            if (qobject_cast<ripper::Tmdialog*>(&shown)) {
                questions << ripper::mes;
                return int(ripper::kFirstButton);
            }
            if (auto* names = qobject_cast<ripper::Talbumdialog*>(&shown)) {
                names->editart->setText(newArtist);
                names->editalb->setText(QStringLiteral("Hits"));
                QTest::mouseClick(names->OK, Qt::LeftButton, {}, QPoint(10, 10));
            } else if (auto* verify = qobject_cast<ripper::Tverify*>(&shown)) {
                edited = verify->lb->items().strings();
                verify->done(ripper::Tverify::kGoBack);
            } else {
                act(static_cast<Teditmenu&>(shown));
            }
            return shown.result();
        };
    }
    ~EditMenu() override { library::resetGlobals(); }

    ExtractionWindow window{QSize(800, 600)};
    TempFolder folder;
    AnsweringDialogs dialogs;
    FakeProcesses processes;
    QStringList questions;
    QStringList edited;
    QString newArtist = QStringLiteral("New Band");
    std::function<void(Teditmenu&)> act;
};

void click(controls::TBitmapActionButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace

TEST_F(EditMenu, RenameMovesTheFolderOrLeavesTheListsAlone)
{
    folder.write(QStringLiteral("Band__Songs/title.dat"), "One\n");
    act = [](Teditmenu& menu) { click(menu.gotitle); };
    EXPECT_EQ(ripper::goeditmenu(1), 0);
    EXPECT_EQ(folder.read(QStringLiteral("New Band__Hits/title.dat")), QByteArray("One\n"));
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("Band__Songs"))).exists());
    EXPECT_EQ(library::album[1].artist, QStringLiteral("New Band"));

    library::album[1] = {QStringLiteral("Gone"), QStringLiteral("Nobody")};
    newArtist = QStringLiteral("Other Band");
    EXPECT_EQ(ripper::goeditmenu(1), 0);
    EXPECT_EQ(library::album[1].album, QStringLiteral("Gone"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("Could not rename the album folder")));
}

TEST_F(EditMenu, TitlesByHandFillMissingTracksAndFromTagsInTrackOrder)
{
    for (int n = 10; n >= 1; --n)
        folder.write(QStringLiteral("Band__Songs/track%1.mp3").arg(n, 2, 10, QLatin1Char('0')), "x");
    folder.write(QStringLiteral("Band__Songs/title.dat"), "1\n2\n3\n4\n5\n6\n7\n8\n");
    act = [](Teditmenu& menu) { click(menu.gotracks); };
    ripper::goeditmenu(1);
    EXPECT_EQ(edited.mid(7),
              (QStringList{QStringLiteral("8"), QStringLiteral("Track  9"), QStringLiteral("Track 10")}));
    EXPECT_TRUE(folder.read(QStringLiteral("Band__Songs/title.dat")).endsWith("8\nTrack  9\nTrack 10\n"));

    QDir(folder.file(QStringLiteral("Band__Songs"))).removeRecursively();
    library::tid3tag tag;
    for (const char* name : {"TRACK03.MPG", "track01.mp3", "Track02.mp3"}) {
        const QString file =
            folder.write(QStringLiteral("Band__Songs/") + QLatin1String(name), QByteArray(200, 'x'));
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

TEST_F(EditMenu, DeleteRemovesTheFolderButNotWhatALinkPointsTo)
{
    const QString outside = folder.write(QStringLiteral("elsewhere/keep.txt"), "keep");
    const QString locked = folder.write(QStringLiteral("Band__Songs/track01.mp3"), "x");
    QFile::setPermissions(locked, QFile::ReadOwner);
    ASSERT_TRUE(QFile::link(outside, folder.file(QStringLiteral("Band__Songs/link.txt"))));
    act = [](Teditmenu& menu) { click(menu.godelete); };
    ripper::goeditmenu(1);
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("Band__Songs"))).exists());
    EXPECT_EQ(folder.read(QStringLiteral("elsewhere/keep.txt")), QByteArray("keep"));
    EXPECT_EQ(questions, QStringList{QStringLiteral("Delete Entire CD? Are you really sure?")});
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
    dialog.lb->Paint();
    QFile::remove(folder.file(QStringLiteral("small/a.JPG")));
    for (const controls::tmatrix& hit : dialog.lb->hits()) {
        if (hit.item != 0) continue;
        dialog.lb->MouseDown(hit.x1 + 1, hit.y1 + 1);
        dialog.lb->MouseUp(hit.x1 + 1, hit.y1 + 1);
    }
    EXPECT_EQ(questions, QStringList{QStringLiteral("This picture cannot be read. Choose another one.")});
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(platform::mountpointIn(
                  QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sr9 /media/My\\040CD iso9660 ro 0 0\n"),
                  QStringLiteral("/dev/sr9")),
              QStringLiteral("/media/My CD"));
}

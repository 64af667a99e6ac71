#include <QDir>
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

#include "cddbserver.h"
#include "discimage.h"
#include "fakecddrives.h"
#include "library/global.h"
#include "printers.h"
#include "ripground.h"
#include "platform/fatal.h"
#include "ripper/musripmain.h"
#include "ripper/albumartist.h"
#include "ripper/nolame.h"
#include "tempfolder.h"

namespace {

const QString kNoMatch = QStringLiteral("202 No match found\r\n");

// The CD road on a three-track disc image in the "drive" MUSETRA_CDROM names, with the CD database
// on the loopback interface.
class Road : public RipGround
{
protected:
    void SetUp() override
    {
        RipGround::SetUp();
        image = makeDiscImage(folder.path(), QStringLiteral("road"), {100, 77, 53});
        qputenv("MUSETRA_CDROM", image.cuePath.toLocal8Bit());
        library::config.cddbserver = cddb.server();
    }

    void TearDown() override
    {
        qunsetenv("MUSETRA_CDROM");
        RipGround::TearDown();
    }

    LoopbackCddb cddb;
    DiscImage image;
};

} // namespace

TEST_F(Road, NeedsSixHundredMebibytesFree)
{
    space.bytes = ripper::kRipFreeSpace - 1;
    window->rip_go();
    EXPECT_EQ(questionTexts(), QStringList{QStringLiteral(
                                   "There is not enough disk space available to complete this request.")});
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(cddb.commands().isEmpty());

    space.bytes = ripper::kRipFreeSpace;
    cddb.setQueryReply(kNoMatch);
    answers = {2}; // "Cancel" on the unknown disc
    questions.clear();
    window->rip_go();
    ASSERT_EQ(cddb.commands().size(), 1);
    // The disc's offsets from the lead-in and its length in seconds.
    const QStringList query = cddb.commands()[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    EXPECT_EQ(query.mid(3).join(QLatin1Char(' ')), QStringLiteral("3 150 250 327 5"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].text.startsWith(QStringLiteral("Could not query CD database.")));
    EXPECT_TRUE(
        questions[0].text.contains(QStringLiteral("(Disk ID ") + query[2].toUpper() + QLatin1Char(')')));
    EXPECT_EQ(questions[0].title, QStringLiteral("CD Database"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ripper::cdhandle, nullptr) << "the drive is closed when the road ends";
}

TEST_F(Road, AnUnreadableDiscIsAskedForAgainUntilExit)
{
    FakeCdDrives drives(image);
    drives.tocFailures = 3;
    answers = {1, 2}; // "Continue", then "Exit"
    window->rip_go();
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[0].text, QStringLiteral("Insert a CD and hit contine"));
    EXPECT_EQ(questions[1].text,
              QStringLiteral("Unable to read CD.\r\nYou may need to wait to for the CD to spin up.\r\n"
                             "Click continue when ready."));
    EXPECT_EQ(questions[1].title, QStringLiteral("CD Extraction - Insert CD"));
    EXPECT_EQ(ripper::cdhandle, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(cddb.commands().isEmpty());
}

TEST_F(Road, WithoutDrivesNoDriveIsOpened)
{
    FakeCdDrives drives(image);
    drives.drives = {{QString(), QStringLiteral(" "), QStringLiteral("/dev/blank")}};
    window->rip_go();
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[0].title, QStringLiteral("Install problem"));
    EXPECT_EQ(questions[1].text, QStringLiteral("Could not open the CD drive."));
    EXPECT_EQ(drives.opened, 0);
}

TEST_F(Road, OfflineTheOperatorTypesTheDetails)
{
    network.results.clear();
    cddb.setQueryReply(kNoMatch);
    answers = {2, 2}; // "Manually enter information", then "Use manual information" for the cover
    QStringList dialogsShown;
    otherDialog = [&](QDialog& shown) {
        dialogsShown << QString::fromLatin1(shown.metaObject()->className());
        if (auto* entry = dynamic_cast<ripper::Talbumdialog*>(&shown)) {
            entry->art = QStringLiteral("Night Owls");
            entry->alb = QStringLiteral("Long Road");
        }
        return 1;
    };
    window->rip_go();
    EXPECT_EQ(questionTexts(),
              (QStringList{QStringLiteral("A connection to the internet is needed to find album "
                                          "information."),
                           QStringLiteral("A connection to the internet is needed to find artwork.")}));
    EXPECT_EQ(cddb.commands().size(), 1) << "the database is still asked";
    EXPECT_EQ(dialogsShown,
              (QStringList{QStringLiteral("ripper::Talbumdialog"), QStringLiteral("ripper::Tverify")}));
    EXPECT_EQ(library::tracks,
              (QStringList{QStringLiteral("Track 1"), QStringLiteral("Track 2"), QStringLiteral("Track 3")}));
    EXPECT_EQ(ripper::id3titles.artist, QStringLiteral("Night Owls"));
    EXPECT_EQ(ripper::id3titles.album, QStringLiteral("Long Road"));
    EXPECT_TRUE(processes.started.filter(QStringLiteral("rasdialr")).isEmpty()) << "no dial-up unless chosen";
}

TEST(MissingEncoder, SaysWhatIsMissingAndItsOkEndsTheProgram)
{
    const ThrowingHalt halt;
    AnsweringDialogs dialogs;
    QStringList texts;
    dialogs.modalHandler = [&](QDialog& shown) {
        for (const QLabel* label : shown.findChildren<QLabel*>())
            texts.append(label->text());
        dynamic_cast<ripper::TnoLAME&>(shown).OKClick();
        return 1;
    };
    EXPECT_THROW(ripper::Tripmain(nullptr, QStringLiteral("libno-such-encoder.so.0")), platform::Halted);
    EXPECT_EQ(texts.value(0), QStringLiteral("Could not find LAME_ENC.DLL"));
    ripper::resetripmain();
}

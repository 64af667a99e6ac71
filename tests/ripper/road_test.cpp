#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "cddbserver.h"
#include "discimage.h"
#include "fakecddrives.h"
#include "library/global.h"
#include "mounteddisk.h"
#include "printers.h"
#include "ripground.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "ripper/musripmain.h"
#include "controls/bitmapactionbutton.h"
#include "controls/scrolllistbox.h"
#include "library/id3.h"
#include "ripper/albumartist.h"
#include "ripper/artworkform.h"
#include "ripper/mp3encode.h"
#include "ripper/multiple.h"
#include "ripper/nolame.h"
#include "player/frontend.h"
#include "ripper/albumstaging.h"
#include "tempfolder.h"
#include <QTimer>

namespace {

const QString kNoMatch = QStringLiteral("202 No match found\r\n");
const QString kOneMatch = QStringLiteral("200 rock 1a2b3c4d Lanterns / Harbour\r\n");

// The jukebox's message line, as the road leaves it.
class MessageLine : public player::FrontEnd
{
public:
    MessageLine() { player::setFrontEnd(this); }
    ~MessageLine() override { player::setFrontEnd(nullptr); }
    void domessage(const QString& text) override { messages << text; }
    QStringList messages;
};

// The CD road on a three-track disc image in the "drive" MUSETRA_CDROM names, with the CD database
// on the loopback interface.
class Road : public RipGround
{
protected:
    void SetUp() override
    {
        RipGround::SetUp();
        image = tools::makeDiscImage(folder.path(), QStringLiteral("road"), {100, 77, 53});
        qputenv("MUSETRA_CDROM", image.cuePath.toLocal8Bit());
        library::config.cddbserver = cddb.server();
        library::config.artworkhost = QStringLiteral("127.0.0.1:1"); // no cover service: the generated cover
    }

    void TearDown() override
    {
        qunsetenv("MUSETRA_CDROM");
        RipGround::TearDown();
    }

    // Answers the match list with the next of `rows`, the cover choice with its OK once its
    // candidates are ready, and the track list editor with "Next".
    std::function<int(QDialog&)> chooseRows(QVector<int>& rows)
    {
        return [&rows](QDialog& shown) {
            if (auto* list = qobject_cast<ripper::Tmultiplealbums*>(&shown)) {
                list->lb->setitemindex(rows.takeFirst());
                return int(ripper::Tmultiplealbums::kChosen);
            }
            if (auto* cover = qobject_cast<ripper::Tartwork*>(&shown)) {
                shown.show();
                EXPECT_TRUE(QTest::qWaitFor([cover] { return cover->ready(); }));
                cover->OKClick();
                return shown.result();
            }
            return 1;
        };
    }

    // The database knows the disc as Lanterns / Harbour with three titles.
    void knownDisc()
    {
        cddb.setQueryReply(kOneMatch);
        cddb.setRecord(QStringLiteral("1a2b3c4d"),
                       cddbRecordText(QStringLiteral("Lanterns"), QStringLiteral("Harbour"),
                                      QStringLiteral("Quay|Tide|Lamp").split(QLatin1Char('|'))));
    }

    LoopbackCddb cddb;
    tools::DiscImage image;
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
    EXPECT_EQ(questions[0].text, QStringLiteral("Insert a CD and hit continue"));
    EXPECT_EQ(questions[1].text,
              QStringLiteral("Unable to read CD.\r\nYou may need to wait for the CD to spin up.\r\n"
                             "Click continue when ready."));
    EXPECT_EQ(questions[1].title, QStringLiteral("CD Extraction - Insert CD"));
    EXPECT_EQ(ripper::cdhandle, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(cddb.commands().isEmpty());
}

// Without a drive the operator is told once how to name one, and the road ends.
TEST_F(Road, WithoutDrivesTheRoadSaysHowToNameOneOnce)
{
    FakeCdDrives drives(image);
    drives.drives = {{QString(), QStringLiteral(" "), QStringLiteral("/dev/blank")}};
    window->rip_go();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].text.startsWith(QStringLiteral("No CD drive or disc image was found.")));
    EXPECT_TRUE(questions[0].text.contains(QStringLiteral("MUSETRA_CDROM")));
    EXPECT_EQ(drives.opened, 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Road, AnImageThatCannotBeReadIsADriveThatCannotBeOpened)
{
    (void)folder.write(QStringLiteral("bad.cue"), "TRACK zz\n");
    for (const QString& name : {QStringLiteral("bad.cue"), QStringLiteral("missing.cue")}) {
        qputenv("MUSETRA_CDROM", folder.file(name).toLocal8Bit());
        questions.clear();
        window->rip_go();
        EXPECT_EQ(questionTexts(), QStringList{QStringLiteral("Could not open the CD drive.")});
    }
}

// An image whose data file is gone, and a disc with no audio track, are named for what they are.
TEST_F(Road, AnImageWithoutItsDataAndADiscWithoutAudioAreNamed)
{
    const QString bin = QString(image.cuePath).replace(QStringLiteral(".cue"), QStringLiteral(".bin"));
    ASSERT_TRUE(QFile::rename(bin, bin + QStringLiteral(".gone")));
    window->rip_go();
    EXPECT_EQ(questionTexts(),
              QStringList{QStringLiteral("The disc image's data file is missing: road.bin")});

    ASSERT_TRUE(QFile::rename(bin + QStringLiteral(".gone"), bin));
    QFile cue(image.cuePath);
    ASSERT_TRUE(cue.open(QIODevice::ReadOnly));
    const QByteArray dataOnly = cue.readAll().replace("AUDIO", "MODE1/2352");
    cue.close();
    folder.write(QStringLiteral("road.cue"), dataOnly);
    questions.clear();
    window->rip_go();
    EXPECT_EQ(questionTexts(),
              QStringList{QStringLiteral("This disc has no audio tracks, so there is nothing to extract.")});
    EXPECT_TRUE(cddb.commands().isEmpty());
}

TEST_F(Road, TheOperatorsRoadMakesATaggedAlbumFromTheChosenRecord)
{
    cddb.setQueryReply(
        QStringLiteral("211 Found inexact matches, list follows (until terminating `.')\r\n"
                       "rock 0a0b0c0d Nobody / Nothing\r\nmisc 1a2b3c4d .Lan__terns / Harbour\r\n.\r\n"));
    cddb.setRecord(QStringLiteral("0a0b0c0d"),
                   cddbRecordText(QStringLiteral("Nobody"), QStringLiteral("Nothing"), {}));
    cddb.setRecord(QStringLiteral("1a2b3c4d"),
                   cddbRecordText(QStringLiteral(".Lan__terns"), QStringLiteral("Harbour"),
                                  QStringLiteral("Quay|Tide|Lamp|Bonus").split(QLatin1Char('|'))));
    answers = {2}; // "Try again" after the record without titles
    QVector<int> rows{0, 1};
    otherDialog = chooseRows(rows);
    MessageLine line;
    window->rip_go();

    EXPECT_EQ(cddb.commands().filter(QStringLiteral("cddb read")).size(), 2)
        << cddb.commands().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(questions.size(), 1) << questionTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(questions[0].title, QStringLiteral("Information Acquisition"));
    const QString album = root + QStringLiteral("/Lan_terns__Harbour/");
    EXPECT_EQ(folder.read(QStringLiteral("music/Lan_terns__Harbour/title.dat")),
              QByteArray("Quay\nTide\nLamp\n"));
    EXPECT_EQ(QDir(album).entryList(QDir::Files).join(QLatin1Char(' ')),
              QStringLiteral("title.dat title.jpg track01.mp3 track02.mp3 track03.mp3"));
    library::tid3tag tag;
    library::readtag(album + QStringLiteral("track03.mp3"), tag);
    EXPECT_EQ(tag.track + QLatin1Char('/') + tag.artist, QStringLiteral("Lamp/.Lan__terns"));
    EXPECT_TRUE(QDir(cache).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(library::album.value(library::albumcount).artist, QStringLiteral("Lan_terns"));
    EXPECT_EQ(logLines().last(), QStringLiteral("Completed."));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(line.messages, QStringList{QStringLiteral("Completed. Lan_terns - Harbour")})
        << "left readable";
}

TEST_F(Road, ANameThatLeavesNoFolderNameIsTypedByHand)
{
    cddb.setQueryReply(QStringLiteral("200 rock 1a2b3c4d ../../x / ..\r\n"));
    cddb.setRecord(QStringLiteral("1a2b3c4d"),
                   cddbRecordText(QStringLiteral("../../x"), QStringLiteral(".."),
                                  QStringLiteral("Quay|Ti\tde|La\u2028m\u0085p").split(QLatin1Char('|'))));
    QVector<int> rows{0};
    const auto choose = chooseRows(rows);
    QString offered;
    otherDialog = [&](QDialog& shown) {
        auto* entry = dynamic_cast<ripper::Talbumdialog*>(&shown);
        if (!entry) return choose(shown);
        offered = entry->editart->text() + QLatin1Char('/') + entry->editalb->text();
        entry->art = QStringLiteral("Lanterns");
        entry->alb = QStringLiteral("Harbour");
        return 1;
    };
    window->rip_go();
    EXPECT_EQ(offered, QStringLiteral("x/"));
    // A title keeps one line: separators and control characters in it become spaces.
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/title.dat")),
              QByteArray("Quay\nTi de\nLa m p\n"));
    library::tid3tag tag;
    library::readtag(root + QStringLiteral("/Lanterns__Harbour/track02.mp3"), tag);
    EXPECT_EQ(tag.track + tag.artist + tag.genre, QStringLiteral("Ti deLanternsUnclassified"));
}

// Escape cancels wherever the window's focus is, in the log too.
TEST_F(Road, EscapeOrCancelKeepsOnlyFinishedTracksAndAddsNothingWithoutOne)
{
    knownDisc();
    QVector<int> rows{0, 0};
    otherDialog = chooseRows(rows);
    FakeCdDrives drives(image);
    drives.onRead = [&](uint32_t lba) {
        if (lba != image.starts[0]) return;
        window->log->setFocus();
        QTest::keyClick(window->log, Qt::Key_Escape);
    };
    window->rip_go();
    EXPECT_FALSE(QDir(root + QStringLiteral("/Lanterns__Harbour")).exists());
    EXPECT_EQ(library::albumcount, 0);

    drives.onRead = [&](uint32_t lba) {
        if (lba != image.starts[1]) return;
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->encoder()->finished(); }));
        EXPECT_TRUE(QDir(root).entryList({QStringLiteral("*__*")}, QDir::Dirs).isEmpty())
            << "a half-made album is nowhere the album scan looks";
        window->cancelClick();
    };
    window->rip_go();
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/title.dat")), QByteArray("Quay\n"));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/Lanterns__Harbour/track02.mp3")));
    EXPECT_EQ(library::albumcount, 1);
}

TEST_F(Road, OfflineTheOperatorTypesTheDetails)
{
    network.online = false;
    cddb.setQueryReply(kNoMatch);
    answers = {2, 2}; // "Manually enter information", then "Use manual information" for the cover
    QStringList dialogsShown;
    otherDialog = [&](QDialog& shown) {
        dialogsShown << QString::fromLatin1(shown.metaObject()->className());
        if (auto* entry = dynamic_cast<ripper::Talbumdialog*>(&shown)) {
            entry->art = QStringLiteral("Night Owls");
            entry->alb = QStringLiteral("Long Road");
        }
        return qobject_cast<ripper::Tartwork*>(&shown) ? 2 : 1; // the cover choice: Exit
    };
    window->rip_go();
    EXPECT_EQ(questionTexts(),
              (QStringList{QStringLiteral("A connection to the internet is needed to find album "
                                          "information."),
                           QStringLiteral("A connection to the internet is needed to find artwork.")}));
    EXPECT_EQ(cddb.commands().size(), 1) << "the database is still asked";
    EXPECT_EQ(dialogsShown.join(QLatin1Char(' ')),
              QStringLiteral("ripper::Talbumdialog ripper::Tverify ripper::Tartwork"));
    EXPECT_EQ(library::tracks,
              (QStringList{QStringLiteral("Track 1"), QStringLiteral("Track 2"), QStringLiteral("Track 3")}));
    EXPECT_EQ(ripper::id3titles.artist, QStringLiteral("Night Owls"));
    EXPECT_EQ(ripper::id3titles.album, QStringLiteral("Long Road"));
    EXPECT_TRUE(processes.started.filter(QStringLiteral("rasdialr")).isEmpty()) << "no dial-up unless chosen";
    EXPECT_EQ(network.connections, (QStringList{cddb.server(), QStringLiteral("127.0.0.1:1")}))
        << "the servers the road needs, each on its port";
    EXPECT_FALSE(network.askedOnWindowThread);
}

TEST_F(Road, EscapeGivesUpAHungDatabaseAtOnce)
{
    LoopbackHttp hung([](const QByteArray&) { return QByteArray(); }); // takes the question, never answers
    library::config.cddbserver = hung.host();
    QTimer escape;
    escape.callOnTimeout(window.get(), [&] {
        if (hung.targets().isEmpty()) return;
        escape.stop();
        EXPECT_TRUE(window->cancel->isVisible());
        QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    escape.start(10);
    window->rip_go();
    EXPECT_EQ(hung.targets().size(), 1);
    EXPECT_TRUE(questions.isEmpty()) << "no answer, no time-out: the road ended on Escape";
    EXPECT_FALSE(window->isVisible());
    window.reset();
    EXPECT_TRUE(hung.clientsStillWait()) << "the program's end does not wait for the given-up exchange";
}

// The library's Lanterns / Harbour, in its own folder (false) or linked to one elsewhere (true).
class Overwrite : public Road, public ::testing::WithParamInterface<bool>
{
};

TEST_P(Overwrite, NeverLosesAFileOfTheOldAlbum)
{
    const QString old = QLatin1String(GetParam() ? "elsewhere/" : "music/Lanterns__Harbour/");
    folder.write(old + QStringLiteral("track06.mp3"), "old");
    folder.write(old + QStringLiteral("scans/back.jpg"), "scan");
    ASSERT_TRUE(!GetParam() || QFile::link(folder.file(old), root + QStringLiteral("/Lanterns__Harbour")));
    form->addalbum(QStringLiteral("Lanterns"), QStringLiteral("Harbour"));
    knownDisc();
    QVector<int> rows{0, 0};
    otherDialog = chooseRows(rows);
    FakeCdDrives drives(image);
    drives.onRead = [&](uint32_t lba) { // a second in, with track 1 made
        if (lba != image.starts[1]) return;
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->encoder()->finished(); }));
        window->cancelClick();
    };
    window->rip_go();
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/track06.mp3")), QByteArray("old"));
    EXPECT_EQ(library::albumcount, 1) << "a cancelled overwrite leaves the old album whole and listed";
    drives.onRead = {};
    window->rip_go();
    // The folder a link stood for keeps every file; a folder's other files stay with the new album.
    EXPECT_EQ(folder.read(old + QStringLiteral("track06.mp3")),
              GetParam() ? QByteArray("old") : QByteArray());
    EXPECT_EQ(folder.read(old + QStringLiteral("scans/back.jpg")), QByteArray("scan"));
    EXPECT_EQ(QFileInfo::exists(root + QStringLiteral("/Lanterns__Harbour/scans/back.jpg")), !GetParam())
        << "a linked album's files taken into the new one";
}

INSTANTIATE_TEST_SUITE_P(Road, Overwrite, ::testing::Bool());

// The old album holds, beside its tracks, a link to a FIFO elsewhere, a FIFO of its own and a link
// to nothing: the overwrite carries each as it is and opens none of them. The extraction writes
// through no link in the cache either.
TEST_F(Road, AnOverwriteCarriesEveryKindOfEntryWithoutOpeningOne)
{
    const QString fifo = folder.makeFifo(QStringLiteral("elsewhere/fifo"));
    const QString old = folder.mkdir(QStringLiteral("music/Lanterns__Harbour"));
    folder.write(QStringLiteral("music/Lanterns__Harbour/track06.mp3"), "old");
    ASSERT_TRUE(QFile::link(fifo, old + QStringLiteral("/booklet")));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("nothing")), old + QStringLiteral("/notes")));
    const QString pipe = folder.makeFifo(QStringLiteral("music/Lanterns__Harbour/pipe"));
    form->addalbum(QStringLiteral("Lanterns"), QStringLiteral("Harbour"));
    knownDisc();
    QVector<int> rows{0};
    otherDialog = chooseRows(rows);
    // A link planted in the cache where track 1's PCM goes.
    const QString outside = folder.write(QStringLiteral("elsewhere/keep"), "keep");
    ASSERT_TRUE(QFile::link(outside, cache + QStringLiteral("/track0.tmp")));
    const FifoGuard linked(fifo);
    const FifoGuard own(pipe);
    window->rip_go(); // "Overwrite"
    EXPECT_TRUE(folder.read(QStringLiteral("elsewhere/keep")) == "keep")
        << "PCM went through a link in the cache";
    EXPECT_FALSE(linked.released()) << "the overwrite waited on the FIFO a link leads to";
    EXPECT_FALSE(own.released()) << "the overwrite waited on a FIFO of the album";
    EXPECT_TRUE(QFile::exists(old + QStringLiteral("/track03.mp3")));
    EXPECT_FALSE(QFile::exists(old + QStringLiteral("/track06.mp3")));
    EXPECT_EQ(QFile::symLinkTarget(old + QStringLiteral("/booklet")), fifo);
    EXPECT_TRUE(QFileInfo(old + QStringLiteral("/notes")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(old + QStringLiteral("/pipe")));
}

// The library holds the database's album under names that differ only in case, then as a link to
// nothing: each time the operator is asked to overwrite it, and the one folder is replaced.
TEST_F(Road, AnAlbumUnderAnotherCaseOrALinkToNothingIsAskedForAndReplaced)
{
    folder.write(QStringLiteral("music/lanterns__HARBOUR/track06.mp3"), "old");
    knownDisc();
    QVector<int> rows{0, 0};
    otherDialog = chooseRows(rows);
    window->rip_go();
    EXPECT_EQ(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("lanterns__HARBOUR")});
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/lanterns__HARBOUR/track03.mp3")));

    ASSERT_TRUE(QDir(root + QStringLiteral("/lanterns__HARBOUR")).removeRecursively());
    ASSERT_TRUE(
        QFile::link(folder.file(QStringLiteral("nothing")), root + QStringLiteral("/Lanterns__Harbour")));
    window->rip_go();
    EXPECT_EQ(questionTexts(), QStringList(2, QStringLiteral("This CD already exists on the system.")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/Lanterns__Harbour/track03.mp3")));
    EXPECT_FALSE(QFileInfo(root + QStringLiteral("/Lanterns__Harbour")).isSymLink());
}

// On a disk without hard links or rename flags the old album goes aside before the new one takes
// its place, and gives it its other files after: a kill then leaves them in the album the next
// start finds.
TEST_F(Road, WithoutHardLinksAKillAsTheNewAlbumTakesThePlaceKeepsTheOldAlbumsOtherFiles)
{
    folder.write(QStringLiteral("music/Lanterns__Harbour/track06.mp3"), "old");
    folder.write(QStringLiteral("music/Lanterns__Harbour/scans/back.jpg"), "scan");
    knownDisc();
    QVector<int> rows{0};
    otherDialog = chooseRows(rows);
    // The library as a kill would leave it once the new album stands in its place.
    const QString killed = folder.file(QStringLiteral("killed"));
    platform::setRefusals({true, true});
    platform::setMoveStep([&](int step) {
        if (step == 4) {
            ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), root, killed}), 0);
        }
    });
    window->rip_go(); // "Overwrite"
    platform::setRefusals({});
    platform::setMoveStep({});
    library::config.path = killed + QLatin1Char('/');
    ripper::sweepinterrupted(); // as the next start does
    EXPECT_EQ(QDir(killed).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Lanterns__Harbour")});
    EXPECT_EQ(folder.read(QStringLiteral("killed/Lanterns__Harbour/scans/back.jpg")), QByteArray("scan"));
    EXPECT_TRUE(QFile::exists(killed + QStringLiteral("/Lanterns__Harbour/track03.mp3")));
    EXPECT_FALSE(QFile::exists(killed + QStringLiteral("/Lanterns__Harbour/track06.mp3")));
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/scans/back.jpg")), QByteArray("scan"));
}

// The library on a FAT disk through fusefat, which has neither hard links nor rename flags and
// empties a folder it renames: the operator hears that the album could not join the library, no
// album, empty or not, is added, and an album it would have replaced keeps its files.
TEST_F(Road, OnFatAnAlbumThatCannotJoinTheLibraryIsNamedAndNothingIsAddedOrLost)
{
    const MountedDisk disk(MountedDisk::Kind::Fat, folder.mkdir(QStringLiteral("disk")));
    if (!disk.mounted()) GTEST_SKIP() << disk.failure().toStdString();
    root = disk.path();
    library::config.path = root + QLatin1Char('/');
    knownDisc();
    QVector<int> rows{0, 0};
    otherDialog = chooseRows(rows);
    MessageLine line;
    window->rip_go();
    const QString refused = QStringLiteral(
        "The disk refused to move the album into the library, so it is not added: Lanterns__Harbour");
    EXPECT_EQ(questionTexts(), QStringList{refused});
    EXPECT_TRUE(line.messages.isEmpty()) << line.messages.join(u'|').toStdString();
    EXPECT_TRUE(QDir(root).entryList({QStringLiteral("*__*")}, QDir::AllEntries).isEmpty());
    EXPECT_EQ(library::albumcount, 0);

    const QString old = root + QStringLiteral("/Lanterns__Harbour");
    ASSERT_TRUE(QDir().mkdir(old));
    QFile track(old + QStringLiteral("/track06.mp3"));
    ASSERT_TRUE(track.open(QIODevice::WriteOnly) && track.write("old") == 3);
    track.close();
    questions.clear();
    window->rip_go(); // "Overwrite"
    EXPECT_EQ(questionTexts(),
              (QStringList{QStringLiteral("This CD already exists on the system."), refused}));
    EXPECT_EQ(QDir(old).entryList(QDir::Files), QStringList{QStringLiteral("track06.mp3")});
}

TEST_F(Road, TracksReadShortAreNamedAndTheOperatorKeepsOrDropsTheAlbum)
{
    // The disc's image ends inside track 2: track 3 cannot be read at all.
    QFile bin(QString(image.cuePath).replace(QStringLiteral(".cue"), QStringLiteral(".bin")));
    ASSERT_TRUE(bin.resize(qint64(image.starts[1] + 40) * 2352));
    knownDisc();
    QVector<int> rows{0, 0, 0};
    otherDialog = chooseRows(rows);
    answers = {2}; // "Drop Album"
    window->rip_go();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0].title, QStringLiteral("Incomplete Tracks"));
    EXPECT_TRUE(questions[0].text.contains(
        QStringLiteral("Read with errors, so incomplete: 2\r\nLeft out, nothing to play: 3")))
        << questions[0].text.toStdString();
    EXPECT_FALSE(QDir(root + QStringLiteral("/Lanterns__Harbour")).exists());
    EXPECT_FALSE(QDir(ripper::stagingfolder(QStringLiteral("Lanterns__Harbour"))).exists());
    EXPECT_EQ(library::albumcount, 0);

    answers = {1}; // "Keep Album"
    window->rip_go();
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/title.dat")), QByteArray("Quay\nTide\n"));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/Lanterns__Harbour/track03.mp3")));
    EXPECT_EQ(library::albumcount, 1);

    answers = {1, 2}; // "Overwrite", "Drop Album"
    window->rip_go();
    EXPECT_TRUE(questions.last().text.contains(QStringLiteral("replaces the album already on the system")));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/Lanterns__Harbour/track02.mp3")));
}

// The disk fills while track 2 is made: the operator hears so, and the first answer, like Escape,
// keeps the three-track album already on the system rather than replace it with one track.
TEST_F(Road, AFullDiskIsNamedAndTheFirstAnswerKeepsTheLargerOldAlbum)
{
    const QByteArray titles("A\nB\nC\n");
    for (const QString& name : {QStringLiteral("track01.mp3"), QStringLiteral("track02.mp3"),
                                QStringLiteral("track03.mp3"), QStringLiteral("title.dat")})
        folder.write(QStringLiteral("music/Lanterns__Harbour/") + name, titles);
    form->addalbum(QStringLiteral("Lanterns"), QStringLiteral("Harbour"));
    knownDisc();
    QVector<int> rows{0, 0, 0};
    otherDialog = chooseRows(rows);
    FakeCdDrives drives(image);
    drives.onRead = [&](uint32_t lba) {
        if (lba != image.starts[0]) return;
        QDir().mkpath(ripper::stagingfolder(QStringLiteral("Lanterns__Harbour")) +
                      QStringLiteral("/track02.mp3"));
        space.bytes = 3 * 1024 * 1024;
    };
    for (const QVector<int>& answered :
         {QVector<int>{1, 1}, QVector<int>{1, 3}}) { // "Keep Old Album", Escape
        answers = answered;
        space.bytes = ripper::kRipFreeSpace;
        window->rip_go();
        ASSERT_EQ(questions.size(), 2);
        EXPECT_TRUE(questions[1].text.contains(QStringLiteral("The disk is full: 3 MB left on it.")));
        EXPECT_TRUE(questions[1].text.contains(QStringLiteral("which has 3 tracks, with track 1.")));
        EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/track03.mp3")), titles);
        EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/title.dat")), titles);
        questions.clear();
    }
    answers = {1, 2}; // "Overwrite", "Replace It"
    space.bytes = ripper::kRipFreeSpace;
    window->rip_go();
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/title.dat")), QByteArray("Quay\n"));
}

TEST_F(Road, AFailedEncodingKeepsTitlesAndTracksInStep)
{
    knownDisc();
    QVector<int> rows{0};
    otherDialog = chooseRows(rows);
    FakeCdDrives drives(image);
    // Track 2's MP3 cannot be made: its name is taken by a folder.
    drives.onRead = [&](uint32_t lba) {
        if (lba == image.starts[0])
            QDir().mkpath(ripper::stagingfolder(QStringLiteral("Lanterns__Harbour")) +
                          QStringLiteral("/track02.mp3"));
    };
    window->rip_go();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].text.contains(QStringLiteral("Left out, not made or after one not made: 2, 3")))
        << questions[0].text.toStdString();
    const QString album = root + QStringLiteral("/Lanterns__Harbour");
    EXPECT_EQ(folder.read(QStringLiteral("music/Lanterns__Harbour/title.dat")), QByteArray("Quay\n"));
    EXPECT_EQ(QDir(album).entryList(QDir::Files).join(QLatin1Char(' ')),
              QStringLiteral("title.dat title.jpg track01.mp3"));
}

TEST_F(Road, TheTitleStripOpensWithTheWindowsNameAndItsFrameClearsDescenders)
{
    EXPECT_EQ(window->toptitle->text(), QStringLiteral("Compact Disk Extraction"));
    EXPECT_GE(window->inf->y(), window->toptitleshape->geometry().bottom()) << "the status line clears it";
    window->toptitle->setText(QStringLiteral("Getting Album Information"));
    const QImage screen = window->grab().toImage();
    const QRect frame = window->toptitleshape->geometry();
    // The frame's foot, where white text must not show through.
    for (int y = frame.bottom() - 2; y <= frame.bottom(); ++y)
        for (int x = window->toptitle->x(); x <= window->toptitle->geometry().right(); ++x)
            ASSERT_LE(qBlue(screen.pixel(x, y)), 120) << x << "," << y;
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

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <csignal>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include "answeringdialogs.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/id3.h"
#include "mounteddisk.h"
#include "platform/files.h"
#include "printers.h"
#include "ripper/addtrack.h"
#include "ripper/albumfiles.h"
#include "ripper/albumstaging.h"
#include "tempfolder.h"
#include "tonemp3.h"

using ripper::TAddTrack;

namespace {

class AddTrack : public ::testing::Test
{
protected:
    AddTrack()
    {
        library::config.path = folder.path() + QLatin1Char('/');
        dialogs.modalHandler = [this](QDialog& shown) {
            shown.show();
            act(static_cast<TAddTrack&>(shown));
            EXPECT_TRUE(QTest::qWaitFor([&shown] { return !shown.isVisible(); }));
            return shown.result();
        };
    }
    ~AddTrack() override { library::resetGlobals(); }

    // Drops `name` on the album "Band" / "Songs"; the target of the next file is kept.
    int drop(const QString& name, bool firstrun = true)
    {
        const QString file = folder.write(QStringLiteral("drop/") + name, QByteArray(500, 'x'));
        return ripper::addtrackdialog(artist, album, file, artist, album, firstrun);
    }

    TempFolder folder;
    AnsweringDialogs dialogs;
    QString artist = QStringLiteral("Band");
    QString album = QStringLiteral("Songs");
    std::function<void(TAddTrack&)> act = [](TAddTrack& d) { d.Ok->click(); };
};

} // namespace

TEST_F(AddTrack, NextNumberAboveTheHighestWithTheFileNameAsTitle)
{
    folder.write(QStringLiteral("Band__Songs/track01.mp3"), "a");
    folder.write(QStringLiteral("Band__Songs/TRACK09.MPG"), "b");
    folder.write(QStringLiteral("Band__Songs/title.dat"), "One\r\nTwo");
    act = [](TAddTrack& d) {
        EXPECT_EQ(d.ebtrack->text(), QStringLiteral("Live Intro"));
        d.Ok->click();
    };
    EXPECT_EQ(drop(QStringLiteral("Live Intro.mp3")), 1);
    act = [](TAddTrack& d) { d.Ok->click(); };
    EXPECT_EQ(drop(QStringLiteral("clip.mpg")), 1);
    EXPECT_EQ(folder.read(QStringLiteral("Band__Songs/track10.mp3")), QByteArray(500, 'x'));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Band__Songs/track11.mpG"))));
    EXPECT_EQ(folder.read(QStringLiteral("Band__Songs/TRACK09.MPG")), QByteArray("b"));
    EXPECT_EQ(folder.read(QStringLiteral("Band__Songs/title.dat")),
              QByteArray("One\nTwo\nTrack  3\nTrack  4\nTrack  5\nTrack  6\nTrack  7\nTrack  8\nTrack  9\n"
                         "Live Intro\nclip\n"));
}

TEST_F(AddTrack, NewAlbumFromTheTagAndRepeatAcrossTheDrop)
{
    const QString tagged = folder.write(QStringLiteral("drop/a.mp3"), QByteArray(500, 'x'));
    library::tid3tag tag;
    tag.track = QStringLiteral(" Opener ");
    tag.artist = QStringLiteral("New Band");
    tag.album = QStringLiteral("First");
    ASSERT_TRUE(library::writetag(tagged, tag));
    act = [](TAddTrack& d) {
        d.newalbum->click();
        d.repeataction->click();
        d.Ok->click();
    };
    EXPECT_EQ(ripper::addtrackdialog(artist, album, tagged, artist, album, true), 1);
    EXPECT_EQ(artist + QLatin1Char('/') + album, QStringLiteral("New Band/First"));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("New Band__First/title.jpg"))));
    act = [](TAddTrack&) {}; // the repeat presses OK
    EXPECT_EQ(drop(QStringLiteral("b.mp3"), false), 1);
    EXPECT_EQ(drop(QStringLiteral("c.mp3"), false), 1);
    EXPECT_EQ(folder.read(QStringLiteral("New Band__First/title.dat")), QByteArray("Opener\nb\nc\n"));
    act = [](TAddTrack& d) {
        EXPECT_FALSE(d.repeataction->isChecked());
        d.Cancel->click();
    };
    EXPECT_EQ(drop(QStringLiteral("d.mp3")), 2);
}

TEST_F(AddTrack, RefusedNamesAndAFailedTitleFileAddNothing)
{
    folder.mkdir(QStringLiteral("Band__Songs/title.dat"));
    act = [](TAddTrack& d) {
        d.newalbum->click();
        d.ebartist->setText(QStringLiteral("Jay-Z"));
        d.Ok->click();
        EXPECT_TRUE(d.isVisible());
        d.oldalbum->click();
        d.Ok->click();
    };
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 2);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(
        dialogs.shown[0].text.startsWith(QStringLiteral("Album and Artist fields must be filled in")));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Error writing title file."));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Band__Songs/track01.mp3"))));
}

// Each title keeps one line, whatever its tag or file name holds, so after a restart every title
// still stands beside its track; the titles file keeps the spelling it has.
TEST_F(AddTrack, TitlesWithLineBreaksOrControlCharactersTakeOneLineEachInTheTitlesFileAsSpelled)
{
    folder.write(QStringLiteral("Band__Songs/track01.mp3"), "a");
    folder.write(QStringLiteral("Band__Songs/track02.mp3"), "b");
    folder.write(QStringLiteral("Band__Songs/TITLE.DAT"), "One\nTwo\n");
    const QString tagged = folder.write(
        QStringLiteral("drop/tagged.mp3"),
        tools::id3v23Tag(QStringLiteral("Evil\nInjected\r\v\f\x1c\x1d\x1e\u0085\u2028\u2029End"), {}, {}) +
            QByteArray(500, 'x'));
    act = [](TAddTrack& d) {
        EXPECT_EQ(d.ebtrack->text(), QStringLiteral("Evil Injected         End"));
        d.Ok->click();
    };
    EXPECT_EQ(ripper::addtrackdialog(artist, album, tagged, artist, album, true), 1);
    act = [](TAddTrack& d) { d.Ok->click(); };
    EXPECT_EQ(drop(QStringLiteral("two\nlines\u2028here.mp3")), 1);

    const QString songs = folder.file(QStringLiteral("Band__Songs"));
    EXPECT_EQ(folder.read(QStringLiteral("Band__Songs/TITLE.DAT")),
              QByteArray("One\nTwo\nEvil Injected         End\ntwo lines here\n"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Band__Songs/title.dat"))));
    ASSERT_TRUE(library::loadtitles(songs));
    EXPECT_EQ(library::trackscount, ripper::trackfiles(songs).size());
}

// The last number an album has room for is taken; beyond it a drop is refused.
TEST_F(AddTrack, TheNinetyNinthTrackIsAddedAndAHundredthRefused)
{
    folder.write(QStringLiteral("Band__Songs/track98.mp3"), "a");
    EXPECT_EQ(drop(QStringLiteral("last.mp3")), 1);
    EXPECT_EQ(folder.read(QStringLiteral("Band__Songs/track99.mp3")), QByteArray(500, 'x'));
    EXPECT_EQ(drop(QStringLiteral("more.mp3")), 2);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("The album already holds 99 tracks."));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Band__Songs"))).entryList(QDir::Files).size(), 3);
    QStringList titles;
    ASSERT_TRUE(library::readtitlesfile(folder.file(QStringLiteral("Band__Songs")), titles));
    ASSERT_EQ(titles.size(), 99);
    EXPECT_EQ(titles.last(), QStringLiteral("last"));
}

TEST_F(AddTrack, ANewAlbumNamedAsOneOnDiskInAnotherCaseIsThatAlbum)
{
    folder.write(QStringLiteral("Band__Songs/track01.mp3"), "a");
    act = [](TAddTrack& d) {
        d.newalbum->click();
        d.ebartist->setText(QStringLiteral("BAND"));
        d.ebalbum->setText(QStringLiteral("songs"));
        d.Ok->click();
    };
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 1);
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*__*")}, QDir::Dirs),
              QStringList{QStringLiteral("Band__Songs")});
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Band__Songs/track02.mp3"))));
}

TEST_F(AddTrack, ANewAlbumIsMadeOnlyWithItsTrackUnderAFolderNameTheScanSees)
{
    act = [](TAddTrack& d) {
        d.newalbum->click();
        d.ebartist->setText(QStringLiteral(".Amber"));
        d.ebalbum->setText(QStringLiteral("Live"));
        d.Ok->click();
    };
    const QString unreadable = folder.file(QStringLiteral("drop/gone.mp3"));
    // What a kill during the copy would leave: no album the scan finds.
    dialogs.onMessage = [this](const ShownMessage&) {
        EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*__*")}, QDir::Dirs), QStringList());
    };
    EXPECT_EQ(ripper::addtrackdialog(artist, album, unreadable, artist, album, true), 2);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Error copying track file."));
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("Amber__Live"))).exists());
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 1);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Amber__Live/track01.mp3"))));
}

// A file that guests could not play whole is refused with a word: an empty one, and one cut short
// while it was copied.
TEST_F(AddTrack, AnEmptySourceOrOneCutShortDuringTheCopyIsRefused)
{
    folder.write(QStringLiteral("Band__Songs/title.dat"), "One\n");
    folder.write(QStringLiteral("Band__Songs/track01.mp3"), "a");
    const QString empty = folder.write(QStringLiteral("drop/empty.mp3"), QByteArray());
    EXPECT_EQ(ripper::addtrackdialog(artist, album, empty, artist, album, true), 2);
    const QString cut = folder.write(QStringLiteral("drop/cut.mp3"), QByteArray(64 * 1024 * 1024, 'x'));
    std::thread cutter([&] {
        const QString copy = ripper::stagingfolder(QStringLiteral("Band__Songs"));
        while (QDir(copy).entryList({QStringLiteral("*track02*")}, QDir::Files | QDir::Hidden).isEmpty())
            std::this_thread::yield();
        QFile::resize(cut, 1000);
    });
    EXPECT_EQ(ripper::addtrackdialog(artist, album, cut, artist, album, true), 2);
    cutter.join();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("The file is empty")));
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(QStringLiteral("The file changed while it was copied")));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Band__Songs"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("title.dat"), QStringLiteral("track01.mp3")}));
    EXPECT_EQ(folder.read(QStringLiteral("Band__Songs/title.dat")), QByteArray("One\n"));
}

// An album whose folder is a link elsewhere, and any album while a plain file stands where albums
// are staged, cannot take a track safely: the operator hears why, and nothing is written in place.
TEST_F(AddTrack, ALinkedAlbumOrAFileWhereAlbumsAreStagedIsRefusedWithAWord)
{
    act = [](TAddTrack& d) {
        d.Ok->click();
        EXPECT_TRUE(d.isVisible()) << "the track was added";
        d.Cancel->click();
    };
    folder.write(QStringLiteral("elsewhere/track01.mp3"), "a");
    ASSERT_TRUE(
        QFile::link(folder.file(QStringLiteral("elsewhere")), folder.file(QStringLiteral("Band__Songs"))));
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 2);
    folder.write(QStringLiteral("Band__Live/track01.mp3"), "a");
    folder.write(QStringLiteral(".incoming"), "the operator's");
    album = QStringLiteral("Live");
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 2);
    act = [](TAddTrack& d) {
        d.newalbum->click();
        d.ebartist->setText(QStringLiteral("Band"));
        d.ebalbum->setText(QStringLiteral("Fresh"));
        d.Ok->click();
        EXPECT_TRUE(d.isVisible()) << "the album was made";
        d.Cancel->click();
    };
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 2);
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("The album's folder is a link")));
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(QStringLiteral("A file named \".incoming\" stands")));
    EXPECT_EQ(dialogs.shown[2].text, dialogs.shown[1].text);
    EXPECT_EQ(QDir(folder.file(QStringLiteral("elsewhere"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("track01.mp3")});
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Band__Live"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("track01.mp3")});
    EXPECT_EQ(folder.read(QStringLiteral(".incoming")), QByteArray("the operator's"));
}

// The library on a disk mounted through FUSE, as the operator's may be.
class AddTrackOnDisk : public AddTrack
{
protected:
    // Mounts a disk of `kind` as the library; false (the test skipped) when the machine cannot.
    bool mountLibrary(MountedDisk::Kind kind)
    {
        disk = std::make_unique<MountedDisk>(kind, folder.mkdir(QStringLiteral("disk")));
        if (!disk->mounted()) return false;
        library::config.path = disk->path() + QLatin1Char('/');
        folder.write(QStringLiteral("disk/Band__Songs/track01.mp3"), "a");
        folder.write(QStringLiteral("disk/Band__Songs/title.dat"), "One\n");
        folder.write(QStringLiteral("disk/Band__Songs/notes.txt"), "notes");
        return true;
    }

    // The files of album folder `name` on the disk, hidden ones too.
    QStringList filesOf(const QString& name)
    {
        return QDir(folder.file(QStringLiteral("disk/") + name)).entryList(QDir::Files | QDir::Hidden);
    }

    void newAlbumNamed(const QString& name)
    {
        act = [name](TAddTrack& d) {
            d.newalbum->click();
            d.ebartist->setText(QStringLiteral("Band"));
            d.ebalbum->setText(name);
            d.Ok->click();
        };
    }

    std::unique_ptr<MountedDisk> disk;
};

// NTFS through ntfs-3g refuses renameat2's flags: tracks and titles are still placed, the album
// swapped through a folder put aside, and a start makes a missing titles file.
TEST_F(AddTrackOnDisk, OnNtfsATrackJoinsAnAlbumANewAlbumIsMadeAndAStartWritesTitles)
{
    if (!mountLibrary(MountedDisk::Kind::Ntfs)) GTEST_SKIP() << disk->failure().toStdString();
    EXPECT_EQ(drop(QStringLiteral("Second.mp3")), 1);
    EXPECT_EQ(folder.read(QStringLiteral("disk/Band__Songs/title.dat")), QByteArray("One\nSecond\n"));
    EXPECT_EQ(folder.read(QStringLiteral("disk/Band__Songs/track02.mp3")), QByteArray(500, 'x'));
    EXPECT_EQ(folder.read(QStringLiteral("disk/Band__Songs/notes.txt")), QByteArray("notes"));
    newAlbumNamed(QStringLiteral("Fresh"));
    EXPECT_EQ(drop(QStringLiteral("Opener.mp3")), 1);
    EXPECT_EQ(filesOf(QStringLiteral("Band__Fresh")),
              (QStringList{QStringLiteral("title.dat"), QStringLiteral("title.jpg"),
                           QStringLiteral("track01.mp3")}));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.value(0).text.toStdString();

    folder.write(QStringLiteral("disk/Band__Bare/track01.mp3"), "a");
    ASSERT_TRUE(library::scanalbumfolders({}));
    library::makependingtitles();
    EXPECT_EQ(folder.read(QStringLiteral("disk/Band__Bare/title.dat")), QByteArray("track01\n"));
    EXPECT_EQ(filesOf(QStringLiteral("Band__Bare")),
              (QStringList{QStringLiteral("title.dat"), QStringLiteral("track01.mp3")}));
}

// FAT through fusefat has no hard links and no rename flags, and a folder it renames loses its
// files: a track goes into its album in place, and a new album is refused with a word, leaving no
// empty album behind.
TEST_F(AddTrackOnDisk, OnFatATrackJoinsAnAlbumInPlaceAndANewAlbumIsRefusedWithAWord)
{
    if (!mountLibrary(MountedDisk::Kind::Fat)) GTEST_SKIP() << disk->failure().toStdString();
    EXPECT_EQ(drop(QStringLiteral("Second.mp3")), 1);
    EXPECT_EQ(folder.read(QStringLiteral("disk/Band__Songs/title.dat")), QByteArray("One\nSecond\n"));
    EXPECT_EQ(folder.read(QStringLiteral("disk/Band__Songs/track02.mp3")), QByteArray(500, 'x'));
    newAlbumNamed(QStringLiteral("Fresh"));
    EXPECT_EQ(drop(QStringLiteral("Opener.mp3")), 2);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("The disk refused to move the album")));
    EXPECT_EQ(QDir(disk->path()).entryList({QStringLiteral("*__*")}, QDir::AllEntries),
              QStringList{QStringLiteral("Band__Songs")});
}

// Add Track of a large file into Band / Songs, run by a child process that the test kills from
// outside, as a power cut or a kill would stop the program.
class KilledAddTrack : public AddTrack
{
protected:
    KilledAddTrack() { source = folder.write(QStringLiteral("drop/Third.mp3"), kTrack); }

    void makeOldAlbum()
    {
        QDir(folder.file(QStringLiteral("Band__Songs"))).removeRecursively();
        folder.write(QStringLiteral("Band__Songs/track01.mp3"), "a");
        folder.write(QStringLiteral("Band__Songs/track02.mp3"), "b");
        folder.write(QStringLiteral("Band__Songs/title.dat"), kOldTitles);
    }

    // `refusals`: what the child's file system refuses; `killAt`: the step of the album's move it
    // is killed at (none when negative).
    pid_t startChild(platform::Refusals refusals = {}, int killAt = -1)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            platform::setRefusals(refusals);
            platform::setMoveStep([killAt](int step) {
                if (step == killAt) ::raise(SIGKILL);
            });
            TAddTrack dialog(artist, album, source);
            dialog.OkClick();
            ::_exit(dialog.result() == TAddTrack::kAdded ? 0 : 1);
        }
        return child;
    }

    // What the process `pid` has written so far, in bytes; it can still be read once the process has
    // ended and until it is waited for.
    static qint64 bytesWritten(pid_t pid)
    {
        QFile io(QStringLiteral("/proc/%1/io").arg(pid));
        if (!io.open(QIODevice::ReadOnly)) return -1;
        for (const QByteArray& line : io.readAll().split('\n'))
            if (line.startsWith("wchar:")) return line.mid(6).trimmed().toLongLong();
        return -1;
    }

    // Every file under the library after the next start, with its size; title files with their text.
    QStringList libraryAfterNextStart()
    {
        ripper::sweepinterrupted();
        QStringList files;
        QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            if (entry.isDir() && !entry.isSymLink()) continue;
            const QString name = QDir(folder.path()).relativeFilePath(entry.filePath());
            files << name + (name.endsWith(QStringLiteral("title.dat"))
                                 ? QLatin1Char(' ') + QString::fromUtf8(folder.read(name))
                                 : QLatin1Char(' ') + QString::number(entry.size()));
        }
        files.sort();
        return files;
    }

    // The library as it was, and with the track added, after the next start.
    QStringList oldAlbum()
    {
        return {QStringLiteral("Band__Songs/title.dat One\r\nTwo\r\n"),
                QStringLiteral("Band__Songs/track01.mp3 1"), QStringLiteral("Band__Songs/track02.mp3 1"),
                QStringLiteral("drop/Third.mp3 ") + QString::number(kTrack.size())};
    }
    QStringList albumWithTrack()
    {
        QStringList added = oldAlbum();
        added[0] = QStringLiteral("Band__Songs/title.dat One\nTwo\nThird\n");
        added.insert(3, QStringLiteral("Band__Songs/track03.mp3 ") + QString::number(kTrack.size()));
        return added;
    }

    const QByteArray kTrack = QByteArray(16 * 1024 * 1024, 'x');
    const QByteArray kOldTitles = "One\r\nTwo\r\n";
    QString source;
};

// On a disk with hard links the album is staged; on one without, the track goes in place. The kills
// are placed by the child's own progress, so a busy machine moves none of them.
TEST_F(KilledAddTrack, AKillAtAnyMomentLeavesTheOldAlbumOrTheWholeTrackWithItsTitle)
{
    const QStringList old = oldAlbum();
    const QStringList added = albumWithTrack();
    for (const platform::Refusals disk : {platform::Refusals{}, platform::Refusals{true, true}}) {
        const auto expectOldOrAdded = [&](const char* when, int at) {
            const QStringList left = libraryAfterNextStart();
            EXPECT_TRUE(left == old || left == added) << (disk.hardLinks ? "in place" : "staged") << ", kill "
                                                      << when << at << ": " << left.join(u'|').toStdString();
        };
        makeOldAlbum();
        const pid_t whole = startChild(disk);
        siginfo_t ended{};
        ASSERT_EQ(::waitid(P_PID, id_t(whole), &ended, WEXITED | WNOWAIT), 0);
        const qint64 wholeWrites = bytesWritten(whole);
        int status = 0;
        ASSERT_GT(::waitpid(whole, &status, 0), 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_EQ(libraryAfterNextStart(), added);

        // Kills spread over what a whole run writes, and one as soon as the track has its final name.
        constexpr int kKills = 20;
        const QString placed = QStringLiteral("/Band__Songs/track03.mp3");
        for (int kill = 0; kill <= kKills; ++kill) {
            makeOldAlbum();
            const pid_t child = startChild(disk);
            while (kill < kKills ? bytesWritten(child) < wholeWrites * kill / kKills
                                 : !QFile::exists(folder.path() + placed) &&
                                       !QFile::exists(ripper::stagingfolder(QString()) + placed))
                if (::waitpid(child, &status, WNOHANG) != 0) break;
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            expectOldOrAdded("at twentieth ", kill);
        }
        // And one as each step of the album's move begins.
        for (int step = 0;; ++step) {
            makeOldAlbum();
            ASSERT_GT(::waitpid(startChild(disk, step), &status, 0), 0);
            if (!WIFSIGNALED(status)) break;
            expectOldOrAdded("at step ", step);
        }
    }
}

// On a file system that refuses renameat2's flags the album is replaced in steps, the old one put
// aside first: a kill before any of them leaves one whole album, and the next start lists it.
TEST_F(KilledAddTrack, AKillAtEachStepOfAReplacementWithoutASwapLeavesOneWholeAlbum)
{
    constexpr int kSteps = 5;
    const platform::Refusals noFlags{true, false};
    for (int step = 0; step < kSteps; ++step) {
        makeOldAlbum();
        int status = 0;
        ASSERT_GT(::waitpid(startChild(noFlags, step), &status, 0), 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "step " << step << " was never reached";
        const QStringList left = libraryAfterNextStart();
        EXPECT_EQ(left, step < 4 ? oldAlbum() : albumWithTrack()) << "killed before step " << step;
    }
}

// Links in the library lead outside it: to a FIFO (0), a missing path (1) or a file (2).
class AddTrackOverLinks : public AddTrack, public ::testing::WithParamInterface<int>
{
};

TEST_P(AddTrackOverLinks, WritesNothingThroughThem)
{
    const QString target = folder.file(QStringLiteral("out/target"));
    if (GetParam() == 0) folder.makeFifo(QStringLiteral("out/target"));
    if (GetParam() == 2) folder.write(QStringLiteral("out/target"), "keep");
    folder.write(QStringLiteral("Band__Songs/track01.mp3"), "a");
    for (const char* name : {"Band__Songs/track02.mp3", "Band__Songs/title.dat", ".incoming", ".deleting-x"})
        ASSERT_TRUE(QFile::link(name[0] == '.' ? folder.file(QStringLiteral("out")) : target,
                                folder.file(QLatin1String(name))));
    EXPECT_EQ(drop(QStringLiteral("x.mp3")), 2);
    // The next start finds a link at the staging root again, planted meanwhile.
    if (!QFileInfo(folder.file(QStringLiteral(".incoming"))).isSymLink()) {
        ASSERT_TRUE(QDir(folder.file(QStringLiteral(".incoming"))).removeRecursively());
        ASSERT_TRUE(
            QFile::link(folder.file(QStringLiteral("out")), folder.file(QStringLiteral(".incoming"))));
    }
    ripper::sweepinterrupted(); // as the next start does
    EXPECT_FALSE(QFileInfo(folder.file(QStringLiteral(".incoming"))).isSymLink());
    const QFileInfo after(target);
    const QByteArray left = after.isFile() ? folder.read(QStringLiteral("out/target"))
                                           : QByteArray(after.exists() ? "not a file" : "nothing");
    EXPECT_EQ(left, (QList<QByteArray>{"not a file", "nothing", "keep"}.at(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(AddTrack, AddTrackOverLinks, ::testing::Range(0, 3));

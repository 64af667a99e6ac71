#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <filesystem>
#include <gtest/gtest.h>

#include "library/albumstore.h"
#include "library/global.h"
#include "printers.h"
#include "smalldisk.h"
#include "tempfolder.h"

using namespace library;

namespace {

class AlbumStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetGlobals();
        config.path = folder.path(); // no trailing separator: both spellings must work
    }
    void TearDown() override { resetGlobals(); }

    void makeAlbum(const QString& name, const QByteArray& titles = "one\n")
    {
        folder.write(name + QStringLiteral("/track01.mp3"), "mp3");
        folder.write(name + QStringLiteral("/title.dat"), titles);
    }
    QStringList scannedRows() const
    {
        QStringList rows;
        for (int n = 1; n <= albumcount; ++n)
            rows.append(albumref.at(n).artist + QStringLiteral(" - ") + albumref.at(n).album);
        return rows;
    }

    TempFolder folder;
};

TEST_F(AlbumStoreTest, ScanFindsAlbumFoldersInNameOrderWithoutRegardToCase)
{
    makeAlbum(QStringLiteral("Rivers__Blue"));
    makeAlbum(QStringLiteral("_Various__Hits"));
    makeAlbum(QStringLiteral("amber__Gold"));
    makeAlbum(QStringLiteral("A__B__C"));
    makeAlbum(QStringLiteral("Night Owls__Long Road"));
    int calls = 0;
    ASSERT_TRUE(scanalbumfolders([&] { ++calls; }));
    EXPECT_EQ(scannedRows(),
              QStringList({QStringLiteral("_Various - Hits"), QStringLiteral("A - B__C"),
                           QStringLiteral("amber - Gold"), QStringLiteral("Night Owls - Long Road"),
                           QStringLiteral("Rivers - Blue")}));
    EXPECT_EQ(albumcount, 5);
    EXPECT_EQ(albumrefonloadcount, 5);
    EXPECT_EQ(albumrefonload, albumref);
    EXPECT_EQ(album.size(), 6);
    EXPECT_EQ(calls, 5);
}

TEST_F(AlbumStoreTest, ScanSkipsWhatIsNoAlbum)
{
    makeAlbum(QStringLiteral("Ann__Real"));
    makeAlbum(QStringLiteral("__NoArtist"));
    makeAlbum(QStringLiteral("NoAlbum__"));
    makeAlbum(QStringLiteral(".Hidden__Album"));
    makeAlbum(QStringLiteral("Plain Folder"));
    folder.write(QStringLiteral("File__Name"), "a file, not a folder");
    ASSERT_TRUE(scanalbumfolders({}));
    EXPECT_EQ(scannedRows(), QStringList{QStringLiteral("Ann - Real")});
    EXPECT_EQ(albumcount, 1);
}

QStringList albumLogLines;

void captureAlbumLines(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QLatin1String(context.category) == QLatin1String("musetra.library.albums"))
        albumLogLines.append(message);
}

TEST_F(AlbumStoreTest, ScanLeavesOutLinksBackUpAndNamesThatAreNotUtf8WithALogLine)
{
    makeAlbum(QStringLiteral("Ann__Real"));
    const TempFolder elsewhere;
    elsewhere.write(QStringLiteral("track01.mp3"), "mp3");
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder.file(QStringLiteral("Linked__Elsewhere"))));
    ASSERT_TRUE(QFile::link(folder.path(), folder.file(QStringLiteral("Loop__Root"))));
    ASSERT_TRUE(QFile::link(QDir(folder.path()).filePath(QStringLiteral("..")),
                            folder.file(QStringLiteral("Up__Parent"))));
    const std::filesystem::path latin1 = folder.path().toStdString() + "/Caf\xe9__Latin1";
    std::filesystem::create_directory(latin1);
    albumLogLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureAlbumLines);
    const bool scanned = scanalbumfolders({});
    qInstallMessageHandler(previous);
    std::filesystem::remove(latin1); // Qt cannot see it, so it could not clean it up

    ASSERT_TRUE(scanned);
    EXPECT_EQ(scannedRows(),
              QStringList({QStringLiteral("Ann - Real"), QStringLiteral("Linked - Elsewhere")}));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("title.dat")))) << "written into the root";
    ASSERT_EQ(albumLogLines.size(), 3) << albumLogLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(albumLogLines.filter(QStringLiteral("Latin1")).first().contains(QStringLiteral("rename")));
}

TEST_F(AlbumStoreTest, TitlesAreReadOnlyAsFarAsTheListsReach)
{
    // The cut of the first line falls inside an "é", which goes whole.
    QByteArray titles = QByteArray(1023, 'x') + "\xc3\xa9" + QByteArray(5 * 1000 * 1000, 'x') + "\r\n";
    for (int n = 2; n <= 10050; ++n)
        titles += "Caf\xc3\xa9 " + QByteArray::number(n) + "\n";
    makeAlbum(QStringLiteral("Big__Titles"), titles);
    ASSERT_TRUE(loadtitles(folder.file(QStringLiteral("Big__Titles"))));
    EXPECT_EQ(trackscount, 9999);
    EXPECT_EQ(tracks.first(), QString(1023, QLatin1Char('x')));
    EXPECT_EQ(tracks.last(), QStringLiteral("Caf\u00e9 9999")) << "still read as UTF-8";

    // A file at the bounds, 9,999 lines of 1,024 bytes with CR LF, reads whole.
    QByteArray full;
    for (int n = 1; n <= 9999; ++n)
        full += QByteArray::number(n).leftJustified(1024, '.') + "\r\n";
    makeAlbum(QStringLiteral("Full__Titles"), full);
    ASSERT_TRUE(loadtitles(folder.file(QStringLiteral("Full__Titles"))));
    EXPECT_EQ(trackscount, 9999);
    EXPECT_EQ(tracks.last(), QStringLiteral("9999").leftJustified(1024, QLatin1Char('.')));

    // One line of 2 GB (a hole in the file), then one more: reading stops long before it.
    QFile endless(folder.write(QStringLiteral("Endless__Line/title.dat"), {}));
    ASSERT_TRUE(endless.open(QIODevice::WriteOnly) && endless.seek(qint64(2) << 30) &&
                endless.write("\nBeyond\n"));
    endless.close();
    ASSERT_TRUE(loadtitles(folder.file(QStringLiteral("Endless__Line"))));
    EXPECT_EQ(trackscount, 1);
}

TEST_F(AlbumStoreTest, ScanWithoutAlbumsChangesNothing)
{
    makeAlbum(QStringLiteral("__Only"));
    folder.write(QStringLiteral("Loose__File.mp3"), "x");
    albumref = {{}, {QStringLiteral("Kept"), QStringLiteral("Artist")}};
    albumcount = 1;
    EXPECT_FALSE(scanalbumfolders({}));
    EXPECT_EQ(albumcount, 1);
    EXPECT_EQ(albumref.at(1).album, QStringLiteral("Kept"));

    config.path = folder.file(QStringLiteral("no such root"));
    EXPECT_FALSE(scanalbumfolders({}));
    EXPECT_EQ(albumcount, 1);
}

// The scan only notes missing titles files (a fresh library opens at once); their albums read
// as the files will until the batch has made them.
TEST_F(AlbumStoreTest, MissingTitlesReadFromTheTrackFilesUntilTheBatchMakesThem)
{
    folder.write(QStringLiteral("First__Album/track02.mp3"), "x");
    folder.write(QStringLiteral("First__Album/TRACK01.MP3"), "x");
    folder.write(QStringLiteral("First__Album/track03.mpg"), "x");
    folder.write(QStringLiteral("First__Album/cover.jpg"), "x");
    folder.write(QStringLiteral("First__Album/.hidden.mp3"), "x");
    folder.write(QStringLiteral("First__Album/.~musetra.title.dat.Xy12Zq"),
                 "left by a kill before the rename");
    for (const char* name : {"title.dat.backup", "title.dat.orig42"})
        folder.write(QStringLiteral("First__Album/") + QLatin1String(name), "the operator's own copy");
    const TempFolder trackless;
    ASSERT_TRUE(QFile::link(trackless.path(), folder.file(QStringLiteral("Linked__Empty"))));
    folder.write(QStringLiteral("Second__Album/Title.DAT"), "Kept\n");
    folder.write(QStringLiteral("Second__Album/track01.mp3"), "x");
    folder.write(QStringLiteral("Third__Album/track01.mp3"), "x");
    ASSERT_TRUE(scanalbumfolders({}));
    folder.write(QStringLiteral("Third__Album/title.dat"), "Written meanwhile\n");
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("First__Album/title.dat"))));
    QStringList lines;
    ASSERT_TRUE(readtitlelines(folder.file(QStringLiteral("First__Album")), lines));
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("TRACK01"), QStringLiteral("track02"), QStringLiteral("track03")}));

    makependingtitles();
    EXPECT_EQ(folder.read(QStringLiteral("First__Album/title.dat")),
              QByteArray("TRACK01\ntrack02\ntrack03\n"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("First__Album/.~musetra.title.dat.Xy12Zq"))));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("First__Album/title.dat.backup"))));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("First__Album/title.dat.orig42"))));
    EXPECT_TRUE(QDir(trackless.path()).isEmpty()) << "titles made for a folder without tracks";
    ASSERT_TRUE(readtitlelines(folder.file(QStringLiteral("Linked__Empty")), lines));
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(folder.read(QStringLiteral("Second__Album/Title.DAT")), QByteArray("Kept\n"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Second__Album/title.dat"))));
    EXPECT_EQ(folder.read(QStringLiteral("Third__Album/title.dat")), QByteArray("Written meanwhile\n"));
}

// A track file whose name holds a line break still gives one title: the made file has a line per
// track, and the titles stay beside their tracks.
TEST_F(AlbumStoreTest, TitlesMadeFromTrackFileNamesTakeOneLineEach)
{
    folder.write(QStringLiteral("A__B/01 two\nlines.mp3"), "x");
    folder.write(QStringLiteral("A__B/02 carriage\rreturn\u0085.mp3"), "x");
    folder.write(QStringLiteral("A__B/03 plain.mp3"), "x");
    ASSERT_TRUE(scanalbumfolders({}));
    makependingtitles();
    EXPECT_EQ(folder.read(QStringLiteral("A__B/title.dat")),
              QByteArray("01 two lines\n02 carriage return \n03 plain\n"));
    ASSERT_TRUE(loadtitles(folder.file(QStringLiteral("A__B"))));
    EXPECT_EQ(trackscount, 3);
}

// Titles files that a full disk refuses leave nothing behind, not even an empty temporary copy;
// once space is freed, the album's titles are made as when they cannot be read.
TEST_F(AlbumStoreTest, TitlesRefusedByAFullDiskLeaveNoTemporaryCopy)
{
    const SmallDisk disk(folder.file(QStringLiteral("disk")), 4);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
    config.path = folder.file(QStringLiteral("disk"));
    for (const char* album : {"A__One", "B__Two", "C__Three"})
        folder.write(QStringLiteral("disk/%1/track01.mp3").arg(QLatin1String(album)), {});
    ASSERT_TRUE(disk.fill());
    ASSERT_TRUE(scanalbumfolders({}));
    makependingtitles();
    maketitles(QStringLiteral("A__One"));
    QStringList files;
    for (QDirIterator it(config.path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files.append(QDir(config.path).relativeFilePath(it.next()));
    files.sort();
    EXPECT_EQ(files, QStringList({QStringLiteral("A__One/track01.mp3"), QStringLiteral("B__Two/track01.mp3"),
                                  QStringLiteral("C__Three/track01.mp3"), QStringLiteral("filler")}));
    disk.free();
    maketitles(QStringLiteral("C__Three"));
    EXPECT_EQ(folder.read(QStringLiteral("disk/C__Three/title.dat")), QByteArray("track01\n"));
}

TEST_F(AlbumStoreTest, MaketitlesReplacesAnExistingTitlesFileOfAnySpelling)
{
    folder.write(QStringLiteral("A__B/TITLE.DAT"), "old\n");
    folder.write(QStringLiteral("A__B/track01.mp3"), "x");
    maketitles(QStringLiteral("A__B"));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("A__B"))).entryList(QDir::Files),
              QStringList({QStringLiteral("TITLE.DAT"), QStringLiteral("track01.mp3")}));
    EXPECT_EQ(folder.read(QStringLiteral("A__B/TITLE.DAT")), QByteArray("track01\n"));
}

TEST_F(AlbumStoreTest, TitlesAreReadOnePerLine)
{
    const struct
    {
        const char* what;
        QByteArray content;
        QStringList titles;
    } files[] = {{"Windows lines", "One\r\nTwo\r\n", {QStringLiteral("One"), QStringLiteral("Two")}},
                 {"Unix lines, no final break", "One\nTwo", {QStringLiteral("One"), QStringLiteral("Two")}},
                 {"an empty line",
                  "One\r\n\r\nThree\r\n",
                  {QStringLiteral("One"), QStringLiteral("Unknown track name"), QStringLiteral("Three")}},
                 {"Windows-1252", "Caf\xe9\r\n", {QStringLiteral("Caf\u00e9")}},
                 {"UTF-8", "Caf\xc3\xa9\n", {QStringLiteral("Caf\u00e9")}},
                 {"empty", "", {}}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        folder.write(QStringLiteral("A__B/Title.Dat"), file.content);
        ASSERT_TRUE(loadtitles(folder.file(QStringLiteral("A__B"))));
        EXPECT_EQ(tracks, file.titles);
        EXPECT_EQ(trackscount, file.titles.size());
    }
}

// A FIFO in the place of the titles file once froze the jukebox for good in its open(): it counts
// as missing, as does a folder without titles or no folder at all.
TEST_F(AlbumStoreTest, LoadtitlesFailureLeavesTheTitlesAloneAndAFifoNeverBlocks)
{
    tracks = {QStringLiteral("kept")};
    trackscount = 1;
    folder.mkdir(QStringLiteral("A__B"));
    EXPECT_FALSE(loadtitles(folder.file(QStringLiteral("A__B"))));
    EXPECT_FALSE(loadtitles(folder.file(QStringLiteral("Missing__Folder"))));
    const FifoGuard guard(folder.makeFifo(QStringLiteral("C__D/title.dat")));
    EXPECT_FALSE(loadtitles(folder.file(QStringLiteral("C__D"))));
    EXPECT_FALSE(guard.released());
    EXPECT_EQ(tracks, QStringList{QStringLiteral("kept")});
    EXPECT_EQ(trackscount, 1);
}

TEST_F(AlbumStoreTest, JukeboxCopyGetsTheFillerOnlyForAnOddCountAndRemovalsKeepItSo)
{
    for (int n = 1; n <= 5; ++n)
        appendalbum(QStringLiteral("Artist%1").arg(n), QStringLiteral("Album%1").arg(n));
    rebuildjalbum();
    EXPECT_EQ(albumcount, 5);
    ASSERT_EQ(jalbumcount, 6);
    ASSERT_EQ(jalbum.size(), 7);
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(jalbum.at(n), album.at(n));
    EXPECT_EQ(jalbum.at(6).artist, QString(QChar(12)));
    EXPECT_TRUE(jalbum.at(6).album.isEmpty());

    appendalbum(QStringLiteral("Artist6"), QStringLiteral("Album6"));
    rebuildjalbum();
    EXPECT_EQ(jalbumcount, 6);
    EXPECT_EQ(jalbum.at(6).artist, QStringLiteral("Artist6"));

    removealbum(2);
    rebuildjalbum();
    EXPECT_EQ(albumcount, 5);
    EXPECT_EQ(album.at(2).artist, QStringLiteral("Artist3"));
    EXPECT_EQ(album.at(5).artist, QStringLiteral("Artist6"));
    EXPECT_EQ(jalbumcount, 6);
    EXPECT_EQ(jalbum.at(5).artist, QStringLiteral("Artist6"));
    EXPECT_EQ(jalbum.at(6).artist, QString(QChar(12)));

    // Numbers of no album change nothing; the last album gone leaves no filler.
    const albumtype before = album;
    for (int none : {0, 6, -1})
        removealbum(none);
    EXPECT_EQ(album, before);
    for (int n = 5; n >= 1; --n)
        removealbum(n);
    rebuildjalbum();
    EXPECT_EQ(albumcount, 0);
    EXPECT_EQ(jalbumcount, 0);
}

} // namespace

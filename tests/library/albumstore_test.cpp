#include <QDir>
#include <gtest/gtest.h>

#include "library/albumstore.h"
#include "library/global.h"
#include "printers.h"
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

TEST_F(AlbumStoreTest, ScanMakesMissingTitlesFromTheTrackFiles)
{
    folder.write(QStringLiteral("First__Album/track02.mp3"), "x");
    folder.write(QStringLiteral("First__Album/TRACK01.MP3"), "x");
    folder.write(QStringLiteral("First__Album/track03.mpg"), "x");
    folder.write(QStringLiteral("First__Album/cover.jpg"), "x");
    folder.write(QStringLiteral("First__Album/.hidden.mp3"), "x");
    folder.write(QStringLiteral("Second__Album/Title.DAT"), "Kept\n");
    folder.write(QStringLiteral("Second__Album/track01.mp3"), "x");
    ASSERT_TRUE(scanalbumfolders({}));
    EXPECT_EQ(folder.read(QStringLiteral("First__Album/title.dat")),
              QByteArray("TRACK01\ntrack02\ntrack03\n"));
    EXPECT_EQ(folder.read(QStringLiteral("Second__Album/Title.DAT")), QByteArray("Kept\n"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Second__Album/title.dat"))));
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

struct TitlesCase
{
    const char* name;
    QByteArray content;
    QStringList titles;
};

class LoadTitlesTest : public AlbumStoreTest, public ::testing::WithParamInterface<TitlesCase>
{
};

TEST_P(LoadTitlesTest, ReadsOneTitlePerLine)
{
    folder.write(QStringLiteral("A__B/Title.Dat"), GetParam().content);
    ASSERT_TRUE(loadtitles(folder.file(QStringLiteral("A__B"))));
    EXPECT_EQ(tracks, GetParam().titles);
    EXPECT_EQ(trackscount, GetParam().titles.size());
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadTitlesTest,
    ::testing::Values(
        TitlesCase{"WindowsLines", "One\r\nTwo\r\n", {QStringLiteral("One"), QStringLiteral("Two")}},
        TitlesCase{"UnixLinesNoFinalBreak", "One\nTwo", {QStringLiteral("One"), QStringLiteral("Two")}},
        TitlesCase{"EmptyLine",
                   "One\r\n\r\nThree\r\n",
                   {QStringLiteral("One"), QStringLiteral("Unknown track name"), QStringLiteral("Three")}},
        TitlesCase{"Windows1252", "Caf\xe9\r\n", {QStringLiteral("Caf\u00e9")}},
        TitlesCase{"Utf8", "Caf\xc3\xa9\n", {QStringLiteral("Caf\u00e9")}}, TitlesCase{"Empty", "", {}}),
    [](const auto& named) { return std::string(named.param.name); });

TEST_F(AlbumStoreTest, LoadtitlesFailureLeavesTheTitlesAlone)
{
    tracks = {QStringLiteral("kept")};
    trackscount = 1;
    folder.mkdir(QStringLiteral("A__B"));
    EXPECT_FALSE(loadtitles(folder.file(QStringLiteral("A__B"))));
    EXPECT_FALSE(loadtitles(folder.file(QStringLiteral("Missing__Folder"))));
    EXPECT_EQ(tracks, QStringList{QStringLiteral("kept")});
    EXPECT_EQ(trackscount, 1);
}

TEST_F(AlbumStoreTest, JukeboxCopyGetsTheFillerOnlyForAnOddCount)
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
}

TEST_F(AlbumStoreTest, RemovingAnAlbumThatDoesNotExistChangesNothing)
{
    appendalbum(QStringLiteral("A"), QStringLiteral("B"));
    const albumtype before = album;
    removealbum(0);
    removealbum(2);
    removealbum(-1);
    EXPECT_EQ(album, before);
    EXPECT_EQ(albumcount, 1);
    removealbum(1);
    EXPECT_EQ(albumcount, 0);
    rebuildjalbum();
    EXPECT_EQ(jalbumcount, 0);
}

} // namespace

#include <gtest/gtest.h>

#include "library/names.h"
#include "printers.h"
#include "tempfolder.h"

using namespace library;

namespace {

struct SplitCase
{
    QString s, ch, left, right;
};

class SplitTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitTest, CutsAtTheFirstSeparator)
{
    QString l = QStringLiteral("old"), r = QStringLiteral("old");
    split(GetParam().s, GetParam().ch, l, r);
    EXPECT_EQ(l, GetParam().left);
    EXPECT_EQ(r, GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(SplitCase{QStringLiteral("TTITLE3=A=B"), QStringLiteral("="), QStringLiteral("TTITLE3"),
                                QStringLiteral("A=B")},
                      SplitCase{QStringLiteral("DTITLE=Ann / Blue"), QStringLiteral("=/"),
                                QStringLiteral("DTITLE"), QStringLiteral("Ann / Blue")},
                      SplitCase{QStringLiteral("no separator"), QStringLiteral("="),
                                QStringLiteral("no separator"), QString()},
                      SplitCase{QStringLiteral("=lead"), QStringLiteral("="), QString(),
                                QStringLiteral("lead")},
                      SplitCase{QStringLiteral("a=b"), QString(), QStringLiteral("a=b"), QString()}));

TEST(Names, StripbadcharsRemovesTheNineAndCutsAtANameLength)
{
    EXPECT_EQ(stripbadchars(QStringLiteral("What?")), QStringLiteral("What"));
    EXPECT_EQ(stripbadchars(QStringLiteral("a\\b/c:d*e?f\"g>h<i|j")), QStringLiteral("abcdefghij"));
    EXPECT_EQ(stripbadchars(QString(300, u'x')).size(), 255);
    // 200 two-byte characters: the cut falls on a character boundary, inside 255 bytes.
    const QString cut = stripbadchars(QString(200, u'\u00e9'));
    EXPECT_EQ(cut, QString(127, u'\u00e9'));
}

TEST(Names, FolderNamesFitOneNameAndTheCutLeavesNoUnderscoreAtTheEnd)
{
    QString artist = QString(125, u'a') + QStringLiteral("_b");
    QString album = QStringLiteral("\t__") + QString(300, u'\u00e9');
    cleanfoldernames(artist, album);
    EXPECT_EQ(artist, QString(125, u'a'));
    EXPECT_EQ(album, QString(64, u'\u00e9'));
}

struct ValidCase
{
    QString name;
    bool valid;
};

class ValidNameTest : public ::testing::TestWithParam<ValidCase>
{
};

TEST_P(ValidNameTest, RefusesSeparatorsAndBlankNames)
{
    EXPECT_EQ(validname(GetParam().name), GetParam().valid) << GetParam().name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Names, ValidNameTest,
    ::testing::Values(ValidCase{QStringLiteral("Blue Moon"), true},
                      ValidCase{QStringLiteral("Caf\u00e9 (Live)"), true},
                      ValidCase{QStringLiteral("Blue-Moon"), false},
                      ValidCase{QStringLiteral("Red_Sky"), false}, ValidCase{QStringLiteral("A+B"), false},
                      ValidCase{QStringLiteral("Why?"), false}, ValidCase{QStringLiteral("a|b"), false},
                      ValidCase{QStringLiteral("   "), false}, ValidCase{QString(), false}));

TEST(Names, StripnullsSkipsZerosInsideAndAtTheEnd)
{
    EXPECT_EQ(stripnulls(QByteArray("HL-DT\0ST\0\0DVD\0\0\0", 16)), QStringLiteral("HL-DTSTDVD"));
}

struct AlbumPathCase
{
    QString path, artist, album;
};

class AlbumPathTest : public ::testing::TestWithParam<AlbumPathCase>
{
};

TEST_P(AlbumPathTest, BothProceduresSplitTheLastFolderAtItsFirstDoubleUnderscore)
{
    QString artist, album;
    const QString result = extractalbumandaristfrompath(GetParam().path, artist, album);
    EXPECT_EQ(artist, GetParam().artist);
    EXPECT_EQ(album, GetParam().album);
    EXPECT_EQ(result, GetParam().album + QStringLiteral(" - ") + GetParam().artist);
    QString artist2, album2;
    extractalbumartist(GetParam().path, album2, artist2);
    EXPECT_EQ(artist2, GetParam().artist);
    EXPECT_EQ(album2, GetParam().album);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AlbumPathTest,
    ::testing::Values(AlbumPathCase{QStringLiteral("/music/Lanterns__Harbour"), QStringLiteral("Lanterns"),
                                    QStringLiteral("Harbour")},
                      AlbumPathCase{QStringLiteral("/music/Night Owls__Long Road/"),
                                    QStringLiteral("Night Owls"), QStringLiteral("Long Road")},
                      AlbumPathCase{QStringLiteral("A__B__C"), QStringLiteral("A"), QStringLiteral("B__C")},
                      AlbumPathCase{QStringLiteral("/m/Big_Band__Swing"), QStringLiteral("Big_Band"),
                                    QStringLiteral("Swing")},
                      AlbumPathCase{QStringLiteral("/m/Loose"), QStringLiteral("Loose"), QString()}));

TEST(Names, FirstCdDeviceIsTheLowestNumberedDrive)
{
    EXPECT_EQ(
        firstCdDevice(QStringLiteral("CD-ROM information, Id: cdrom.c 3.20\n\ndrive name:\t\tsr10\tsr2\n"
                                     "drive speed:\t\t24\t24\n")),
        QStringLiteral("/dev/sr2"));
    EXPECT_EQ(firstCdDevice(QStringLiteral("CD-ROM information\n\ndrive name:\t\t\ndrive speed:\n")),
              QString());
    EXPECT_EQ(firstCdDevice(QString()), QString());
}

TEST(Names, AlbumSizeCountsTracksAndTheKnownFiles)
{
    TempFolder folder;
    folder.write(QStringLiteral("A__B/track01.mp3"), QByteArray(100, 'a'));
    folder.write(QStringLiteral("A__B/TRACK02.MP3"), QByteArray(200, 'a'));
    folder.write(QStringLiteral("A__B/track03.mpg"), QByteArray(400, 'a'));
    folder.write(QStringLiteral("A__B/Title.dat"), QByteArray(10, 'a'));
    folder.write(QStringLiteral("A__B/title.jpg"), QByteArray(20, 'a'));
    folder.write(QStringLiteral("A__B/INFO.DAT"), QByteArray(5, 'a'));
    folder.write(QStringLiteral("A__B/notes.txt"), QByteArray(1000, 'a'));
    const QString album = folder.file(QStringLiteral("A__B"));

    int32_t files = 1, mp3s = 1; // the counters are only added to
    EXPECT_EQ(getalbumsize(album, files, mp3s, false), 335);
    EXPECT_EQ(files, 1 + 5);
    EXPECT_EQ(mp3s, 1 + 2);

    files = mp3s = 0;
    EXPECT_EQ(getalbumsize(album, files, mp3s, true), 35);
    EXPECT_EQ(files, 3);
    EXPECT_EQ(mp3s, 0);
}

} // namespace

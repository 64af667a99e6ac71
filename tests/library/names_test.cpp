#include <gtest/gtest.h>

#include "library/names.h"
#include "printers.h"
#include "tempfolder.h"

using namespace library;

namespace {

TEST(Names, SplitCutsAtTheFirstSeparator)
{
    const struct
    {
        QString s, ch, left, right;
    } cases[] = {
        {QStringLiteral("TTITLE3=A=B"), QStringLiteral("="), QStringLiteral("TTITLE3"),
         QStringLiteral("A=B")},
        {QStringLiteral("DTITLE=Ann / Blue"), QStringLiteral("=/"), QStringLiteral("DTITLE"),
         QStringLiteral("Ann / Blue")},
        {QStringLiteral("no separator"), QStringLiteral("="), QStringLiteral("no separator"), QString()},
        {QStringLiteral("=lead"), QStringLiteral("="), QString(), QStringLiteral("lead")},
        {QStringLiteral("a=b"), QString(), QStringLiteral("a=b"), QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s.toStdString());
        QString l = QStringLiteral("old"), r = QStringLiteral("old");
        split(c.s, c.ch, l, r);
        EXPECT_EQ(l, c.left);
        EXPECT_EQ(r, c.right);
    }
}

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

TEST(Names, ValidNameRefusesSeparatorsAndBlankNames)
{
    const std::pair<QString, bool> cases[] = {{QStringLiteral("Blue Moon"), true},
                                              {QStringLiteral("Caf\u00e9 (Live)"), true},
                                              {QStringLiteral("Blue-Moon"), false},
                                              {QStringLiteral("Red_Sky"), false},
                                              {QStringLiteral("A+B"), false},
                                              {QStringLiteral("Why?"), false},
                                              {QStringLiteral("a|b"), false},
                                              {QStringLiteral("   "), false},
                                              {QString(), false}};
    for (const auto& [name, valid] : cases)
        EXPECT_EQ(validname(name), valid) << name.toStdString();
}

TEST(Names, StripnullsSkipsZerosInsideAndAtTheEnd)
{
    EXPECT_EQ(stripnulls(QByteArray("HL-DT\0ST\0\0DVD\0\0\0", 16)), QStringLiteral("HL-DTSTDVD"));
}

TEST(Names, BothProceduresSplitTheLastFolderAtItsFirstDoubleUnderscore)
{
    const struct
    {
        QString path, artist, album;
    } cases[] = {
        {QStringLiteral("/music/Lanterns__Harbour"), QStringLiteral("Lanterns"), QStringLiteral("Harbour")},
        {QStringLiteral("/music/Night Owls__Long Road/"), QStringLiteral("Night Owls"),
         QStringLiteral("Long Road")},
        {QStringLiteral("A__B__C"), QStringLiteral("A"), QStringLiteral("B__C")},
        {QStringLiteral("/m/Big_Band__Swing"), QStringLiteral("Big_Band"), QStringLiteral("Swing")},
        {QStringLiteral("/m/Loose"), QStringLiteral("Loose"), QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString artist, album;
        EXPECT_EQ(extractalbumandaristfrompath(c.path, artist, album),
                  c.album + QStringLiteral(" - ") + c.artist);
        EXPECT_EQ(artist, c.artist);
        EXPECT_EQ(album, c.album);
        QString artist2, album2;
        extractalbumartist(c.path, album2, artist2);
        EXPECT_EQ(artist2, c.artist);
        EXPECT_EQ(album2, c.album);
    }
}

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

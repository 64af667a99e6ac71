#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "printers.h"
#include "tempfolder.h"

using namespace platform;

TEST(Files, FindsNamesWithoutRegardToCaseButPrefersTheExactSpelling)
{
    TempFolder folder;
    folder.write(QStringLiteral("album/track07.mp3"), "x");
    folder.write(QStringLiteral("album/Title.JPG"), "x");
    const QString album = folder.file(QStringLiteral("album"));

    EXPECT_EQ(findNoCase(album, QStringLiteral("TRACK07.MP3")), album + QStringLiteral("/track07.mp3"));
    EXPECT_EQ(findNoCase(album, QStringLiteral("title.jpg")), album + QStringLiteral("/Title.JPG"));
    EXPECT_EQ(findNoCase(album, QStringLiteral("track08.mp3")), QString());
    EXPECT_EQ(resolveNoCase(folder.path() + QStringLiteral("/ALBUM/TRACK07.mp3")),
              album + QStringLiteral("/track07.mp3"));
    EXPECT_EQ(resolveNoCase(folder.path() + QStringLiteral("/missing/track07.mp3")), QString());
}

TEST(Files, ListsInCaseInsensitiveNameOrder)
{
    TempFolder folder;
    // Names alike but for case keep one order (capitals first); letters beyond ASCII fold too.
    for (const char* name : {"b.mp3", "Z.mp3",
                             "\xc3\x89"
                             "2.mp3",
                             "A.mp3", "\xc3\xa9.mp3", "B.mp3", "c.MP3", "a2.mp3", "note.txt"})
        folder.write(QString::fromUtf8(name), "x");
    const QStringList names = listFolder(folder.path(), {QStringLiteral("*.mp?")}, QDir::Files);
    EXPECT_EQ(names, (QStringList{QStringLiteral("A.mp3"), QStringLiteral("a2.mp3"), QStringLiteral("B.mp3"),
                                  QStringLiteral("b.mp3"), QStringLiteral("c.MP3"), QStringLiteral("Z.mp3"),
                                  QStringLiteral("\u00e9.mp3"), QStringLiteral("\u00c92.mp3")}));
}

TEST(Files, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporary)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("Musetra.ini"), "old contents that are longer");
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(folder.read(QStringLiteral("Musetra.ini")), QByteArray("new"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(writeFileAtomically(folder.path() + QStringLiteral("/missing/x.ini"), "new"));
}

// What an overwrite carries from the old album into the new one before they change places.
TEST(Files, ALinkedTreeKeepsEveryFileWhenItsSourceGoesAndNeverFollowsALink)
{
    TempFolder folder;
    folder.write(QStringLiteral("old/scans/back.jpg"), "scan");
    folder.write(QStringLiteral("outside/keep.txt"), "outside");
    folder.mkdir(QStringLiteral("new"));
    ASSERT_TRUE(
        QFile::link(folder.file(QStringLiteral("outside")), folder.file(QStringLiteral("old/elsewhere"))));
    ASSERT_TRUE(
        linkTree(folder.file(QStringLiteral("old/scans")), folder.file(QStringLiteral("new/scans"))) &&
        linkTree(folder.file(QStringLiteral("old/elsewhere")), folder.file(QStringLiteral("new/elsewhere"))));
    ASSERT_TRUE(QDir(folder.file(QStringLiteral("old"))).removeRecursively());
    EXPECT_EQ(folder.read(QStringLiteral("new/scans/back.jpg")), QByteArray("scan"));
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("new/elsewhere"))).isSymLink());
    EXPECT_EQ(folder.read(QStringLiteral("outside/keep.txt")), QByteArray("outside"));
}

TEST(Files, JoinsWithOneSeparator)
{
    EXPECT_EQ(joinPath(QStringLiteral("/music"), QStringLiteral("a")), QStringLiteral("/music/a"));
    EXPECT_EQ(joinPath(QStringLiteral("/music/"), QStringLiteral("a")), QStringLiteral("/music/a"));
}

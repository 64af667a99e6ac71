#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "printers.h"
#include "tempfolder.h"

namespace {

class ProfileTest : public ::testing::Test
{
protected:
    QString writeIni(const QByteArray& content)
    {
        return folder.write(QStringLiteral("settings.ini"), content);
    }
    QByteArray iniBytes() const { return folder.read(QStringLiteral("settings.ini")); }
    QString iniPath() const { return folder.file(QStringLiteral("settings.ini")); }

    TempFolder folder;
};

TEST_F(ProfileTest, FindsSectionsAndKeysWithoutRegardToCase)
{
    writeIni("[Main]\n  Volume = 12  \n[Other]\nvolume=3\n");
    platform::Profile profile(iniPath());
    EXPECT_EQ(profile.readString(QStringLiteral("MAIN"), QStringLiteral("volume"), QStringLiteral("x")),
              QStringLiteral("12"));
    EXPECT_EQ(profile.readString(QStringLiteral("other"), QStringLiteral("VOLUME"), QStringLiteral("x")),
              QStringLiteral("3"));
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefaultAsGiven)
{
    platform::Profile missingFile(folder.file(QStringLiteral("none.ini")));
    EXPECT_EQ(missingFile.readString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral(" ")),
              QStringLiteral(" "));
    writeIni("[main]\nk=1\n");
    platform::Profile profile(iniPath());
    EXPECT_EQ(profile.readString(QStringLiteral("other"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("j"), QString()), QString());
}

// Blanks and one pair of quotes go; the value ends at its first zero character.
TEST_F(ProfileTest, ReadsTheStoredText)
{
    const std::pair<QByteArray, QString> values[] = {{"  padded  ", QStringLiteral("padded")},
                                                     {"\"quoted value\"", QStringLiteral("quoted value")},
                                                     {"'single'", QStringLiteral("single")},
                                                     {"\"unbalanced", QStringLiteral("\"unbalanced")},
                                                     {"a=b", QStringLiteral("a=b")},
                                                     {"", QString()},
                                                     {"Caf\xc3\xa9", QStringLiteral("Caf\u00e9")},
                                                     {QByteArray("abc\0def", 7), QStringLiteral("abc")}};
    for (const auto& [stored, expected] : values) {
        writeIni("[main]\nk=" + stored + "\n");
        platform::Profile profile(iniPath());
        EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("default")),
                  expected)
            << stored.toStdString();
    }
}

TEST_F(ProfileTest, ValuesAndDefaultsAreCutTo1024Characters)
{
    const QByteArray longValue(2000, 'v');
    writeIni("[main]\nk=" + longValue + "\n");
    platform::Profile profile(iniPath());
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("k"), QString()).size(), 1024);
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("none"), QString(2000, u'd')).size(),
              1024);
}

TEST_F(ProfileTest, ReadsWindows1252AndWritesNewLinesInUtf8WithTheFilesLineEnd)
{
    writeIni("[main]\r\nname=Caf\xe9\r\n; comment\r\n");
    platform::Profile profile(iniPath());
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("name"), QString()),
              QStringLiteral("Caf\u00e9"));
    ASSERT_TRUE(
        profile.writeString(QStringLiteral("main"), QStringLiteral("other"), QStringLiteral("\u00c4")));
    EXPECT_EQ(iniBytes(), QByteArray("[main]\r\nname=Caf\xe9\r\n; comment\r\nother=\xc3\x84\r\n"));
}

TEST_F(ProfileTest, TextInMemoryIsReadAndWrittenAsTheFileWouldBe)
{
    const auto profile = platform::Profile::fromText("[main]\r\nname=Caf\xe9\r\n");
    EXPECT_EQ(profile->readString(QStringLiteral("MAIN"), QStringLiteral("name"), QString()),
              QStringLiteral("Caf\u00e9"));
    // The second write finds the section the first one made.
    ASSERT_TRUE(profile->writeString(QStringLiteral("Skins"), QStringLiteral("sbut"), QStringLiteral("red")));
    ASSERT_TRUE(profile->writeString(QStringLiteral("Skins"), QStringLiteral("cbut"), QStringLiteral("1")));
    EXPECT_EQ(profile->text(), QByteArray("[main]\r\nname=Caf\xe9\r\n\r\n[Skins]\r\nsbut=red\r\ncbut=1\r\n"));
}

TEST_F(ProfileTest, WriteChangesOnlyItsKeyAndKeepsEverythingElse)
{
    writeIni("; written by hand\n[main]\nVolume=3\nunknown line\n\n[Skins]\nsbut=red\n");
    platform::Profile profile(iniPath());
    ASSERT_TRUE(profile.writeString(QStringLiteral("MAIN"), QStringLiteral("volume"), QStringLiteral("9")));
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("Added"), QStringLiteral("1")));
    ASSERT_TRUE(
        profile.writeString(QStringLiteral("Commercial"), QStringLiteral("bgvolume"), QStringLiteral("15")));
    EXPECT_EQ(iniBytes(), QByteArray("; written by hand\n[main]\nVolume=9\nunknown line\nAdded=1\n\n"
                                     "[Skins]\nsbut=red\n\n[Commercial]\nbgvolume=15\n"));
}

TEST_F(ProfileTest, FirstOfRepeatedSectionsAndKeysIsUsed)
{
    writeIni("[main]\nk=first\nK=second\n[MAIN]\nk=third\n");
    platform::Profile profile(iniPath());
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("k"), QString()),
              QStringLiteral("first"));
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("new")));
    EXPECT_EQ(iniBytes(), QByteArray("[main]\nk=new\nK=second\n[MAIN]\nk=third\n"));
}

TEST_F(ProfileTest, WrittenValueLosesLineBreaksAndEndsAtZero)
{
    platform::Profile profile(iniPath());
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("password"),
                                    QStringLiteral("12\r\n3[x]=y")));
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("z"),
                                    QString(QStringLiteral("ab")) + QChar(u'\0') + QStringLiteral("cd")));
    EXPECT_EQ(iniBytes(), QByteArray("[main]\npassword=123[x]=y\nz=ab\n"));
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("password"), QString()),
              QStringLiteral("123[x]=y"));
}

TEST_F(ProfileTest, RemoveKeyDeletesOnlyThatKey)
{
    writeIni("[Genre]\n0=Rock\n1=Pop\n2=Jazz\n");
    platform::Profile profile(iniPath());
    ASSERT_TRUE(profile.removeKey(QStringLiteral("genre"), QStringLiteral("1")));
    ASSERT_TRUE(profile.removeKey(QStringLiteral("genre"), QStringLiteral("7")));
    EXPECT_EQ(iniBytes(), QByteArray("[Genre]\n0=Rock\n2=Jazz\n"));
    EXPECT_EQ(profile.keys(QStringLiteral("GENRE")), QStringList({QStringLiteral("0"), QStringLiteral("2")}));
}

TEST_F(ProfileTest, BatchReplacesTheFileOnceAtCommit)
{
    writeIni("[main]\nk=old\n");
    platform::Profile profile(iniPath());
    profile.beginBatch();
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("new")));
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("j"), QStringLiteral("2")));
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("k"), QString()),
              QStringLiteral("new"));
    EXPECT_EQ(iniBytes(), QByteArray("[main]\nk=old\n"));
    ASSERT_TRUE(profile.commitBatch());
    EXPECT_EQ(iniBytes(), QByteArray("[main]\nk=new\nj=2\n"));
}

// A crash between writing the temporary file and renaming it leaves the temporary beside the
// settings file; the settings file itself must still be the old, whole one.
TEST_F(ProfileTest, InterruptedWriteLeavesTheOldFileWhole)
{
    const QByteArray old = "[main]\nk=old\nj=kept\n";
    writeIni(old);
    folder.write(QStringLiteral("settings.ini.Xa12bQ"), "[main]\nk=ha");
    platform::Profile profile(iniPath());
    EXPECT_EQ(profile.readString(QStringLiteral("main"), QStringLiteral("j"), QString()),
              QStringLiteral("kept"));
    EXPECT_EQ(iniBytes(), old);
    ASSERT_TRUE(profile.writeString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("new")));
    EXPECT_EQ(iniBytes(), QByteArray("[main]\nk=new\nj=kept\n"));
}

TEST_F(ProfileTest, FailedWriteReportsFalseAndKeepsTheOldFile)
{
    platform::Profile noFolder(folder.file(QStringLiteral("missing/settings.ini")));
    EXPECT_FALSE(noFolder.writeString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("v")));

    const QByteArray old = "[main]\nk=old\n";
    writeIni(old);
    QFile::setPermissions(iniPath(), QFileDevice::Permissions());
    if (QFile(iniPath()).open(QIODevice::ReadOnly)) GTEST_SKIP() << "running with rights that read anything";
    platform::Profile unreadable(iniPath());
    EXPECT_FALSE(unreadable.writeString(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("new")));
    QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(iniBytes(), old);
}

} // namespace

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/process.h"
#include "platform/programfolder.h"
#include "printers.h"
#include "tempfolder.h"

namespace {

// Starts `commandline` and waits until the program has ended; false when it did not start.
bool runToEnd(const QString& commandline)
{
    const platform::ProgramId id = platform::processes().start(commandline);
    if (id == 0) return false;
    return QTest::qWaitFor([id] { return !platform::processes().running(id); }, 10000);
}

} // namespace

// The words after the program are its arguments, whatever they contain: no shell ever sees them.
TEST(Processes, ShellCharactersRunNothingElse)
{
    TempFolder folder;
    const QString marker = folder.file(QStringLiteral("injected"));
    for (const char* words :
         {"; touch %1", "&& touch %1", "| touch %1", "$(touch %1)", "`touch %1`", "\n touch %1", "> %1"}) {
        const QString commandline = QStringLiteral("true ") + QString::fromLatin1(words).arg(marker);
        ASSERT_TRUE(runToEnd(commandline));
        EXPECT_FALSE(QFileInfo::exists(marker)) << commandline.toStdString();
    }
}

// A program nobody waits for leaves no zombie once it ends.
TEST(Processes, AProgramThatEndsLeavesNoZombie)
{
    const platform::ProgramId id = platform::processes().start(QStringLiteral("true"));
    ASSERT_NE(id, 0);
    EXPECT_TRUE(
        QTest::qWaitFor([id] { return !QFileInfo::exists(QStringLiteral("/proc/%1").arg(id)); }, 10000));
}

TEST(Processes, ExeNamesAreAlsoTriedWithoutTheEnding)
{
    TempFolder folder;
    // A bare name, found on PATH.
    ASSERT_TRUE(runToEnd(QStringLiteral("touch.exe %1").arg(folder.file(QStringLiteral("bare")))));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("bare"))));

    // A name with its folder.
    const QString script = folder.write(QStringLiteral("maker"), "#!/bin/sh\ntouch \"$1\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(runToEnd(QStringLiteral("%1.EXE %2").arg(script, folder.file(QStringLiteral("made")))));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("made"))));
}

TEST(Processes, TheProgramFolderComesFirstAndIgnoresCase)
{
    TempFolder folder;
    // Shadows the system's touch: it writes a different file.
    const QString script = folder.write(QStringLiteral("Touch"), "#!/bin/sh\ntouch \"$1.own\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    platform::setProgramFolder(folder.path());
    const bool ran = runToEnd(QStringLiteral("TOUCH.exe %1").arg(folder.file(QStringLiteral("made"))));
    platform::setProgramFolder(QString());
    ASSERT_TRUE(ran);
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("made.own"))));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("made"))));
}

TEST(Processes, ProgramsThatCannotStartGiveNoId)
{
    TempFolder folder;
    const QString notProgram = folder.write(QStringLiteral("data.txt"), "not a program");
    EXPECT_EQ(platform::processes().start(QString()), 0);
    EXPECT_EQ(platform::processes().start(QStringLiteral("   ")), 0);
    EXPECT_EQ(platform::processes().start(QStringLiteral("no-such-program-anywhere.exe")), 0);
    EXPECT_EQ(platform::processes().start(notProgram), 0);
    EXPECT_EQ(platform::processes().start(folder.path()), 0);
}

TEST(Processes, RunsUntilTheProgramEnds)
{
    TempFolder folder;
    const QString done = folder.file(QStringLiteral("done"));
    const platform::ProgramId id =
        platform::processes().start(QStringLiteral("sh -c \"sleep 0.3; touch '%1'\"").arg(done));
    ASSERT_NE(id, 0);
    EXPECT_TRUE(platform::processes().running(id));
    ASSERT_TRUE(QTest::qWaitFor([id] { return !platform::processes().running(id); }, 10000));
    EXPECT_TRUE(QFileInfo::exists(done));
    EXPECT_FALSE(platform::processes().running(id));
    EXPECT_FALSE(platform::processes().running(1)); // not ours
}

TEST(Processes, NoLongCommandLineIsCut)
{
    TempFolder folder;
    const QString name = QString(200, QLatin1Char('a'));
    const QString target = folder.file(name) + QLatin1Char('/') + name;
    ASSERT_GT(target.size(), 300);
    folder.mkdir(name);
    ASSERT_TRUE(runToEnd(QStringLiteral("touch ") + target));
    EXPECT_TRUE(QFileInfo::exists(target));
}

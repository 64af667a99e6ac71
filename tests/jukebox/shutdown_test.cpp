// The kiosk panel's shutdown button on its three roads: minimise, hand the screen to a launcher,
// and quit (turning the machine off when asked, only once the settings are on disk).

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QScopeGuard>
#include <QTimer>
#include <QPushButton>
#include <QUrl>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/application.h"
#include "controls/bitmapactionbutton.h"
#include "controls/transparentpanel.h"
#include "jukebox/textlabel.h"
#include "fakemediaplayer.h"
#include "fakesystem.h"
#include "library/inifuncs.h"
#include "numberstesting.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "player/volumedisplay.h"
#include "printers.h"
#include "ripper/addtrack.h"
#include "ripper/jukeboxhooks.h"

namespace {

class ShutdownTest : public NumberEntryTest
{
protected:
    void SetUp() override
    {
        NumberEntryTest::SetUp();
        addLibrary(2);
    }
    void TearDown() override
    {
        platform::setHaltHandler({});
        NumberEntryTest::TearDown();
    }

    // Queues and starts track 1 of album 1, as a guest would.
    void playSomething() { type("0001001"); }

    // The settings file as it stands on disk.
    QString settingsOnDisk() const
    {
        QFile file(program.path() + QStringLiteral("/Musetra.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    void pressShutdown() { QTest::mouseClick(window->Shutdownbut, Qt::LeftButton); }
};

TEST_F(ShutdownTest, MinimiseRoadKeepsTheProgramRunningSilentAndSavesTheSettings)
{
    open(QStringLiteral("ShowMinimize=1"));
    playSomething();
    library::config.jlastalbum = 2;
    pressShutdown();
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(fake().commands().last(), QStringLiteral("stop"));
    EXPECT_FALSE(form->play->isChecked());
    EXPECT_NE(player::mainform, nullptr);
    EXPECT_TRUE(settingsOnDisk().contains(QStringLiteral("jlastalbum=2"), Qt::CaseInsensitive));
}

TEST_F(ShutdownTest, LauncherRoadRejectsTheQueueAndRestoresOnlyTheLauncherWindow)
{
    FakeTopLevelWindows windows;
    windows.titles = {QStringLiteral("launcher notes"), QStringLiteral("My Launcher 2"),
                      QStringLiteral("Launcher 3")};
    open(QStringLiteral("ShowMinimize=2"));
    playSomething();
    pressShutdown();
    // The search ends at the first window that names itself "Launcher", in that letter case.
    EXPECT_EQ(windows.restored, QStringList{QStringLiteral("My Launcher 2")});
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
}

TEST_F(ShutdownTest, QuitRoadTurnsTheMachineOffOnlyAfterTheSettingsAreOnDisk)
{
    FakePower power;
    open(QStringLiteral("PowerOff=1"));
    library::config.jlastalbum = 2;
    QString settingsWhenAsked;
    platform::setHaltHandler([&](int code) {
        settingsWhenAsked = settingsOnDisk();
        throw platform::Halted(code);
    });
    EXPECT_THROW(window->ShutdownbutClick(window->Shutdownbut), platform::Halted);
    EXPECT_EQ(power.requests, 1);
    EXPECT_TRUE(settingsWhenAsked.contains(QStringLiteral("jlastalbum=2"), Qt::CaseInsensitive));
}

TEST_F(ShutdownTest, QuitRoadWithoutPowerOffStopsThePlayerAndRemovesTheSilentFile)
{
    FakePower power;
    open();
    playSomething();
    player::Tvolumedisplay display;
    player::volumedisplay = &display;
    const auto forgetDisplay = qScopeGuard([] { player::volumedisplay = nullptr; });
    display.draw(75);
    const QString silentFile = player::blankfilepath;
    ASSERT_TRUE(QFile::exists(silentFile));
    pressShutdown();
    EXPECT_EQ(power.requests, 0);
    EXPECT_TRUE(fake().commands().contains(QStringLiteral("stop")));
    EXPECT_FALSE(QFile::exists(silentFile));
    EXPECT_FALSE(display.delay->isActive());
}

// Files dropped from the desktop on the lower page reach the Add Track dialog one by one, through
// the ripper's hooks as the application installs them, once the drop has been delivered.
class PageDropTest : public ShutdownTest
{
protected:
    void SetUp() override
    {
        ShutdownTest::SetUp();
        jukebox::setRipperHooks(&ripperHooks);
        open();
        dialogs.modalHandler = [this](QDialog& shown) {
            auto& dialog = static_cast<ripper::TAddTrack&>(shown);
            offered << dialog.art + QStringLiteral(" / ") + dialog.alb;
            (offered.size() == cancelAt ? dialog.Cancel : dialog.Ok)->click();
            return dialog.result();
        };
    }

    void dropOnLowerPage(const QStringList& names)
    {
        QList<QUrl> urls;
        for (const QString& name : names)
            urls << QUrl::fromLocalFile(program.write(QStringLiteral("desk/") + name, QByteArray(500, 'x')));
        QMimeData files;
        files.setUrls(urls);
        const qsizetype before = offered.size();
        // A drop reaches the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->botpanel, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->botpanel, &drop);
        // A dialog's event loop inside the drop's delivery crashed the program on a stop signal.
        EXPECT_EQ(offered.size(), before) << "Add Track ran inside the drop's delivery";
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        jukebox::setRipperHooks(nullptr);
        ShutdownTest::TearDown();
    }

    ripper::JukeboxHooks ripperHooks;
    QStringList offered;
    int cancelAt = 0;
};

TEST_F(PageDropTest, EachTrackFileGoesToTheLowerAlbumOtherFilesAreSkippedAndCancelEndsTheDrop)
{
    dropOnLowerPage(
        {QStringLiteral("a.mp3"), QStringLiteral("b.wav"), QStringLiteral("c.Mpg"), QStringLiteral("d.MP3")});
    const QString lower = QStringLiteral("Artist 0002 / Album 0002");
    EXPECT_EQ(offered, (QStringList{lower, lower, lower}));
    const QString folder = libraryRoot + QStringLiteral("/") + folderName(2);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/track05.mpG")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/track06.mp3")));

    // Cancel on the first file of a drop ends it.
    cancelAt = 4;
    dropOnLowerPage({QStringLiteral("e.mp3"), QStringLiteral("f.mp3")});
    EXPECT_EQ(offered.size(), 4);
}

// Settings and a play log that cannot be written stand behind every message of the coin and
// selection roads, and in Commerce Management, until each file is written again.
TEST_F(ShutdownTest, AFailedWriteStandsBehindEveryMessageUntilTheFileIsWritten)
{
    const QString log = program.file(QStringLiteral("logs/plays.log")); // no such folder yet
    writeSettings(QStringLiteral("[Commercial]\ncreditsystem=1\nTracksLogFile=%1\n").arg(log));
    const TempFolder outside;
    const QString settings = program.file(QStringLiteral("Musetra.ini"));
    const QString kept =
        outside.write(QStringLiteral("Musetra.ini"), program.read(QStringLiteral("Musetra.ini")));
    ASSERT_TRUE(QFile::remove(settings) && QFile::link(kept, settings));
    app::Application windows([] { return std::make_unique<FakeMediaPlayer>(); });
    window = jukebox::jukebox;
    const QString notSaved = QStringLiteral("SETTINGS NOT SAVED TO %1").arg(settings.toUpper());
    const QString notLogged = QStringLiteral("PLAYS NOT LOGGED TO %1").arg(log.toUpper());
    const auto line = [this] { return window->lcd3->text(); };

    QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(line().startsWith(QStringLiteral("COIN"))) << line().toStdString();
    EXPECT_TRUE(line().contains(notSaved)) << line().toStdString();
    playSomething();
    EXPECT_TRUE(line().contains(notSaved)) << line().toStdString();
    EXPECT_TRUE(line().contains(notLogged)) << line().toStdString();
    QTest::mouseClick(window->GoCommercialManager, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(window->CmCreditLab->isVisible());
    EXPECT_EQ(window->CmCreditLab->text().toUpper(), notSaved + u'\n' + notLogged);
    window->Commerce->hide();

    ASSERT_TRUE(QFile::remove(settings) && QFile::copy(kept, settings) &&
                QDir().mkdir(QFileInfo(log).path()));
    QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    EXPECT_FALSE(line().contains(notSaved)) << line().toStdString();
    EXPECT_TRUE(line().contains(notLogged)) << line().toStdString();
    type("0001002");
    EXPECT_FALSE(line().contains(notLogged)) << line().toStdString();
    EXPECT_TRUE(program.read(QStringLiteral("logs/plays.log")).contains("\"T2\""));
}

// Links planted in place of the settings, the play log and the error log: a coin and a selection
// of a track whose files are gone write nothing where they lead, and the links stay.
TEST_F(ShutdownTest, ACoinAndASelectionWriteNothingThroughLinksInPlaceOfTheirFiles)
{
    const TempFolder outside;
    writeSettings(
        QStringLiteral("ErrorLog=%1/errors.log\n[Commercial]\ncreditsystem=1\nTracksLogFile=%1/plays.log\n")
            .arg(program.path()));
    const QStringList names = {QStringLiteral("Musetra.ini"), QStringLiteral("plays.log"),
                               QStringLiteral("errors.log")};
    for (const QString& name : names) {
        outside.write(name, program.read(name));
        QFile::remove(program.file(name));
        ASSERT_TRUE(QFile::link(outside.file(name), program.file(name)));
    }
    const QByteArray settings = outside.read(names.first());
    for (const char* track : {"track01.mp3", "track02.mp3", "track03.mp3"})
        ASSERT_TRUE(QFile::remove(
            program.file(QStringLiteral("music/%1/").arg(folderName(1)) + QLatin1String(track))));
    window = &start();
    QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    playSomething();
    ASSERT_EQ(queue(), QStringList{QStringLiteral("1/1")});
    EXPECT_EQ(outside.read(names.at(0)), settings);
    EXPECT_EQ(outside.read(names.at(1)), QByteArray());
    EXPECT_EQ(outside.read(names.at(2)), QByteArray());
    for (const QString& name : names)
        EXPECT_TRUE(QFileInfo(program.file(name)).isSymLink()) << name.toStdString();
}

// A link planted under the name the settings' next copy takes is passed over: the copy is made
// anew under another name, so the coin writes nothing where the link leads.
TEST_F(ShutdownTest, ACoinsSettingsCopyIsMadeAnewNeverThroughALinkAtItsName)
{
    open(QStringLiteral("[Commercial]\ncreditsystem=1\n"));
    const TempFolder outside;
    const QString kept = outside.write(QStringLiteral("kept"), "outside");
    ASSERT_TRUE(QFile::link(kept, program.file(QStringLiteral(".~musetra.Musetra.ini.Planted"))));
    QStringList names = {QStringLiteral("Planted"), QStringLiteral("Second")};
    platform::setTemporaryLetters([&names] { return names.takeFirst(); });
    const auto restore = qScopeGuard([] { platform::setTemporaryLetters({}); });
    QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    ASSERT_GT(library::config.credittotal, 0);
    EXPECT_EQ(outside.read(QStringLiteral("kept")), QByteArray("outside"));
    EXPECT_FALSE(QFileInfo(program.file(QStringLiteral("Musetra.ini"))).isSymLink());
    EXPECT_TRUE(settingsOnDisk().contains(QStringLiteral("credittotal=%1").arg(library::config.credittotal),
                                          Qt::CaseInsensitive));
}

// A coin's settings are on the disk before they replace the old file: when the new copy is
// flushed it holds the new settings and the file the old ones.
TEST_F(ShutdownTest, ACoinsSettingsReachTheDiskBeforeTheyReplaceTheOldFile)
{
    open(QStringLiteral("[Commercial]\ncreditsystem=1\n"));
    QList<std::pair<QByteArray, QString>> flushes; // the copy flushed, the settings file then
    platform::setDiskFlush([&](int fd) {
        QFile copy(QStringLiteral("/proc/self/fd/%1").arg(fd));
        flushes.append({copy.open(QIODevice::ReadOnly) ? copy.readAll() : QByteArray(), settingsOnDisk()});
        return true;
    });
    const auto restore = qScopeGuard([] { platform::setDiskFlush({}); });
    const QString before = settingsOnDisk();
    QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    ASSERT_NE(settingsOnDisk(), before);
    ASSERT_FALSE(flushes.isEmpty());
    EXPECT_EQ(QString::fromUtf8(flushes.last().first), settingsOnDisk());
    EXPECT_EQ(flushes.last().second, before);
}

// The program itself, started twice from a folder of its own: the second start ends at once,
// and each stop signal ends the first by its exit road; a broken pipe does not.
class ProgramFolder : public ::testing::Test
{
protected:
    // The program and its settings in the folder, over an empty library there.
    void SetUp() override
    {
        ASSERT_TRUE(::link(MUSETRA_PROGRAM, QFile::encodeName(program).constData()) == 0 ||
                    QFile::copy(QStringLiteral(MUSETRA_PROGRAM), program));
        const QByteArray here = QFile::encodeName(folder.path());
        folder.write(QStringLiteral("Musetra.ini"), "[main]\nPath=" + here + "\nCachePath=" + here);
    }

    TempFolder folder;
    const QString program = folder.path() + QStringLiteral("/musetra");
    const QString silentFile = folder.path() + QStringLiteral("/blank.mp3");
};

class RunningProgram : public ProgramFolder, public ::testing::WithParamInterface<int>
{
};

TEST_P(RunningProgram, RunsOncePerFolderAndEndsByItsExitRoadOnEachStopSignal)
{
    QProcess jukebox, second;
    jukebox.start(program, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(silentFile); }, 60000));
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 1);
    ::kill(pid_t(jukebox.processId()), SIGPIPE);
    ::kill(pid_t(jukebox.processId()), GetParam());
    ASSERT_TRUE(jukebox.waitForFinished(60000));
    EXPECT_EQ(jukebox.exitStatus() == QProcess::NormalExit ? jukebox.exitCode() : -1, 0);
    EXPECT_TRUE(folder.read(QStringLiteral("Musetra.ini")).contains("jLastAlbum"));
    EXPECT_FALSE(QFile::exists(silentFile));
}
INSTANTIATE_TEST_SUITE_P(Signals, RunningProgram,
                         ::testing::Values(SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,
                                           SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGPWR, SIGRTMIN, SIGRTMAX));

// A start-up error dialog (here: the silent file is a dangling link) waits for an operator who
// may not come; a stop signal ends the program all the same.
TEST_F(ProgramFolder, AStopSignalEndsItWhileAStartUpErrorShows)
{
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("nowhere")), silentFile));
    QProcess jukebox;
    jukebox.setProcessChannelMode(QProcess::MergedChannels);
    jukebox.start(program, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return jukebox.readAll().contains("a link stands at"); }, 60000));
    ::kill(pid_t(jukebox.processId()), SIGTERM);
    ASSERT_TRUE(jukebox.waitForFinished(30000)) << "still running";
    EXPECT_EQ(jukebox.exitStatus(), QProcess::NormalExit);
}

} // namespace

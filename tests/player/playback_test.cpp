// Playback over the scripted media player: which file a queue entry plays, missing and corrupt files,
// the end of a track and of the queue, transport, volume, audition and the error log.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <gmock/gmock.h>

#include "printers.h"
#include "queuetesting.h"
#include "smalldisk.h"
#include "skins/colors.h"

using platform::NotifyValue;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

class PlaybackTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        album = addAlbum(QStringLiteral("Alpha__One"), {QStringLiteral("A1"), QStringLiteral("A2"),
                                                        QStringLiteral("A3"), QStringLiteral("A4")});
    }

    void queueAll(int tracks = 4)
    {
        for (int t = 1; t <= tracks; ++t)
            queueTrack(1, t);
    }

    void playRow(int row)
    {
        form->dplaylist->setCurrentRow(row);
        form->playClick(nullptr);
    }

    // The settings name an error log that exists (the program never creates it).
    QString useErrorLog(const QByteArray& content = {})
    {
        const QString path = program.write(QStringLiteral("errors.log"), content);
        library::config.errorlog = path;
        return path;
    }

    QStringList errorLogLines() const
    {
        return QString::fromUtf8(program.read(QStringLiteral("errors.log")))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString album;
};

TEST_F(PlaybackTest, PlayingTheSelectedRowLoadsItsTrackAndShowsIt)
{
    frontEnd.exists = true;
    start();
    queueAll();
    fake().setLength(album + QStringLiteral("/track02.mp3"), 187'400);
    frontEnd.messages.clear();
    playRow(1);

    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track02.mp3")));
    EXPECT_EQ(plays(), strings({"play"}));
    EXPECT_TRUE(form->play->isChecked());
    EXPECT_TRUE(form->Timers->isActive());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("A2 - One - Alpha"));
    EXPECT_THAT(frontEnd.messages, ElementsAre(QStringLiteral("Now playing A2 - One - Alpha")));
    EXPECT_THAT(frontEnd.panelRows, ElementsAre(1));
    EXPECT_EQ(form->progress->maximum(), 187);
    EXPECT_EQ(form->counter->text(), QStringLiteral("---"));
    EXPECT_EQ(form->trlabel->text(), QStringLiteral("TE"));
    EXPECT_TRUE(form->skipforward->isEnabled());
    EXPECT_TRUE(form->progress->isEnabled());
}

TEST_F(PlaybackTest, EntryFindsItsFileWithoutRegardToCase)
{
    const struct
    {
        const char* name;
        std::vector<const char*> files; // in the album folder
        int track;
        const char* played; // empty: reported missing
    } cases[] = {
        {"Mp3InLowerCase", {"track07.mp3", "TRACK07.MPG"}, 7, "track07.mp3"},
        {"VideoWhenNoMp3", {"Track07.mpg", "track06.mp3"}, 7, "Track07.mpg"},
        {"SingleDigitGetsALeadingZero", {"TRACK03.MP3"}, 3, "TRACK03.MP3"},
        {"SeventhMpFileInNameOrder",
         {"g.mp3", "B.MP2", "a.mp3", "notes.txt", "c.mpg", "E.mp3", "f.mp3", "d.mp3"},
         7,
         "g.mp3"},
        {"TooFewFilesIsMissing", {"a.mp3", "b.mp3"}, 7, ""},
        {"NoFilesIsMissing", {}, 2, ""},
    };
    const QString folder = addAlbum(QStringLiteral("Gamma__Three"), numbered("G", 9));
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& file : QDir(folder).entryList(QDir::Files))
            if (file != QStringLiteral("title.dat")) QFile::remove(folder + QLatin1Char('/') + file);
        for (const char* file : c.files)
            program.write(QStringLiteral("music/Gamma__Three/") + QString::fromUtf8(file), "ID3");
        useErrorLog();
        form->clearlistClick(nullptr);
        fake().clearCommands();
        queueTrack(2, c.track);
        playRow(0);

        if (*c.played) {
            EXPECT_THAT(opened(), ElementsAre(QString::fromUtf8(c.played)));
            EXPECT_THAT(errorLogLines(), IsEmpty());
            continue;
        }
        // Only the silent file, which takes the place of the video name that was asked for.
        EXPECT_THAT(opened(), ElementsAre(QStringLiteral("blank.mp3")));
        const QString expected = QStringLiteral("File:%1/TRACK%2.MP? does not exist")
                                     .arg(folder)
                                     .arg(c.track, 2, 10, QLatin1Char('0'));
        ASSERT_EQ(errorLogLines().size(), 1);
        EXPECT_TRUE(errorLogLines().first().endsWith(QStringLiteral(" - ") + expected))
            << errorLogLines().first().toStdString();
        EXPECT_EQ(player::playmode, 0);
        EXPECT_TRUE(form->Stop->isChecked());
    }
}

TEST_F(PlaybackTest, ARunOfMissingFilesIsSkippedToTheNextThatExists)
{
    start();
    constexpr int kMissing = 400; // deep enough that a recursive skip would exhaust the stack
    queueTrack(1, 1);
    chooseAlbum(1);
    for (int i = 0; i < kMissing; ++i) {
        form->dtracklist->setCurrentRow(2);
        form->AddClick(nullptr);
    }
    queueTrack(1, 2);
    // Without track 3 or a third "*.mp?" file of the album.
    QFile::remove(album + QStringLiteral("/track03.mp3"));
    QFile::remove(album + QStringLiteral("/track04.mp3"));
    frontEnd.exists = true;
    frontEnd.visible = true;

    playRow(0);
    finish();

    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track01.mp3"), QStringLiteral("track02.mp3")));
    EXPECT_EQ(player::dcurrentlyplayingtrack, kMissing + 1);
    EXPECT_EQ(form->dplaylist->currentRow(), kMissing + 1);
    EXPECT_EQ(player::playmode, 1);
    EXPECT_EQ(frontEnd.messages.filter(QStringLiteral("/TRACK03.MP? does not exist")).size(), kMissing);
    EXPECT_EQ(frontEnd.panelRows.last(), kMissing + 1);
}

TEST_F(PlaybackTest, AMissingLastEntryStopsThePlayer)
{
    start();
    queueAll(2);
    for (const char* file : {"/track02.mp3", "/track03.mp3", "/track04.mp3"})
        QFile::remove(album + QString::fromUtf8(file));
    playRow(0);
    finish();

    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track01.mp3"), QStringLiteral("blank.mp3")));
    EXPECT_EQ(player::playmode, 0);
    EXPECT_TRUE(form->Stop->isChecked());
    EXPECT_FALSE(form->Timers->isActive());
    // Reported once, not again by the play that no longer follows.
    EXPECT_EQ(plays().size(), 1);
}

TEST_F(PlaybackTest, ACorruptFileIsReportedAndTheQueueGoesOn)
{
    frontEnd.exists = true;
    frontEnd.visible = true;
    start();
    queueAll(3);
    const QString corrupt = album + QStringLiteral("/track02.mp3");
    fake().failOpen(corrupt);
    useErrorLog();
    playRow(1);

    const QString report = QStringLiteral("File:") + corrupt + QStringLiteral(" is corrupt");
    EXPECT_THAT(frontEnd.messages, ::testing::Contains(report));
    ASSERT_EQ(errorLogLines().size(), 1);
    EXPECT_THAT(errorLogLines().first().toStdString(), HasSubstr(report.toStdString()));
    // The silent file plays in its place; when it ends the next entry follows.
    EXPECT_EQ(fake().openFileName(), player::blankfilepath);
    EXPECT_EQ(player::playmode, 1);
    finish();
    EXPECT_EQ(opened().last(), QStringLiteral("track03.mp3"));
    EXPECT_EQ(player::dcurrentlyplayingtrack, 2);
}

// A report that a full disk cannot take leaves no part of a line: once there is room again, the
// next report stands on a line of its own.
TEST_F(PlaybackTest, AReportOnAFullDiskLeavesNoPartOfALineInTheErrorLog)
{
    const SmallDisk disk(program.path() + QStringLiteral("/disk"), 4);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
    frontEnd.exists = true;
    start();
    queueAll(3);
    // The log fills its page but for a few bytes, so a report fits only in part.
    const QByteArray before = QByteArray(SmallDisk::pageSize() - 7, 'x') + '\n';
    library::config.errorlog = program.write(QStringLiteral("disk/errors.log"), before);
    ASSERT_TRUE(disk.fill());
    for (const int row : {1, 2})
        fake().failOpen(album + QStringLiteral("/track0%1.mp3").arg(row + 1));
    playRow(1);
    EXPECT_EQ(program.read(QStringLiteral("disk/errors.log")), before);

    disk.free();
    playRow(2);
    const QByteArray after = program.read(QStringLiteral("disk/errors.log"));
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_TRUE(after.endsWith("/track03.mp3 is corrupt\n")) << after.mid(before.size()).toStdString();
    EXPECT_EQ(after.count('\n'), 2);
}

TEST_F(PlaybackTest, EndOfQueueHandsBackToBackgroundPlayOnlyAfterABackgroundTrack)
{
    const struct
    {
        const char* name;
        bool backgroundTrack;
        bool backgroundOn;
        int autoplayStarts;
    } cases[] = {{"BackgroundTrackWithBackgroundOn", true, true, 1},
                 {"QueuedTrackWithBackgroundOn", false, true, 0},
                 {"BackgroundTrackWithBackgroundOff", true, false, 0}};
    frontEnd.exists = true;
    frontEnd.visible = true;
    start();
    queueAll(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        playRow(1);
        library::config.volume = 120;
        frontEnd.background = c.backgroundTrack;
        library::autoplaymode = c.backgroundOn;
        frontEnd.clearRecords();
        fake().clearCommands();
        finish();

        EXPECT_EQ(form->windowTitle(), QStringLiteral("No track"));
        EXPECT_EQ(form->counter->text(), QStringLiteral("---"));
        EXPECT_TRUE(form->Stop->isChecked());
        EXPECT_FALSE(form->Timers->isActive());
        EXPECT_EQ(form->vol->value(), 120);
        EXPECT_THAT(frontEnd.messages, ElementsAre(QString()));
        EXPECT_EQ(frontEnd.restRestarts, 1);
        EXPECT_FALSE(frontEnd.background);
        EXPECT_EQ(frontEnd.autoplayStarts, c.autoplayStarts);
        EXPECT_THAT(opened(), IsEmpty());
        form->vol->setValue(100);
    }
}

TEST_F(PlaybackTest, NoRepeatTakesATrackAgainOnceTheQueueHasRunOut)
{
    start();
    library::config.norepeat = true;
    queueAll(1);
    playRow(0);
    finish();

    queueTrack(1, 1, true);
    EXPECT_EQ(rows(), strings({"A1", "A1"}));
    EXPECT_EQ(frontEnd.refunds, 0);
}

// Also for a background track: the next selection must not fade out a track that no longer plays.
TEST_F(PlaybackTest, ReloadWhileATrackPlaysEndsStopped)
{
    start();
    queueAll(2);
    playRow(0);
    frontEnd.background = true;
    form->reloadClick(form->reload);

    EXPECT_FALSE(frontEnd.background);
    EXPECT_FALSE(form->play->isChecked());
    EXPECT_TRUE(form->Stop->isChecked());
    EXPECT_FALSE(form->Timers->isActive());
    EXPECT_EQ(fake().mode(), platform::PlayerMode::Stopped);
}

// Stop and a newer play change nothing; a track found unplayable only as it loads is told, and the
// silent file plays in its place, so the queue moves on when that ends.
TEST_F(PlaybackTest, OnlyASuccessfulEndMovesOnAndAFailedTrackLeavesSilenceInItsPlace)
{
    start();
    queueAll(2);
    playRow(0);
    // While paused an end changes nothing.
    form->pauseClick(form->pause);
    finish(NotifyValue::Successful);
    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track01.mp3")));
    form->pauseClick(form->pause);

    for (NotifyValue value : {NotifyValue::Aborted, NotifyValue::Superseded}) {
        (void)form->mediaPlayer()->play(); // a fresh pending play to end
        finish(value);
    }
    QCoreApplication::processEvents();
    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track01.mp3")));
    EXPECT_EQ(player::dcurrentlyplayingtrack, 0);
    EXPECT_EQ(player::playmode, 1);

    (void)form->mediaPlayer()->play();
    finish(NotifyValue::Failure);
    EXPECT_EQ(form->mediaPlayer()->fileName(), player::blankfilepath);
    EXPECT_EQ(fake().mode(), platform::PlayerMode::Playing);
    EXPECT_EQ(player::dcurrentlyplayingtrack, 0);
    finish();
    EXPECT_EQ(opened().last(), QStringLiteral("track02.mp3"));

    // The silent file failing too leaves the player be.
    finish(NotifyValue::Failure);
    finish(NotifyValue::Failure);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened().filter(QStringLiteral("blank.mp3")).size(), 2);
    EXPECT_EQ(fake().mode(), platform::PlayerMode::NotReady);
}

TEST_F(PlaybackTest, RemovingThePlayingEntryPlaysTheOneThatTookItsRow)
{
    start();
    queueAll(4);
    playRow(1);
    form->dplaylist->setCurrentRow(1);
    form->DelClick(nullptr);
    finish();
    EXPECT_EQ(opened().last(), QStringLiteral("track03.mp3"));
    EXPECT_EQ(player::dcurrentlyplayingtrack, 1);

    // The playing entry removed from the end: the queue ends after it.
    playRow(2);
    form->dplaylist->setCurrentRow(2);
    form->DelClick(nullptr);
    finish();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("No track"));
}

TEST_F(PlaybackTest, PauseResumeAndStop)
{
    start();
    queueAll(2);
    playRow(0);
    fake().clearCommands();
    form->pauseClick(form->pause);
    EXPECT_TRUE(player::paused);
    // Play resumes the paused track without loading anything.
    form->playClick(form->play);
    EXPECT_FALSE(player::paused);
    EXPECT_THAT(opened(), IsEmpty());
    form->pauseClick(form->pause);
    form->pauseClick(form->pause);
    EXPECT_FALSE(player::paused);
    EXPECT_TRUE(form->play->isChecked());
    EXPECT_EQ(fake().commands().filter(QRegularExpression(QStringLiteral("^(pause|play|stop)"))),
              strings({"pause", "play", "pause", "play"}));

    form->StopClick(form->Stop);
    EXPECT_EQ(player::playmode, 0);
    EXPECT_FALSE(form->Timers->isActive());
    EXPECT_EQ(fake().commands().last(), QStringLiteral("stop"));
}

TEST_F(PlaybackTest, ForwardAndBackInTheQueue)
{
    start();
    queueAll(3);
    playRow(0);
    form->fwdClick(form->fwd);
    EXPECT_EQ(opened().last(), QStringLiteral("track02.mp3"));
    form->fwdClick(form->fwd);
    form->fwdClick(form->fwd); // the last row starts again
    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track01.mp3"), QStringLiteral("track02.mp3"),
                                      QStringLiteral("track03.mp3"), QStringLiteral("track03.mp3")));
    form->bckClick(form->bck);
    EXPECT_EQ(opened().last(), QStringLiteral("track02.mp3"));
    EXPECT_TRUE(form->play->isChecked());

    // Forward while paused plays the next row instead of resuming the paused one.
    form->pauseClick(form->pause);
    form->fwdClick(form->fwd);
    EXPECT_EQ(opened().last(), QStringLiteral("track03.mp3"));
    EXPECT_FALSE(player::paused);
    EXPECT_EQ(player::dcurrentlyplayingtrack, 2);

    // Stopped, forward and back only choose a row.
    form->StopClick(nullptr);
    const int opens = opened().size();
    form->bckClick(form->bck);
    EXPECT_EQ(form->dplaylist->currentRow(), 1);
    EXPECT_EQ(opened().size(), opens);
    EXPECT_TRUE(form->Stop->isChecked());
}

TEST_F(PlaybackTest, SkipAndSeekMoveThePositionInWholeSeconds)
{
    start();
    queueAll(1);
    fake().setLength(album + QStringLiteral("/track01.mp3"), 10'000);
    playRow(0);
    fake().clearCommands();

    form->skipforwardClick(form->skipforward);
    EXPECT_EQ(form->progress->value(), 2);
    EXPECT_EQ(fake().commands(), strings({"seek 2000", "play"}));
    EXPECT_TRUE(form->play->isChecked());

    // The same position again is not sought again.
    fake().clearCommands();
    form->progressChange(form->progress);
    EXPECT_THAT(fake().commands(), IsEmpty());

    form->skipbackward(form->skipback);
    form->skipbackward(form->skipback);
    EXPECT_EQ(form->progress->value(), 0);
    EXPECT_EQ(fake().commands(), strings({"seek 0", "play"}));

    // Paused: the position moves but nothing plays.
    form->pauseClick(form->pause);
    fake().clearCommands();
    form->progress->setValue(9);
    form->skipforwardClick(form->skipforward);
    EXPECT_EQ(form->progress->value(), 10);
    EXPECT_EQ(fake().commands(), strings({"seek 9000", "seek 10000"}));
    EXPECT_TRUE(form->pause->isChecked());
}

TEST_F(PlaybackTest, PositionBarRoundsHalvesToEven)
{
    start();
    queueAll(1);
    const struct
    {
        int ms;
        int seconds;
    } cases[] = {{2500, 2}, {3500, 4}, {2501, 3}, {499, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        fake().setLength(album + QStringLiteral("/track01.mp3"), c.ms);
        playRow(0);
        EXPECT_EQ(form->progress->maximum(), c.seconds);
    }
}

TEST_F(PlaybackTest, PositionTickShowsElapsedOrRemainingTime)
{
    start();
    queueAll(1);
    fake().setLength(album + QStringLiteral("/track01.mp3"), 200'000);
    playRow(0);
    fake().setPosition(65'400);
    fake().clearCommands();
    form->TimersTimer(form->Timers);
    EXPECT_EQ(form->progress->value(), 65);
    EXPECT_EQ(form->counter->text(), QStringLiteral("1:05"));
    EXPECT_THAT(fake().commands(), IsEmpty()); // the tick moves the bar without seeking

    form->timemodebutClick(form->timemodebut);
    EXPECT_EQ(form->trlabel->text(), QStringLiteral("TR"));
    EXPECT_EQ(form->counter->toolTip(), QStringLiteral("Time Remaining"));
    form->TimersTimer(form->Timers);
    EXPECT_EQ(form->counter->text(), QStringLiteral("2:15"));

    // Run out or stopped, the window shows no position and no time.
    const auto showsStopped = [this] {
        EXPECT_EQ(form->progress->value(), 0);
        EXPECT_EQ(form->counter->text(), QStringLiteral("---"));
    };
    finish();
    showsStopped();
    playRow(0);
    fake().setPosition(65'400);
    form->TimersTimer(form->Timers);
    // A player that can no longer report its position is stopped.
    (void)form->mediaPlayer()->close();
    form->TimersTimer(form->Timers);
    EXPECT_EQ(player::playmode, 0);
    EXPECT_TRUE(form->Stop->isChecked());
    showsStopped();
}

TEST_F(PlaybackTest, VolumePositionIsScaledToThePlayersRange)
{
    start();
    const struct
    {
        int position;
        bool muted;
        int sent;
    } cases[] = {{75, false, 500}, {150, false, 1000}, {1, false, 6}, {0, false, 0}, {150, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        form->vol->setValue(c.position);
        form->mutebut->setChecked(c.muted);
        if (c.muted) form->mutebutClick(form->mutebut);
        EXPECT_EQ(fake().commands().last(), QStringLiteral("volume %1").arg(c.sent));
    }
}

TEST_F(PlaybackTest, MuteStaysThroughPlayAndEndsWithTheNextSliderMove)
{
    start();
    queueAll(2);
    form->vol->setValue(75);
    form->mutebut->setChecked(true);
    form->mutebutClick(form->mutebut);
    playRow(0);
    EXPECT_EQ(fake().commands().last(), QStringLiteral("volume 0"));
    EXPECT_TRUE(form->mutebut->isChecked());
    form->vol->setValue(76);
    EXPECT_FALSE(form->mutebut->isChecked());
    EXPECT_EQ(fake().commands().last(), QStringLiteral("volume 506"));
}

TEST_F(PlaybackTest, AuditionPlaysEachEntryUpToTheTimeOut)
{
    start();
    queueAll(3);
    library::config.auditiontimeout = 5;
    form->audition->setChecked(true);
    form->auditionClick(form->audition);
    playRow(0);
    finish();
    EXPECT_EQ(plays(), strings({"play to 5000", "play to 5000"}));
    EXPECT_EQ(opened().last(), QStringLiteral("track02.mp3"));

    // A time-out of no seconds would run through the queue at once: whole tracks play.
    library::config.auditiontimeout = 0;
    finish();
    EXPECT_EQ(plays().last(), QStringLiteral("play"));

    form->audition->setChecked(false);
    form->auditionClick(form->audition);
    EXPECT_FALSE(player::audition_mode);
    EXPECT_EQ(player::playmode, 0);
    EXPECT_TRUE(form->Stop->isChecked());
}

TEST_F(PlaybackTest, VideoOnTheJukeboxCoverPanelIsReleasedByStop)
{
    QWidget panel;
    frontEnd.panel = &panel;
    program.write(QStringLiteral("music/Alpha__One/TRACK02.MPG"), "\0\0\1\xba");
    QFile::remove(album + QStringLiteral("/track02.mp3"));
    start();
    queueAll(2);
    playRow(1);
    EXPECT_EQ(form->mediaPlayer()->display(), &panel);
    EXPECT_EQ(form->mediaPlayer()->displayRect(), QRect());
    EXPECT_THAT(frontEnd.coverShows, ElementsAre(QString()));

    panel.show();
    form->StopClick(form->Stop);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(fake().openFileName(), player::blankfilepath);
}

TEST_F(PlaybackTest, AlbumTracksFollowEachOtherInTheCdPlayerStyle)
{
    start();
    form->Cdplayerbut->setChecked(true);
    ASSERT_TRUE(form->loadtitles(form->tracklist, 1));
    form->albumlist->setCurrentIndex(0);
    form->tracklist->setCurrentRow(2);
    form->tracklistClick(form->tracklist);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Alpha - One : A3"));
    form->playClick(nullptr);
    finish();
    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track03.mp3"), QStringLiteral("track04.mp3")));
    EXPECT_EQ(player::playmode, 1);
    EXPECT_TRUE(form->play->isChecked());

    library::autoplaymode = true;
    finish();
    EXPECT_TRUE(form->Stop->isChecked());
    EXPECT_FALSE(form->Timers->isActive());
    EXPECT_EQ(frontEnd.autoplayStarts, 1);
}

TEST_F(PlaybackTest, CdPlayerForwardAndBackStayWithinTheAlbum)
{
    start();
    form->Cdplayerbut->setChecked(true);
    ASSERT_TRUE(form->loadtitles(form->tracklist, 1));
    const auto step = [&](int direction) {
        direction < 0 ? form->bckClick(form->bck) : form->fwdClick(form->fwd);
    };
    for (const int row : {0, 3}) {
        form->tracklist->setCurrentRow(row);
        form->tracklistClick(form->tracklist);
        form->playClick(nullptr);
        fake().clearCommands();
        // Past either end nothing happens; the other way the neighbour plays at once.
        const int outward = row == 0 ? -1 : 1;
        step(outward);
        EXPECT_THAT(opened(), IsEmpty());
        step(-outward);
        EXPECT_THAT(opened(), ElementsAre(QStringLiteral("track0%1.mp3").arg(row - outward + 1)));
        EXPECT_EQ(fake().commands().count(QStringLiteral("play")), 1);
        EXPECT_TRUE(form->play->isChecked());
    }
}

TEST_F(PlaybackTest, CdPlayerTitleNamesAFileOnlyInsideTheAlbumFolder)
{
    addAlbum(QStringLiteral("Beta__Two"), {QStringLiteral("AC/DC Live"), QStringLiteral("../../escape")});
    QFile::remove(libraryRoot + QStringLiteral("/Beta__Two/track01.mp3"));
    QFile::remove(libraryRoot + QStringLiteral("/Beta__Two/track02.mp3"));
    program.write(QStringLiteral("music/Beta__Two/ACDC Live.mp3"), "ID3");
    program.write(QStringLiteral("escape.mp3"), "ID3");
    start();
    useErrorLog();
    form->Cdplayerbut->setChecked(true);
    ASSERT_TRUE(form->loadtitles(form->tracklist, 2));
    form->tracklist->setCurrentRow(0);
    form->tracklistClick(form->tracklist);
    EXPECT_THAT(opened(), ElementsAre(QStringLiteral("ACDC Live.mp3")));

    form->tracklist->setCurrentRow(1);
    form->tracklistClick(form->tracklist);
    EXPECT_EQ(opened().size(), 1);
    ASSERT_EQ(errorLogLines().size(), 1);
    EXPECT_THAT(errorLogLines().first().toStdString(), HasSubstr("/Beta__Two/....escape.mp? does not exist"));
}

TEST_F(PlaybackTest, ErrorLogIsEmptiedOnceItHasReachedItsLimit)
{
    const struct
    {
        qint64 sizeBefore;
        bool emptied;
    } cases[] = {{0, false}, {10367, false}, {10368, true}, {20000, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizeBefore);
        const QByteArray before(c.sizeBefore, 'x');
        useErrorLog(before);
        player::showerror(QStringLiteral("/music/a/TRACK03.MP3"), 0);
        const QByteArray after = program.read(QStringLiteral("errors.log"));
        EXPECT_EQ(after.startsWith(before), !c.emptied);
        const QByteArray line = c.emptied ? after : after.mid(before.size());
        EXPECT_TRUE(line.endsWith(" - File:/music/a/TRACK03.MP? does not exist\n")) << line.toStdString();
        EXPECT_EQ(line.count('\n'), 1);
    }
}

TEST_F(PlaybackTest, ErrorReportsGoToTheVisibleJukeboxAndAnExistingLogOnly)
{
    library::config.errorlog = program.file(QStringLiteral("missing.log"));
    player::showerror(QStringLiteral("/x/TRACK01.MP3"), 1);
    EXPECT_FALSE(QFile::exists(library::config.errorlog));
    EXPECT_THAT(frontEnd.messages, IsEmpty());

    frontEnd.exists = true;
    frontEnd.visible = true;
    player::showerror(QStringLiteral("/x/TRACK01.MP3"), 1);
    player::showerror(QString(), 0);
    EXPECT_THAT(frontEnd.messages, ElementsAre(QStringLiteral("File:/x/TRACK01.MP3 is corrupt"),
                                               QStringLiteral("File:? does not exist")));
}

TEST_F(PlaybackTest, VolumeTriangleFillsWithThePosition)
{
    start();
    const auto picture = [&](int pos) {
        form->drawtriangle(pos);
        return form->vol_triangle->pixmap().toImage();
    };
    const QImage silent = picture(0);
    const int w = silent.width();
    const int h = silent.height();
    const QRgb face = skins::tcolorToRgb(skins::clBtnFace);
    const QRgb fill = skins::tcolorToRgb(skins::clHighlight);
    EXPECT_EQ(silent.pixel(w / 2, h - 4), face);
    EXPECT_EQ(silent.pixel(w / 2, h - 2), skins::tcolorToRgb(skins::clBtnHighlight));

    const QImage half = picture(16); // a fifth of the way: m = 5
    EXPECT_EQ(half.pixel(w / 4, h - 4), fill);
    EXPECT_EQ(half.pixel(w - 4, h - 4), face);

    // From position 32 on the triangle is full; higher positions only draw outside the picture.
    for (int pos : {33, 150}) {
        const QImage full = picture(pos);
        EXPECT_EQ(full.pixel(w - 4, h - 4), fill) << pos;
        EXPECT_EQ(full.pixel(w - 3, 2), fill) << pos;
        EXPECT_EQ(full.pixel(3, 2), face) << pos;
    }
}

} // namespace

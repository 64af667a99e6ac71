// The libmpv player on the null outputs: real files, real decoding, faster than real time where the
// test allows it.

#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

#include "fakemediaplayer.h"
#include "platform/videosurface.h"
#include "playertesting.h"
#include "printers.h"

#include <mpv/client.h>
#include <sys/stat.h>

using namespace platform;

namespace {

// An MPEG-1 program stream with a colour test picture and a tone, written by mpv's own encoder.
bool writeTestVideo(const QString& path, const QString& audioPath)
{
    mpv_handle* mpv = mpv_create();
    if (!mpv) return false;
    const QByteArray out = QFile::encodeName(path);
    const QByteArray audio = QFile::encodeName(audioPath);
    const std::pair<const char*, const char*> options[] = {
        {"config", "no"},
        {"terminal", "no"},
        {"o", out.constData()},
        {"of", "mpeg"},
        {"ovc", "mpeg1video"},
        {"oac", "mp2"},
        {"audio-files", audio.constData()},
    };
    for (const auto& [name, value] : options)
        mpv_set_option_string(mpv, name, value);
    bool ended = false;
    if (mpv_initialize(mpv) >= 0) {
        const char* load[] = {"loadfile", "av://lavfi:testsrc=duration=2:size=320x240:rate=25", nullptr};
        if (mpv_command(mpv, load) >= 0) {
            while (!ended) {
                const mpv_event* event = mpv_wait_event(mpv, 20);
                ended = event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_NONE;
            }
        }
    }
    mpv_terminate_destroy(mpv);
    return ended && QFile(path).size() > 0;
}

QString makeFifo(const QString& path)
{
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
}

struct Media
{
    TempFolder folder;
    QString second = writeTone(folder, QStringLiteral("second.mp3"), 1000);
    QString twoSeconds = writeTone(folder, QStringLiteral("two.mp3"), 2000);
    QString video = [this] {
        const QString path = folder.file(QStringLiteral("TRACK01.MPG"));
        return writeTestVideo(path, twoSeconds) ? path : QString();
    }();
};

const Media& media()
{
    static const Media generated;
    return generated;
}

class MpvPlayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(media().second.isEmpty());
        ASSERT_TRUE(player->isValid());
    }

    std::unique_ptr<MpvMediaPlayer> player = makeMpvPlayer(true);
    Completions completions{*player};
};

TEST_F(MpvPlayer, PlaysATrackToItsEndWithOneSuccessfulCompletion)
{
    player->setFileName(media().second);
    ASSERT_TRUE(player->open());
    EXPECT_EQ(player->error(), MediaError::None);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_NEAR(loadedLength(*player), 1000, 80); // the encoder pads the last frame
    EXPECT_EQ(player->position(), 0);

    ASSERT_TRUE(player->play());
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Successful});
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->position(), player->length());
    EXPECT_EQ(player->fileName(), media().second);

    // Still open at the end: a play starts it again from the beginning. A name given without an
    // open does not change what plays.
    player->setFileName(media().twoSeconds);
    ASSERT_TRUE(player->play());
    ASSERT_TRUE(completions.waitFor(2));
    EXPECT_NEAR(player->length(), 1000, 80);
    player->stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(completions.values, std::vector<NotifyValue>(2, NotifyValue::Successful));
}

// Only mpv knows a parked file's length: asking for it loads the file.
TEST_F(MpvPlayer, AskingAParkedFilesLengthLoadsIt)
{
    player->setFileName(media().second);
    ASSERT_TRUE(player->openWhenNeeded());
    EXPECT_NEAR(loadedLength(*player), 1000, 80);
    EXPECT_EQ(player->error(), MediaError::None);
}

TEST_F(MpvPlayer, PlayWithAnEndPointStopsThereAndCompletesOnce)
{
    player->setFileName(media().twoSeconds);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->play(700));
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Successful});
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->position(), 700);

    // The next play goes on from there to the end of the file, not to the old end point.
    ASSERT_TRUE(player->play());
    ASSERT_TRUE(completions.waitFor(2));
    EXPECT_EQ(player->position(), player->length());

    // An end point at or before the position completes at once.
    ASSERT_TRUE(player->seek(1500));
    ASSERT_TRUE(player->play(1200));
    ASSERT_TRUE(completions.waitFor(3));
    player->stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(completions.values, std::vector<NotifyValue>(3, NotifyValue::Successful));
    EXPECT_NEAR(player->position(), 1500, 30);
}

TEST_F(MpvPlayer, EachPlayOfARunOfTracksCompletesInOrder)
{
    std::vector<int> lengths;
    for (const QString& track : {media().second, media().twoSeconds, media().second}) {
        player->setNotify(false); // as a queue loads each track
        player->setFileName(track);
        ASSERT_TRUE(player->open());
        lengths.push_back(loadedLength(*player));
        ASSERT_TRUE(player->play());
        ASSERT_TRUE(completions.waitFor(lengths.size()));
    }
    EXPECT_EQ(completions.values, std::vector<NotifyValue>(3, NotifyValue::Successful));
    EXPECT_GT(lengths[1], lengths[0] + 900);
}

// What is no file (a folder, a pipe) fails its open; a file mpv cannot play fails its play and
// closes.
TEST_F(MpvPlayer, FilesThatCannotPlayFailTheirOpenOrTheirPlay)
{
    const TempFolder folder;
    const struct
    {
        QString path;
        MediaError error;
    } notFiles[] = {
        {folder.mkdir(QStringLiteral("folder.mp3")), MediaError::CannotOpen},
        // A pipe with no writer would block mpv's reader for good.
        {makeFifo(folder.file(QStringLiteral("pipe.mp3"))), MediaError::CannotOpen},
    };
    for (const auto& file : notFiles) {
        SCOPED_TRACE(file.path.toStdString());
        player->setFileName(file.path);
        EXPECT_FALSE(player->open());
        EXPECT_EQ(player->error(), file.error);
        EXPECT_EQ(player->mode(), PlayerMode::NotReady);
    }
    for (const QString& broken : {folder.write(QStringLiteral("corrupt.mp3"), QByteArray(6000, '\x5a')),
                                  folder.write(QStringLiteral("empty.mp3"), QByteArray())}) {
        SCOPED_TRACE(broken.toStdString());
        completions.values.clear();
        player->setFileName(broken);
        ASSERT_TRUE(player->open());
        ASSERT_TRUE(player->play());
        ASSERT_TRUE(completions.waitFor(1));
        EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Failure});
        EXPECT_EQ(player->mode(), PlayerMode::NotReady);
    }
    // A good file opens after them, and nothing of the failed ones leaks into its play.
    completions.values.clear();
    player->setFileName(media().second);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->play());
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Successful});
}

TEST_F(MpvPlayer, ReopenAfterFailureReplacesTheOldFile)
{
    player->setFileName(media().second);
    ASSERT_TRUE(player->open());
    player->setFileName(media().folder.file(QStringLiteral("gone.mp3")));
    EXPECT_FALSE(player->open());
    // The failed open closed the earlier file: nothing plays.
    EXPECT_FALSE(player->play());
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Failure});
}

// Without a display, a video plays as a track does: to an end point, and from there to its end.
TEST_F(MpvPlayer, SeeksAreExactInMp3AndMpegVideo)
{
    ASSERT_FALSE(media().video.isEmpty());
    for (const QString& file : {media().twoSeconds, media().video}) {
        SCOPED_TRACE(file.toStdString());
        player->setFileName(file);
        ASSERT_TRUE(player->open());
        EXPECT_NEAR(loadedLength(*player), 2000, 120);
        for (int target : {1210, 480, 1730}) {
            ASSERT_TRUE(player->seek(target));
            EXPECT_NEAR(player->position(), target, 45);
        }
        ASSERT_TRUE(player->play(1800));
        ASSERT_TRUE(completions.waitFor(1));
        EXPECT_EQ(player->position(), 1800);
        ASSERT_TRUE(player->play());
        ASSERT_TRUE(completions.waitFor(2));
        EXPECT_EQ(completions.values, std::vector<NotifyValue>(2, NotifyValue::Successful));
        completions.values.clear();
    }
}

TEST_F(MpvPlayer, VideoIsDrawnInTheDisplayWidget)
{
    ASSERT_FALSE(media().video.isEmpty());
    QWidget display;
    display.resize(400, 300);
    display.show();
    player->setDisplay(&display);
    player->setFileName(media().video);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->play());

    // The test picture is colourful: some frame must show more than black.
    const auto colourShown = [&] {
        const VideoSurface* surface = player->videoSurface();
        if (!surface || !surface->isVisible() || surface->frame().isNull()) return false;
        const QImage& frame = surface->frame();
        return frame.pixelColor(frame.width() / 4, frame.height() / 4).value() > 100;
    };
    ASSERT_TRUE(QTest::qWaitFor(colourShown, 20000));
    EXPECT_EQ(player->videoSurface()->geometry(), display.rect());
    ASSERT_TRUE(completions.waitFor(1));
    EXPECT_EQ(completions.values, std::vector<NotifyValue>{NotifyValue::Successful});

    // A rectangle places it; an audio track hides it, so the display's own content shows.
    player->setDisplayRect(QRect(10, 20, 160, 120));
    EXPECT_EQ(player->videoSurface()->geometry(), QRect(10, 20, 160, 120));
    player->setFileName(media().second);
    ASSERT_TRUE(player->open());
    EXPECT_FALSE(player->videoSurface()->isVisible());
}

TEST_F(MpvPlayer, DisplayDestroyedFirstAndPlayerDestroyedWhilePlayingAreSafe)
{
    ASSERT_FALSE(media().video.isEmpty());
    auto display = std::make_unique<QWidget>();
    display->resize(200, 150);
    display->show();
    player->setDisplay(display.get());
    player->setFileName(media().video);
    ASSERT_TRUE(player->open());
    ASSERT_TRUE(player->play());
    display.reset();
    EXPECT_EQ(player->display(), nullptr);
    EXPECT_EQ(player->videoSurface(), nullptr);
    QCoreApplication::processEvents();

    player.reset();
    QCoreApplication::processEvents(); // no completion may reach a dead player's listeners
    EXPECT_TRUE(completions.values.empty());
}

} // namespace

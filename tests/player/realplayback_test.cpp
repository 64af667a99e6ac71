// The queue played through the libmpv player on the null outputs: real MP3 files, real decoding, as
// fast as they decode.

#include <QFile>
#include <QLabel>
#include <QToolButton>
#include <gmock/gmock.h>

#include "platform/mpvmediaplayer.h"
#include "printers.h"
#include "queuetesting.h"
#include "tonemp3.h"

using ::testing::ElementsAre;

namespace {

constexpr int kTrackMs = 400;
constexpr int kWaitMs = 30000;

std::unique_ptr<platform::MediaPlayer> nullOutputPlayer()
{
    platform::MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.untimed = true;
    return std::make_unique<platform::MpvMediaPlayer>(nullptr, options);
}

bool libmpvMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libmpv.so");
}

void writeTone(const QString& path)
{
    tools::Tone tone;
    tone.lengthMs = kTrackMs;
    ASSERT_TRUE(tools::writeToneMp3(path, tone)) << path.toStdString();
}

class RealPlaybackTest : public PlayerWindowTest
{
protected:
    void SetUp() override
    {
        PlayerWindowTest::SetUp();
        addAlbum(QStringLiteral("Alpha__One"),
                 {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")}, writeTone);
    }

    // Starts the window on the real player and records the file of every successful end (connected
    // before the window's own handler, which loads the next file).
    void startReal()
    {
        start([this] {
            std::unique_ptr<platform::MediaPlayer> player = nullOutputPlayer();
            platform::MediaPlayer* raw = player.get();
            QObject::connect(raw, &platform::MediaPlayer::completed, raw,
                             [this, raw](platform::NotifyValue value) {
                                 if (value == platform::NotifyValue::Successful)
                                     ended << raw->fileName().section(QLatin1Char('/'), -1);
                             });
            return player;
        });
        for (int t = 1; t <= 3; ++t)
            queueTrack(1, t);
    }

    [[nodiscard]] bool waitForEndOfQueue()
    {
        return QTest::qWaitFor([this] { return form->windowTitle() == QStringLiteral("No track"); }, kWaitMs);
    }

    QStringList ended;
};

TEST_F(RealPlaybackTest, ThreeEntriesPlayOneAfterAnotherInOrder)
{
    // Started and idle, the window has not loaded libmpv (unless an earlier test of this process
    // did); the first play loads it.
    const bool loadedBefore = libmpvMapped();
    startReal();
    QTest::qWait(100);
    if (!loadedBefore) {
        EXPECT_FALSE(libmpvMapped());
    }
    form->dplaylist->setCurrentRow(0);
    form->playClick(nullptr);
    ASSERT_TRUE(waitForEndOfQueue());

    EXPECT_THAT(ended, ElementsAre(QStringLiteral("track01.mp3"), QStringLiteral("track02.mp3"),
                                   QStringLiteral("track03.mp3")));
    EXPECT_EQ(player::dcurrentlyplayingtrack, 2);
    EXPECT_TRUE(form->Stop->isChecked());
    EXPECT_EQ(form->counter->text(), QStringLiteral("---"));
}

TEST_F(RealPlaybackTest, ACorruptTrackIsReportedAndSkipped)
{
    program.write(QStringLiteral("music/Alpha__One/track02.mp3"), QByteArray(4096, '\x5a'));
    frontEnd.exists = true;
    frontEnd.visible = true;
    startReal();
    form->dplaylist->setCurrentRow(0);
    form->playClick(nullptr);
    ASSERT_TRUE(waitForEndOfQueue());

    EXPECT_THAT(ended, ElementsAre(QStringLiteral("track01.mp3"), QStringLiteral("blank.mp3"),
                                   QStringLiteral("track03.mp3")));
    EXPECT_EQ(frontEnd.messages.filter(QStringLiteral("/track02.mp3 is corrupt")).size(), 1);
}

} // namespace

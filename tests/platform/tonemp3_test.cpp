#include <gtest/gtest.h>

#include "fakemediaplayer.h"
#include "playertesting.h"
#include "printers.h"

namespace {

// The tag size field: four bytes of seven bits each.
int syncSafe(const QByteArray& bytes, int at)
{
    int size = 0;
    for (int i = 0; i < 4; ++i)
        size = (size << 7) | (static_cast<unsigned char>(bytes[at + i]) & 0x7F);
    return size;
}

TEST(ToneMp3, TagIsId3v23WithOneTextFramePerGivenText)
{
    const QByteArray tag = tools::id3v23Tag(QStringLiteral("Blue Moon"), QString(), QStringLiteral("Café"));
    ASSERT_TRUE(tag.startsWith(QByteArray("ID3\x03\x00\x00", 6)));
    EXPECT_EQ(syncSafe(tag, 6), tag.size() - 10);
    EXPECT_TRUE(tag.contains("TIT2" + QByteArray::fromHex("0000000a 0000 00") + "Blue Moon"));
    EXPECT_FALSE(tag.contains("TPE1"));
    EXPECT_TRUE(tag.contains("TALB" + QByteArray::fromHex("00000005 0000 00 436166e9")));
    EXPECT_TRUE(tools::id3v23Tag(QString(), QString(), QString()).isEmpty());
}

TEST(ToneMp3, TextOutsideLatin1IsWrittenAsUtf16)
{
    const QByteArray tag = tools::id3v23Tag(QString(), QStringLiteral("Ωmega"), QString());
    EXPECT_TRUE(tag.contains("TPE1" + QByteArray::fromHex("0000000d 0000 01 fffe a903 6d00 6500")));
}

TEST(ToneMp3, TaggedToneAndSilenceAreRealMp3sOfTheirLength)
{
    const TempFolder folder;
    tools::Tone tone;
    tone.lengthMs = 1500;
    tone.title = QStringLiteral("Title");
    tone.artist = QStringLiteral("Artist");
    tone.album = QStringLiteral("Album");
    tools::Tone silence;
    silence.lengthMs = 500;
    silence.frequencyHz = 0;
    const QByteArray toneBytes = tools::toneMp3(tone);
    const QByteArray silenceBytes = tools::toneMp3(silence);
    ASSERT_TRUE(toneBytes.startsWith("ID3"));
    ASSERT_EQ(static_cast<unsigned char>(silenceBytes[0]), 0xFF); // an MPEG frame sync, no tag

    auto player = makeMpvPlayer(true);
    const struct
    {
        const QByteArray& bytes;
        int lengthMs;
    } files[] = {{toneBytes, 1500}, {silenceBytes, 500}};
    for (const auto& file : files) {
        player->setFileName(folder.write(QStringLiteral("track.mp3"), file.bytes));
        ASSERT_TRUE(player->open());
        EXPECT_NEAR(loadedLength(*player), file.lengthMs, 80);
    }
    EXPECT_FALSE(tools::writeToneMp3(folder.file(QStringLiteral("no/such/folder/x.mp3")), tone));
}

} // namespace

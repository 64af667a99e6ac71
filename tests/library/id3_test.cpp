#include <QFile>
#include <gtest/gtest.h>

#include "library/id3.h"
#include "printers.h"
#include "tempfolder.h"

using library::tid3tag;

namespace {

QByteArray v1Block(const QByteArray& marker, char trackByte, uint8_t genre)
{
    QByteArray block = marker + QByteArray("Title").leftJustified(30, '\0') + QByteArray(30, 'A') +
                       QByteArray("Album").leftJustified(30, '\0') + "1999" + QByteArray(29, 'c');
    block.append(trackByte);
    block.append(static_cast<char>(genre));
    return block;
}

QByteArray frame(const QByteArray& id, const QByteArray& value)
{
    const auto size = static_cast<uint32_t>(value.size());
    QByteArray f = id;
    for (int shift = 24; shift >= 0; shift -= 8)
        f.append(static_cast<char>((size >> shift) & 0xFF));
    return f + QByteArray(2, '\0') + value;
}

// A version 2.3 tag of `frames` with padding; its size is stored seven bits a byte.
QByteArray v2Tag(const QByteArray& frames, int padding = 200)
{
    const auto size = static_cast<uint32_t>(frames.size() + padding);
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.append(static_cast<char>((size >> shift) & 0x7F));
    return tag + frames + QByteArray(padding, '\0');
}

tid3tag read(const TempFolder& folder, const QByteArray& content)
{
    tid3tag tag;
    library::readtag(folder.write(QStringLiteral("t.mp3"), content), tag);
    return tag;
}

} // namespace

TEST(Id3, VersionOneBlockReadsAnyCaseMarkerTrackByteAndGenre)
{
    TempFolder folder;
    const QByteArray audio(1000, 'x');
    const tid3tag tag = read(folder, audio + v1Block("tag", 126, 17));
    EXPECT_EQ(tag.field, QStringLiteral("tag"));
    EXPECT_EQ(tag.track, QStringLiteral("Title"));
    EXPECT_EQ(tag.artist, QString(30, QLatin1Char('A')));
    EXPECT_EQ(tag.year, QStringLiteral("1999"));
    EXPECT_EQ(tag.comments, QString(29, QLatin1Char('c')) + QChar(126));
    EXPECT_EQ(tag.trackno, 126);
    EXPECT_EQ(tag.genre, QStringLiteral("Rock"));
    EXPECT_EQ(read(folder, audio + v1Block("TAG", 1, 0)).genre, QStringLiteral("Unclassified"));
    EXPECT_EQ(read(folder, audio + v1Block("TAG", 1, 147)).genre, QStringLiteral("Synthpop"));
    EXPECT_EQ(read(folder, audio + v1Block("TAG", 1, 200)).genre, QString());
}

TEST(Id3, WritingReplacesAnExistingBlockOrAppendsOne)
{
    TempFolder folder;
    const QString file = folder.write(QStringLiteral("t.mp3"), QByteArray(1000, 'x'));
    tid3tag tag;
    tag.track = QString(40, QLatin1Char('T'));
    tag.artist = QStringLiteral("Artist");
    tag.genre = QStringLiteral("Rock");
    ASSERT_TRUE(library::writetag(file, tag));
    EXPECT_EQ(QFile(file).size(), 1128);
    tag.track = QStringLiteral("Short");
    ASSERT_TRUE(library::writetag(file, tag));
    EXPECT_EQ(QFile(file).size(), 1128);
    const QByteArray block = folder.read(QStringLiteral("t.mp3")).right(128);
    EXPECT_EQ(block.mid(0, 33), QByteArray("TAGShort") + QByteArray(25, '\0'));
    EXPECT_EQ(static_cast<uint8_t>(block[127]), 17);
    tid3tag back;
    library::readtag(file, back);
    EXPECT_EQ(back.artist, QStringLiteral("Artist"));
    EXPECT_FALSE(library::writetag(folder.file(QStringLiteral("missing.mp3")), tag));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("missing.mp3"))));
}

TEST(Id3, VersionTwoTextFramesAtTheStartOfTheFile)
{
    TempFolder folder;
    const QByteArray frames =
        frame("TIT2", QByteArray("\0 Song \r", 8)) + frame("TRCK", QByteArray("\0005/12", 5)) +
        frame("TPE1", QByteArray("\x01\xFF\xFEZ\0o\0e\0", 9)) + frame("TCON", QByteArray("\0(17)", 5));
    const tid3tag tag = read(folder, v2Tag(frames) + QByteArray(5000, 'x'));
    EXPECT_EQ(tag.track, QStringLiteral("Song"));
    EXPECT_EQ(tag.trackno, 5);
    EXPECT_EQ(tag.artist, QStringLiteral("Zoe"));
    EXPECT_EQ(tag.genre, QStringLiteral("(17)"));
    // With both tags only the version 1 block counts.
    EXPECT_EQ(read(folder, v2Tag(frames) + v1Block("TAG", 3, 0)).track, QStringLiteral("Title"));
}

TEST(Id3, CutOrOversizedTagsEndTheReadingWithWhatCameBefore)
{
    TempFolder folder;
    const QByteArray title = frame("TIT2", QByteArray("\0Kept", 5));
    QByteArray tooLong = frame("TALB", QByteArray("\0Lost", 5));
    tooLong[7] = '\x7F'; // claims 127 bytes more than the tag holds
    EXPECT_EQ(read(folder, v2Tag(title + tooLong, 0)).track, QStringLiteral("Kept"));
    EXPECT_EQ(read(folder, v2Tag(title + tooLong, 0)).album, QString());
    const QByteArray whole = v2Tag(title + frame("TALB", QByteArray("\0Album", 6)), 0);
    for (qsizetype cut = 0; cut < whole.size(); ++cut)
        read(folder, whole.left(cut));
    EXPECT_EQ(read(folder, whole.left(whole.size() - 1)).track, QStringLiteral("Kept"));
}

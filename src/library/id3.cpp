#include "library/id3.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>

#include "library/inifuncs.h"
#include "library/names.h"
#include "platform/files.h"

namespace library {

const std::array<const char*, kID3GenreCount> ID3Genre = {"Blues",
                                                          "Classic Rock",
                                                          "Country",
                                                          "Dance",
                                                          "Disco",
                                                          "Funk",
                                                          "Grunge",
                                                          "Hip-Hop",
                                                          "Jazz",
                                                          "Metal",
                                                          "New Age",
                                                          "Oldies",
                                                          "Other",
                                                          "Pop",
                                                          "R&B",
                                                          "Rap",
                                                          "Reggae",
                                                          "Rock",
                                                          "Techno",
                                                          "Industrial",
                                                          "Alternative",
                                                          "Ska",
                                                          "Death Metal",
                                                          "Pranks",
                                                          "Soundtrack",
                                                          "Euro-Techno",
                                                          "Ambient",
                                                          "Trip-Hop",
                                                          "Vocal",
                                                          "Jazz+Funk",
                                                          "Fusion",
                                                          "Trance",
                                                          "Classical",
                                                          "Instrumental",
                                                          "Acid",
                                                          "House",
                                                          "Game",
                                                          "Sound Clip",
                                                          "Gospel",
                                                          "Noise",
                                                          "AlternRock",
                                                          "Bass",
                                                          "Soul",
                                                          "Punk",
                                                          "Space",
                                                          "Meditative",
                                                          "Instrumental Pop",
                                                          "Instrumental Rock",
                                                          "Ethnic",
                                                          "Gothic",
                                                          "Darkwave",
                                                          "Techno-Industrial",
                                                          "Electronic",
                                                          "Pop-Folk",
                                                          "Eurodance",
                                                          "Dream",
                                                          "Southern Rock",
                                                          "Comedy",
                                                          "Cult",
                                                          "Gangsta",
                                                          "Top 40",
                                                          "Christian Rap",
                                                          "Pop/Funk",
                                                          "Jungle",
                                                          "Native American",
                                                          "Cabaret",
                                                          "New Wave",
                                                          "Psychadelic",
                                                          "Rave",
                                                          "Showtunes",
                                                          "Trailer",
                                                          "Lo-Fi",
                                                          "Tribal",
                                                          "Acid Punk",
                                                          "Acid Jazz",
                                                          "Polka",
                                                          "Retro",
                                                          "Musical",
                                                          "Rock & Roll",
                                                          "Hard Rock",
                                                          "Folk",
                                                          "Folk-Rock",
                                                          "National Folk",
                                                          "Swing",
                                                          "Fast Fusion",
                                                          "Bebob",
                                                          "Latin",
                                                          "Revival",
                                                          "Celtic",
                                                          "Bluegrass",
                                                          "Avantgarde",
                                                          "Gothic Rock",
                                                          "Progressive Rock",
                                                          "Psychedelic Rock",
                                                          "Symphonic Rock",
                                                          "Slow Rock",
                                                          "Big Band",
                                                          "Chorus",
                                                          "Easy Listening",
                                                          "Acoustic",
                                                          "Humour",
                                                          "Speech",
                                                          "Chanson",
                                                          "Opera",
                                                          "Chamber Music",
                                                          "Sonata",
                                                          "Symphony",
                                                          "Booty Bass",
                                                          "Primus",
                                                          "Porn Groove",
                                                          "Satire",
                                                          "Slow Jam",
                                                          "Club",
                                                          "Tango",
                                                          "Samba",
                                                          "Folklore",
                                                          "Ballad",
                                                          "Power Ballad",
                                                          "Rhythmic Soul",
                                                          "Freestyle",
                                                          "Duet",
                                                          "Punk Rock",
                                                          "Drum Solo",
                                                          "Acapella",
                                                          "Euro-House",
                                                          "Dance Hall",
                                                          "Goa",
                                                          "Drum & Bass",
                                                          "Club-House",
                                                          "Hardcore",
                                                          "Terror",
                                                          "Indie",
                                                          "BritPop",
                                                          "Negerpunk",
                                                          "Polsk Punk",
                                                          "Beat",
                                                          "Christian Gangsta Rap",
                                                          "Heavy Metal",
                                                          "Black Metal",
                                                          "Crossover",
                                                          "Contemporary Christian",
                                                          "Christian Rock",
                                                          "Merengue",
                                                          "Salsa",
                                                          "Trash Metal",
                                                          "Anime",
                                                          "Jpop",
                                                          "Synthpop"};

namespace {

constexpr qint64 kV1Size = 128;
constexpr int kMarkerWidth = 3;
constexpr int kTextWidth = 30;
constexpr int kYearWidth = 4;
constexpr int kTracknoOffset = 126;
constexpr int kGenreOffset = 127;
// The name read for genre number 0, and the genre number written for an unknown name.
const QString kUnclassified = QStringLiteral("Unclassified");
constexpr uint8_t kNoGenre = 255;

constexpr int kV2HeaderSize = 10;
constexpr int kV2FrameHeaderSize = 10;
constexpr uint8_t kV2ExtendedHeaderFlag = 0x40;

// ---- Version 1 --------------------------------------------------------------------------------

// The field of `width` bytes at `offset`, up to its first zero byte; what the block holds of it.
QString v1Text(const QByteArray& block, int offset, int width)
{
    const QByteArray bytes = block.mid(offset, width);
    const qsizetype zero = bytes.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

QString genreName(uint8_t number)
{
    if (number == 0) return kUnclassified;
    if (number < kID3GenreCount) return QString::fromLatin1(ID3Genre[number]);
    return {};
}

// The genre number of a name from the table; 0 for none or "Unclassified", 255 for any other.
uint8_t genreNumber(const QString& name)
{
    if (name.isEmpty() || name.compare(kUnclassified, Qt::CaseInsensitive) == 0) return 0;
    for (int number = 0; number < kID3GenreCount; ++number)
        if (name.compare(QLatin1String(ID3Genre[number]), Qt::CaseInsensitive) == 0)
            return static_cast<uint8_t>(number);
    return kNoGenre;
}

// The fields in block order, each stopping when the block ends before it.
void readv1(const QByteArray& block, tid3tag& tag)
{
    struct Field
    {
        QString* into;
        int offset;
        int width;
    };
    const Field fields[] = {{&tag.field, 0, kMarkerWidth}, {&tag.track, 3, kTextWidth},
                            {&tag.artist, 33, kTextWidth}, {&tag.album, 63, kTextWidth},
                            {&tag.year, 93, kYearWidth},   {&tag.comments, 97, kTextWidth}};
    for (const Field& f : fields) {
        if (block.size() < f.offset + f.width) return;
        *f.into = v1Text(block, f.offset, f.width);
    }
    if (block.size() <= kTracknoOffset) return;
    tag.trackno = static_cast<uint8_t>(block[kTracknoOffset]);
    if (block.size() > kGenreOffset) tag.genre = genreName(static_cast<uint8_t>(block[kGenreOffset]));
}

// `text` as Latin-1, cut to `width` bytes or filled with zero bytes.
QByteArray v1Field(const QString& text, int width)
{
    QByteArray bytes = text.toLatin1().left(width);
    bytes.append(width - bytes.size(), '\0');
    return bytes;
}

QByteArray v1Block(const tid3tag& tag)
{
    // Always the marker, whatever `field` holds: a block without it would not be found again, and
    // the next write would append a second one.
    QByteArray block = QByteArray("TAG") + v1Field(tag.track, kTextWidth) + v1Field(tag.artist, kTextWidth) +
                       v1Field(tag.album, kTextWidth) + v1Field(tag.year, kYearWidth) +
                       v1Field(tag.comments, kTextWidth);
    block.append(static_cast<char>(genreNumber(tag.genre)));
    return block;
}

// ---- Version 2 --------------------------------------------------------------------------------

uint32_t bigEndian(const QByteArray& bytes, qsizetype at)
{
    uint32_t value = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        value = (value << 8) | static_cast<uint8_t>(bytes[i]);
    return value;
}

// Four bytes of seven bits each, as the tag header (and version 2.4 frames) store sizes.
uint32_t synchsafe(const QByteArray& bytes, qsizetype at)
{
    uint32_t value = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        value = (value << 7) | (static_cast<uint8_t>(bytes[i]) & 0x7F);
    return value;
}

// The frame's text after its encoding byte, decoded by that byte; blanks and control characters
// removed at both ends.
QString frameText(const QByteArray& value)
{
    if (value.isEmpty()) return {};
    const QByteArray text = value.mid(1);
    QString decoded;
    switch (value[0]) {
    case 1:
        decoded = QStringDecoder(QStringDecoder::Utf16).decode(text);
        break;
    case 2:
        decoded = QStringDecoder(QStringDecoder::Utf16BE).decode(text);
        break;
    case 3:
        decoded = QString::fromUtf8(text);
        break;
    default:
        decoded = QString::fromLatin1(text);
        break;
    }
    return trimcontrols(decoded);
}

void takeFrame(const QByteArray& id, const QString& text, tid3tag& tag)
{
    if (id == "TIT2")
        tag.track = text;
    else if (id == "TPE1")
        tag.artist = text;
    else if (id == "TALB")
        tag.album = text;
    else if (id == "TRCK")
        tag.trackno = settingsInteger(text);
    else if (id == "TYER")
        tag.year = text;
    else if (id == "TCON")
        tag.genre = text;
}

// Where the first frame starts: after the extended header when the tag has one.
qint64 firstFrame(QIODevice& file, uint8_t version, uint8_t flags)
{
    if (!(flags & kV2ExtendedHeaderFlag)) return kV2HeaderSize;
    const QByteArray size = file.read(4);
    if (size.size() < 4) return file.size();
    // Version 2.3 counts the extended header without its size field, 2.4 with it.
    return kV2HeaderSize + (version >= 4 ? synchsafe(size, 0) : qint64(bigEndian(size, 0)) + 4);
}

bool wantedFrame(const QByteArray& id)
{
    return id == "TIT2" || id == "TPE1" || id == "TALB" || id == "TRCK" || id == "TYER" || id == "TCON";
}

// Walks the frames up to `tagEnd`, reading only the text frames wanted; a frame that reaches past
// the tag ends the walk.
void readFrames(QIODevice& file, qint64 tagEnd, uint8_t version, uint8_t flags, tid3tag& tag)
{
    qint64 at = firstFrame(file, version, flags);
    while (at + kV2FrameHeaderSize <= tagEnd && file.seek(at)) {
        const QByteArray header = file.read(kV2FrameHeaderSize);
        if (header.size() < kV2FrameHeaderSize || header[0] == '\0') return;
        const QByteArray id = header.left(4);
        const qint64 size = version >= 4 ? synchsafe(header, 4) : bigEndian(header, 4);
        const qint64 valueAt = at + kV2FrameHeaderSize;
        if (size > tagEnd - valueAt) return;
        if (wantedFrame(id)) takeFrame(id, frameText(file.read(size)), tag);
        at = valueAt + size;
    }
}

void readversion2(QIODevice& file, tid3tag& tag)
{
    if (!file.seek(0)) return;
    const QByteArray header = file.read(kV2HeaderSize);
    if (header.size() < kV2HeaderSize || !header.startsWith("ID3")) return;
    const uint8_t version = static_cast<uint8_t>(header[3]);
    const uint8_t flags = static_cast<uint8_t>(header[5]);
    const qint64 tagEnd = std::min<qint64>(kV2HeaderSize + synchsafe(header, 6), file.size());
    readFrames(file, tagEnd, version, flags, tag);
}

void clear(tid3tag& tag)
{
    tag = tid3tag{};
}

} // namespace

bool checkvalidtag(QIODevice& file)
{
    if (file.size() < kV1Size || !file.seek(file.size() - kV1Size)) return false;
    return file.read(kMarkerWidth).compare("TAG", Qt::CaseInsensitive) == 0;
}

void readtag(QIODevice& file, tid3tag& tag)
{
    clear(tag);
    if (!checkvalidtag(file))
        readversion2(file, tag);
    else if (file.seek(file.size() - kV1Size))
        readv1(file.read(kV1Size), tag);
    tag.track = oneLineTitle(tag.track);
}

void readtag(const QString& filename, tid3tag& tag)
{
    clear(tag);
    QFile file;
    if (platform::openRegularFile(file, filename)) readtag(file, tag);
}

bool writetag(const QString& filename, const tid3tag& tag)
{
    QFile file(filename);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return false;
    const qint64 at = checkvalidtag(file) ? file.size() - kV1Size : file.size();
    if (!file.seek(at)) return false;
    const QByteArray block = v1Block(tag);
    return file.write(block) == block.size() && file.flush();
}

void readversion2tag(const QString& filename, tid3tag& tag)
{
    QFile file;
    if (platform::openRegularFile(file, filename)) readversion2(file, tag);
    tag.track = oneLineTitle(tag.track);
}

} // namespace library

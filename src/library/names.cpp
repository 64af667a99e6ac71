#include "library/names.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <string_view>

#include "platform/files.h"
#include "platform/textcodec.h"

namespace library {

namespace {

constexpr int kMaxNameBytes = 255;
constexpr std::u16string_view kAlbumSeparator = u"__";
constexpr int kSeparatorBytes = 2;

// Searched as plain UTF-16: the scan splits every album folder's name.
std::u16string_view lastComponent(std::u16string_view path)
{
    while (path.size() > 1 && path.back() == u'/')
        path.remove_suffix(1);
    const size_t slash = path.rfind(u'/');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

void split(const QString& s, const QString& ch, QString& l, QString& r)
{
    const qsizetype at = ch.isEmpty() ? -1 : s.indexOf(ch.front());
    if (at < 0) {
        l = s;
        r.clear();
        return;
    }
    l = s.left(at);
    r = s.mid(at + 1);
}

QString stripbadchars(const QString& a)
{
    QString name = a;
    for (const QChar bad : QStringLiteral("\\/:*?\">|<"))
        name.remove(bad);
    return platform::cutToUtf8Bytes(name, kMaxNameBytes);
}

QString trimcontrols(const QString& s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s[first] <= QLatin1Char(' '))
        ++first;
    while (last > first && s[last - 1] <= QLatin1Char(' '))
        --last;
    return s.mid(first, last - first);
}

QString stripcontrols(const QString& s)
{
    QString clean;
    for (const QChar c : s)
        if (c.category() != QChar::Other_Control) clean += c;
    return clean;
}

QString oneLineTitle(const QString& s)
{
    QString line = s;
    for (QChar& c : line) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return line;
}

namespace {

// One half of an album folder name, at most `maxBytes` bytes; its end is trimmed after the cut, so
// the cut cannot leave a "_" there.
QString folderPart(const QString& name, int maxBytes)
{
    QString clean = stripbadchars(stripcontrols(name));
    const QString separator = QStringView(kAlbumSeparator).toString();
    while (clean.contains(separator))
        clean.replace(separator, QStringLiteral("_"));
    while (clean.startsWith(QLatin1Char('.')) || clean.startsWith(QLatin1Char('_')))
        clean.remove(0, 1);
    clean = platform::cutToUtf8Bytes(clean, maxBytes);
    while (clean.endsWith(QLatin1Char('_')))
        clean.chop(1);
    return clean;
}

} // namespace

void cleanfoldernames(QString& artist, QString& album)
{
    artist = folderPart(artist, (kMaxNameBytes - kSeparatorBytes) / 2);
    album = folderPart(album, kMaxNameBytes - kSeparatorBytes - int(artist.toUtf8().size()));
}

bool validname(const QString& s)
{
    for (const QChar bad : QStringLiteral("_-+/\\:*?\"<>|")) {
        if (s.contains(bad)) return false;
    }
    return !s.trimmed().isEmpty();
}

QString stripnulls(const QByteArray& p)
{
    QByteArray bytes = p;
    bytes.replace('\0', QByteArray());
    return platform::decodeText(bytes);
}

QString extractalbumandaristfrompath(const QString& s, QString& artist, QString& album)
{
    extractalbumartist(s, album, artist);
    return album + QStringLiteral(" - ") + artist;
}

void extractalbumartist(const QString& st, QString& album, QString& artist)
{
    const std::u16string_view name = lastComponent({QStringView(st).utf16(), size_t(st.size())});
    const size_t at = name.find(kAlbumSeparator);
    artist = QStringView(name.substr(0, at)).toString();
    album = at == std::u16string_view::npos
                ? QString()
                : QStringView(name.substr(at + kAlbumSeparator.size())).toString();
}

QString firstCdDevice(const QString& cdromInfo)
{
    static const QRegularExpression driveLine(QStringLiteral("^drive name:(.*)$"),
                                              QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = driveLine.match(cdromInfo);
    if (!match.hasMatch()) return {};
    QStringList drives =
        match.captured(1).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (drives.isEmpty()) return {};
    // The kernel lists the newest drive first; the first drive is the lowest-numbered one.
    std::sort(drives.begin(), drives.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return QStringLiteral("/dev/") + drives.front();
}

QString getfirstcddriveletter()
{
    QFile info(QStringLiteral("/proc/sys/dev/cdrom/info"));
    if (info.open(QIODevice::ReadOnly)) {
        const QString device = firstCdDevice(QString::fromLatin1(info.readAll()));
        if (!device.isEmpty()) return device;
    }
    const QString link = QStringLiteral("/dev/cdrom");
    return QFileInfo::exists(link) ? link : QString();
}

int64_t getalbumsize(const QString& pathtoalbum, int32_t& filecount, int32_t& mp3count, bool cancel)
{
    int64_t size = 0;
    if (!cancel) {
        const QStringList mp3s = platform::listFolder(pathtoalbum, {QStringLiteral("*.mp3")}, QDir::Files);
        for (const QString& name : mp3s) {
            ++filecount;
            ++mp3count;
            size += QFileInfo(platform::joinPath(pathtoalbum, name)).size();
            QCoreApplication::processEvents();
        }
    }
    for (const char* extra : {"info.dat", "title.dat", "title.jpg", "title.bmp", "title.jpeg"}) {
        const QString found = platform::findNoCase(pathtoalbum, QString::fromLatin1(extra));
        if (found.isEmpty()) continue;
        ++filecount;
        size += QFileInfo(found).size();
    }
    return size;
}

} // namespace library

#include "ripper/albumfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>

#include "library/albumstore.h"
#include "platform/files.h"
#include "platform/jpegcodec.h"
#include "platform/textcodec.h"
#include "ripper/mydialog.h"

namespace ripper {

namespace {

// The quality IJG libjpeg uses when none is asked for.
constexpr int kJpegDefaultQuality = 75;

} // namespace

int tracknumber(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^track(\\d+)\\.mp.$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QStringList trackfiles(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.removeIf([](const QString& name) { return tracknumber(name) < 0; });
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int left = tracknumber(a);
        const int right = tracknumber(b);
        return left != right ? left < right : a < b;
    });
    return names;
}

int nexttracknumber(const QString& folder)
{
    const QStringList names = trackfiles(folder);
    return names.isEmpty() ? 1 : tracknumber(names.last()) + 1;
}

bool writetitles(const QString& folder, const QStringList& titles)
{
    return platform::writeFileAtomically(library::titlesfilepath(folder), library::titlesfiletext(titles));
}

QString defaulttitle(int number)
{
    return QStringLiteral("Track %1").arg(number, 2);
}

void padtitles(QStringList& titles, int count)
{
    while (titles.size() < count)
        titles.append(defaulttitle(int(titles.size()) + 1));
}

bool readtitles(const QString& folder, QStringList& titles)
{
    titles.clear();
    const QString existing = library::titlesfilepath(folder);
    if (!QFileInfo::exists(existing)) return true;
    QFile file;
    if (!platform::openRegularFile(file, existing)) return false;
    titles = platform::splitLines(platform::decodeText(file.readAll()));
    return true;
}

bool settitleline(const QString& folder, int number, const QString& title)
{
    // The whole file is read and written again: an old file may lack its last line end, and an
    // old one in another character set comes back in the one every new file uses.
    QStringList titles;
    if (!readtitles(folder, titles)) return false;
    padtitles(titles, number);
    titles[number - 1] = title;
    return writetitles(folder, titles);
}

QString coverfile(const QString& folder)
{
    return platform::joinPath(folder, QStringLiteral("title.jpg"));
}

bool writecover(const QString& folder, const QImage& picture)
{
    const QByteArray jpeg =
        platform::encodeJpeg(picture.convertToFormat(QImage::Format_RGB888), kJpegDefaultQuality);
    return !jpeg.isEmpty() && platform::writeFileAtomically(coverfile(folder), jpeg);
}

bool savecover(const QString& folder, const QImage& picture)
{
    if (writecover(folder, picture)) return true;
    (void)md(QStringLiteral("Error creating image file: ") + coverfile(folder), QString(),
             QStringLiteral("Cancel"), QStringLiteral("Filing Error"), true);
    return false;
}

} // namespace ripper

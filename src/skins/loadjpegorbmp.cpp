#include "skins/loadjpegorbmp.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QLoggingCategory>
#include <QPainter>
#include <array>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>

#include "library/global.h"
#include "platform/files.h"
#include "platform/jpegcodec.h"
#include "platform/textcodec.h"
#include "skins/colors.h"
#include "skins/imaging.h"
#include "skins/resourceskins.h"

namespace skins {

namespace {

Q_LOGGING_CATEGORY(lcCovers, "musetra.skins.covers")

constexpr int kErrorSide = 170;
constexpr int kErrorCentre = 85;
constexpr double kErrorAlpha = 0.3;
constexpr int kErrorFontSize = 8;
constexpr int kNameShownFrom = 20; // names longer than this are cut ...
constexpr int kNameCutTo = 25;     // ... to this many characters and "..."
constexpr int kNameMaxBytes = 255;
constexpr int kHashHexDigits = 32;
// A full-size load never decodes more than this on a side unless the picture is smaller:
// a 10,000-pixel cover comes out reduced in the DCT instead of taking hundreds of megabytes.
constexpr int kMaxFullSide = 2048;
// Cover files larger than this are refused before anything is read or copied: no real cover
// comes near it, and a huge (or sparse) file would otherwise be read into memory whole.
constexpr qint64 kMaxCoverBytes = 64ll * 1024 * 1024;
// Cover files beyond this are read and decoded one at a time, so covers loaded side by side (the
// album pages' workers) never hold several such files in memory at once.
constexpr qint64 kLargeCoverBytes = 8ll * 1024 * 1024;
std::timed_mutex largeCovers;
constexpr std::chrono::milliseconds kTurnCheck{10};
// Whether the picture the calling thread is loading is still wanted (see setLoadCancelled).
thread_local std::function<bool()> loadCancelled;

enum LoadResult { Loaded = 0, NotFound = 1, Broken = 2 };

// The cover files looked for, in the order they are tried.
const std::array<QString, 3> kExtensions = {QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                            QStringLiteral("bmp")};

QString coverName(const QString& fn, const QString& ext)
{
    return fn + QStringLiteral("/title.") + ext;
}

// The bytes of a cover file; false when it is no regular file or beyond the size limit, or a
// link that `links` refuses.
bool readCoverFile(const QString& path, QByteArray& data, platform::Links links)
{
    QFile file;
    if (!platform::openRegularFile(file, path, QIODevice::ReadOnly, links)) return false;
    // Read no more than the limit allows, even if the file grew since its size was checked.
    data = platform::readAtMost(file, kMaxCoverBytes);
    return data.size() <= kMaxCoverBytes;
}

// libjpeg decides: a picture it decodes completely shows, warnings or not. The file is read as the
// decoder goes: a large cover never lies in memory whole beside the coefficients it decodes to.
bool loadJpegFile(const QString& path, QImage& picture, QSize wanted, platform::Links links)
{
    QFile file;
    if (!platform::openRegularFile(file, path, QIODevice::ReadOnly, links)) return false;
    const QSize atLeast = wanted.isValid() && !wanted.isEmpty() ? wanted : QSize(kMaxFullSide, kMaxFullSide);
    QString error;
    if (!platform::decodeJpegFile(file, kMaxCoverBytes, picture, atLeast, &error)) {
        qCInfo(lcCovers) << "unreadable JPEG" << path << error;
        return false;
    }
    return true;
}

bool loadBmpFile(const QString& path, QImage& picture, platform::Links links)
{
    QByteArray data;
    QImage loaded;
    if (!readCoverFile(path, data, links) || !loaded.loadFromData(data, "BMP")) return false;
    picture = loaded.convertToFormat(QImage::Format_RGB888);
    return !picture.isNull();
}

QString shortened(const QString& name)
{
    return name.size() > kNameShownFrom ? name.left(kNameCutTo) + QStringLiteral("...") : name;
}

void drawCentred(QPainter& painter, const QString& text, int y)
{
    const QFontMetrics metrics(painter.font());
    const int x = kErrorCentre - metrics.horizontalAdvance(text) / 2;
    painter.drawText(x, y + metrics.ascent(), text);
}

// The cache file's own name: the readable folder name cut to fit, and a digest of the whole
// path so that folders whose readable names agree ("a/b" and "a0b") never share a file.
QString cacheFileName(const QString& fn, const QString& ext)
{
    const QByteArray digest = QCryptographicHash::hash(fn.toUtf8(), QCryptographicHash::Sha256).toHex();
    const QString tail =
        QLatin1Char('_') + QString::fromLatin1(digest.left(kHashHexDigits)) + QLatin1Char('.') + ext;
    const int room = kNameMaxBytes - int(tail.toUtf8().size());
    return platform::cutToUtf8Bytes(maketempname(fn), room) + tail;
}

QDateTime lastWrite(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.lastModified() : QDateTime();
}

// A byte copy that carries the source's last-write time; the cache file is replaced whole.
void copyWithTime(const QString& from, const QString& to)
{
    QFile source;
    if (!platform::openRegularFile(source, from)) return;
    const QDateTime stamp = source.fileTime(QFileDevice::FileModificationTime);
    platform::removeAtomicWriteLeftovers(to);
    // Dated before it takes the cache name: nothing opens that name again to write.
    if (!platform::writeFileAtomically(to, source.readAll(), stamp))
        qCInfo(lcCovers) << "cannot copy" << from << "to" << to;
}

// Brings the cache copy of the cover `source` (fn + "/title." + ext in some spelling, empty when
// there is none) up to date and returns the cache file's name.
QString cachedCopy(const QString& fn, const QString& ext, QString source)
{
    const QString name = platform::joinPath(library::cachepath, cacheFileName(fn, ext));
    if (source.isEmpty()) source = coverName(fn, ext);
    // A missing file has no time, so a cache copy of a vanished cover never counts as current.
    const QDateTime cachedTime = lastWrite(name);
    const QDateTime sourceTime = lastWrite(source);
    if (!cachedTime.isValid() || !sourceTime.isValid() || cachedTime != sourceTime)
        copyWithTime(source, name);
    return name;
}

// The cover files of album folder `fname` in one listing of the folder: for each extension the
// name "title." + ext in its exact spelling, else in the first spelling that matches without regard
// to case; empty where there is none.
std::array<QString, 3> coverFiles(const QString& fname)
{
    std::array<QString, 3> found;
    const QStringList names = platform::listFolder(
        fname, {QStringLiteral("title.jpg"), QStringLiteral("title.jpeg"), QStringLiteral("title.bmp")},
        QDir::AllEntries | QDir::Hidden | QDir::System);
    for (size_t i = 0; i < kExtensions.size(); ++i) {
        const QString wanted = QStringLiteral("title.") + kExtensions[i];
        for (const QString& name : names) {
            if (name.compare(wanted, Qt::CaseInsensitive) != 0) continue;
            if (found[i].isEmpty() || name == wanted) found[i] = platform::joinPath(fname, name);
            if (name == wanted) break;
        }
    }
    return found;
}

// One of the three cover files, `found` in the album folder, read directly or through the cache.
LoadResult tryCover(const QString& fname, const QString& ext, const QString& found, QImage& picture,
                    QSize wanted)
{
    const QFileInfo info(found);
    if (found.isEmpty() || !info.isFile()) return NotFound;
    if (info.size() > kMaxCoverBytes) {
        qCInfo(lcCovers) << "cover file too large" << found << info.size();
        return Broken;
    }
    std::unique_lock oneAtATime(largeCovers, std::defer_lock);
    while (info.size() > kLargeCoverBytes && !oneAtATime.try_lock_for(kTurnCheck)) {
        if (loadCancelled && loadCancelled()) return Broken;
    }
    const QString name = library::cached ? cachedCopy(fname, ext, found) : found;
    // The cache copy is the program's own file: a link planted at its name is never read.
    const platform::Links links = library::cached ? platform::Links::Refuse : platform::Links::Follow;
    const bool ok = ext == QLatin1String("bmp") ? loadBmpFile(name, picture, links)
                                                : loadJpegFile(name, picture, wanted, links);
    return ok ? Loaded : Broken;
}

} // namespace

void setLoadCancelled(std::function<bool()> cancelled)
{
    loadCancelled = std::move(cancelled);
}

namespace {
QImage noImagePicture()
{
    QImage noimage;
    (void)loadbitmap(noimage, QStringLiteral("NOIMAGE"));
    return noimage;
}

// An error picture on `noimage`, the decoded NOIMAGE picture (see errorwithbitmap), toned towards
// the workspace colour when `toned` (a slow processor's are not).
QImage errorOnPicture(const QImage& noimage, bool toned, const QString& msg, const QString& artist,
                      const QString& album)
{
    QImage picture(kErrorSide, kErrorSide, QImage::Format_RGB888);
    picture.fill(Qt::black);
    if (!noimage.isNull()) {
        QPainter copy(&picture);
        copy.drawImage(QRect(0, 0, kErrorSide, kErrorSide), noimage);
    }
    if (toned) addcolortobitmap(picture, clAppWorkSpace, kErrorAlpha);

    QPainter painter(&picture);
    QFont font(QStringLiteral("Garamond"));
    font.setPointSize(kErrorFontSize);
    painter.setFont(font);
    painter.setPen(tcolorToQColor(0xFFFFFF));
    const int height = QFontMetrics(font).height();
    drawCentred(painter, msg, kErrorCentre);
    if (!artist.isEmpty()) drawCentred(painter, shortened(artist), kErrorCentre + 2 * height);
    if (!album.isEmpty()) drawCentred(painter, shortened(album), kErrorCentre + 3 * height);
    return picture;
}

// The "not found" and "corrupt" pictures, made on one decoding of NOIMAGE.
struct ErrorPictures
{
    QImage noimage;
    QImage corrupt;
};

ErrorPictures makeErrorPictures(bool toned)
{
    const QImage noimage = noImagePicture();
    return {errorOnPicture(noimage, toned, QStringLiteral("Image File Not Found"), {}, {}),
            errorOnPicture(noimage, toned, QStringLiteral("Corrupt picture file"), {}, {})};
}

// Whether error pictures are toned under the settings in force.
bool tonedErrorPictures()
{
    return !library::SLOWPROCESSOR;
}

// Made by prepareerrorbitmaps, taken by the next initerrorbitmaps; window thread only.
std::future<ErrorPictures> preparedErrorPictures;

bool errorPicturesMade()
{
    return !errorbitmap_noimage.isNull() && !errorbitmap_corrupt.isNull();
}

} // namespace

QImage errorwithbitmap(const QString& msg, const QString& artist, const QString& album)
{
    return errorOnPicture(noImagePicture(), tonedErrorPictures(), msg, artist, album);
}

void initerrorbitmaps()
{
    if (errorPicturesMade()) return;
    const ErrorPictures made =
        preparedErrorPictures.valid() ? preparedErrorPictures.get() : makeErrorPictures(tonedErrorPictures());
    if (errorbitmap_noimage.isNull()) errorbitmap_noimage = made.noimage;
    if (errorbitmap_corrupt.isNull()) errorbitmap_corrupt = made.corrupt;
}

void prepareerrorbitmaps()
{
    if (errorPicturesMade() || preparedErrorPictures.valid()) return;
    // The setting is read here: the worker reads no global the window thread may change.
    preparedErrorPictures = std::async(std::launch::async, makeErrorPictures, tonedErrorPictures());
}

void reseterrorbitmaps()
{
    errorbitmap_noimage = QImage();
    errorbitmap_corrupt = QImage();
}

QString maketempname(const QString& fn)
{
    QString name = fn;
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')) c = QLatin1Char('0');
    }
    return name;
}

QString docachedcheckandcopy(const QString& fn, const QString& ext)
{
    return cachedCopy(fn, ext, platform::findNoCase(fn, QStringLiteral("title.") + ext));
}

QString smallcopyfile(const QString& fname)
{
    if (library::cachepath.isEmpty()) return QString();
    QByteArray key = fname.toUtf8();
    bool any = false;
    for (const QString& found : coverFiles(fname)) {
        if (found.isEmpty()) continue;
        const QFileInfo info(found);
        key += '\n' + found.toUtf8() + '\t' + QByteArray::number(info.size()) + '\t' +
               QByteArray::number(info.lastModified().toMSecsSinceEpoch());
        any = true;
    }
    if (!any) return QString();
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex();
    return platform::joinPath(library::cachepath, QStringLiteral("small_") +
                                                      QString::fromLatin1(digest.left(kHashHexDigits)) +
                                                      QStringLiteral(".jpg"));
}

void loadjpegbmp(const QString& fname, QImage& resulted, QSize wanted)
{
    const std::array<QString, 3> found = coverFiles(fname);
    QImage picture;
    LoadResult error = NotFound;
    for (size_t i = 0; i < kExtensions.size(); ++i) {
        const LoadResult tried = tryCover(fname, kExtensions[i], found[i], picture, wanted);
        // The last file that exists decides between "not found" and "corrupt".
        if (tried != NotFound) error = tried;
        if (error == Loaded) break;
    }
    if (error != Loaded) {
        initerrorbitmaps();
        picture = error == NotFound ? errorbitmap_noimage : errorbitmap_corrupt;
    }
    resulted = picture;
}

} // namespace skins

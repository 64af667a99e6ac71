// makeseeds FOLDER
//
// Writes the starting inputs of the file fuzzers with the program's own writers: covers through
// our JPEG encoder, a settings file through the settings writer, titles through the titles
// writer and a play log through the play-log writer. One subfolder per fuzzer. Beside them, inputs
// at the edges of the readers' limits: grown files (see fuzzfiles.h) one byte either side of the
// megabyte limits, and titles and play logs just past their line limits, which a fuzzer growing
// its inputs from kilobytes would take long to reach.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>

#include "jukebox/logfile.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/jpegcodec.h"
#include "platform/profile.h"
#include "platform/programfolder.h"

namespace {

// The limits of the titles reader and the block of the play-log reader.
constexpr qsizetype kTitleLines = 9999;
constexpr qsizetype kTitleLineBytes = 1024;
constexpr qsizetype kLogBlockBytes = 64 * 1024;

void writeSeed(const QDir& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// A grown input: a file `offset` bytes from its fuzzer's limit, starting with `head`.
QByteArray grown(int16_t offset, const QByteArray& head)
{
    const auto bits = uint16_t(offset);
    return QByteArrayLiteral("GROW") + char(bits & 0xFF) + char(bits >> 8) + head;
}

// The grown input one byte beyond the limit, named after `name`; with `within`, also the one at
// the limit. (A fuzzer takes about a second to read a file of 64 MiB, so the covers and skins
// start from beyond only and reach within by mutating the size.)
void writeGrownSeeds(const QDir& folder, const QString& name, const QByteArray& prefix,
                     const QByteArray& head, bool within)
{
    if (within) writeSeed(folder, QStringLiteral("within-") + name, prefix + grown(0, head));
    writeSeed(folder, QStringLiteral("beyond-") + name, prefix + grown(1, head));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(38, 96, 180));
    painter.fillRect(w / 4, h / 4, w / 2, h / 2, QColor(214, 150, 38));
    return image;
}

// The first byte tells the fuzzer the file kind (bit 0: BMP) and whether a size is asked (bit 1).
void writeCovers(const QDir& folder)
{
    writeSeed(folder, QStringLiteral("small.jpg"), '\0' + platform::encodeJpeg(picture(64, 48), 90));
    writeSeed(folder, QStringLiteral("scaled.jpg"), '\2' + platform::encodeJpeg(picture(240, 180), 40));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture(32, 24).save(&buffer, "BMP");
    writeSeed(folder, QStringLiteral("small.bmp"), '\1' + bmp);
    writeGrownSeeds(folder, QStringLiteral("large.jpg"), QByteArray(1, '\0'),
                    platform::encodeJpeg(picture(64, 48), 90), false);
}

void writeSkins(const QDir& folder)
{
    writeGrownSeeds(folder, QStringLiteral("large.skn"), {}, QByteArrayLiteral("MZ"), false);
}

// The settings file fuzzer takes only grown inputs.
void writeSettings(const QDir& folder, const QDir& fileFolder, const QString& work)
{
    platform::setProgramFolder(work);
    writeSeed(QDir(work), QStringLiteral("Musetra.ini"), "[main]\n");
    (void)library::readini();
    library::writeini();
    const QByteArray written = readAll(QDir(work).filePath(QStringLiteral("Musetra.ini")));
    writeSeed(folder, QStringLiteral("Musetra.ini"), written);
    writeGrownSeeds(fileFolder, QStringLiteral("Musetra.ini"), {}, written, true);
    // A value one character longer than a read returns.
    writeSeed(folder, QStringLiteral("long-value.ini"),
              "[main]\nPath=" + QByteArray(platform::Profile::kMaxValueLength + 1, 'p') + '\n');
}

void writeTitles(const QDir& folder, const QString& work)
{
    library::config.path = work;
    QDir(work).mkpath(QStringLiteral("Rivers__Blue"));
    for (const char* track : {"track01.mp3", "Track02 - Slow Current.mp3", "track03.mpg"})
        writeSeed(QDir(work + QStringLiteral("/Rivers__Blue")), QString::fromLatin1(track), "mp3");
    library::maketitles(QStringLiteral("Rivers__Blue"));
    writeSeed(folder, QStringLiteral("title.dat"), readAll(work + QStringLiteral("/Rivers__Blue/title.dat")));
    // One line more than a titles file keeps, the first one byte longer than a kept line.
    writeSeed(folder, QStringLiteral("past-limits.dat"),
              QByteArray(kTitleLineBytes + 1, 't') + QByteArray(kTitleLines + 1, '\n'));
}

void writePlayLog(const QDir& folder, const QString& work)
{
    const QString path = QDir(work).filePath(QStringLiteral("plays.log"));
    jukebox::tlogfile log(path, nullptr);
    log.writeentry(QStringLiteral("Rivers"), QStringLiteral("Blue"), QStringLiteral("Estuary"));
    log.writeentry(QStringLiteral("amber"), QStringLiteral("Gold"), QStringLiteral("Honey \"Street\""));
    log.writeentry(QStringLiteral("Caf\u00e9"), QStringLiteral("Nuit"), QString());
    const QByteArray entries = readAll(path);
    writeSeed(folder, QStringLiteral("plays.log"), entries);
    // Past the size at which the jukebox warns, with a line longer than the reader's block, and
    // lines that cross from one block into the next.
    QByteArray large = QByteArray(kLogBlockBytes + 1, 'x') + '\n';
    while (large.size() <= 2 * kLogBlockBytes + 1)
        large += entries;
    writeSeed(folder, QStringLiteral("past-limits.log"), large);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeseeds FOLDER\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char* name : {"covers", "settings", "settingsfile", "textlines", "playlog", "peresources"})
        root.mkpath(QString::fromLatin1(name));
    QTemporaryDir work;
    writeCovers(QDir(root.filePath(QStringLiteral("covers"))));
    writeSkins(QDir(root.filePath(QStringLiteral("peresources"))));
    writeSettings(QDir(root.filePath(QStringLiteral("settings"))),
                  QDir(root.filePath(QStringLiteral("settingsfile"))), work.path());
    writeTitles(QDir(root.filePath(QStringLiteral("textlines"))), work.path());
    writePlayLog(QDir(root.filePath(QStringLiteral("playlog"))), work.path());
    return 0;
}

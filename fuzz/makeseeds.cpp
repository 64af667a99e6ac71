// makeseeds FOLDER
//
// Writes the starting inputs of the file fuzzers with the program's own writers: covers through
// our JPEG encoder, a settings file through the settings writer, titles through the titles
// writer and a play log through the play-log writer. One subfolder per fuzzer.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

#include "jukebox/logfile.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/jpegcodec.h"
#include "platform/programfolder.h"

namespace {

void writeSeed(const QDir& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
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
}

void writeSettings(const QDir& folder, const QString& work)
{
    platform::setProgramFolder(work);
    writeSeed(QDir(work), QStringLiteral("Musetra.ini"), "[main]\n");
    (void)library::readini();
    library::writeini();
    writeSeed(folder, QStringLiteral("Musetra.ini"),
              readAll(QDir(work).filePath(QStringLiteral("Musetra.ini"))));
}

void writeTitles(const QDir& folder, const QString& work)
{
    library::config.path = work;
    QDir(work).mkpath(QStringLiteral("Rivers__Blue"));
    for (const char* track : {"track01.mp3", "Track02 - Slow Current.mp3", "track03.mpg"})
        writeSeed(QDir(work + QStringLiteral("/Rivers__Blue")), QString::fromLatin1(track), "mp3");
    library::maketitles(QStringLiteral("Rivers__Blue"));
    writeSeed(folder, QStringLiteral("title.dat"), readAll(work + QStringLiteral("/Rivers__Blue/title.dat")));
}

void writePlayLog(const QDir& folder, const QString& work)
{
    const QString path = QDir(work).filePath(QStringLiteral("plays.log"));
    jukebox::tlogfile log(path, nullptr);
    log.writeentry(QStringLiteral("Rivers"), QStringLiteral("Blue"), QStringLiteral("Estuary"));
    log.writeentry(QStringLiteral("amber"), QStringLiteral("Gold"), QStringLiteral("Honey \"Street\""));
    log.writeentry(QStringLiteral("Caf\u00e9"), QStringLiteral("Nuit"), QString());
    writeSeed(folder, QStringLiteral("plays.log"), readAll(path));
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
    for (const char* name : {"covers", "settings", "textlines", "playlog"})
        root.mkpath(QString::fromLatin1(name));
    QTemporaryDir work;
    writeCovers(QDir(root.filePath(QStringLiteral("covers"))));
    writeSettings(QDir(root.filePath(QStringLiteral("settings"))), work.path());
    writeTitles(QDir(root.filePath(QStringLiteral("textlines"))), work.path());
    writePlayLog(QDir(root.filePath(QStringLiteral("playlog"))), work.path());
    return 0;
}

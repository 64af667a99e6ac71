// makedemo PROGRAM_FOLDER
//
// When PROGRAM_FOLDER holds no "Musetra.ini", writes a small demo library beside it (album folders
// "Artist__Album" with short tone tracks as real MP3 files, a "title.dat" each and a drawn cover
// "title.jpg") and a "Musetra.ini" whose Path points at it. A folder that already has its settings
// file is left alone, so a library of one's own is never touched.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

#include "tonemp3.h"

namespace {

constexpr int kCoverSize = 400;
constexpr int kTrackMs = 8000;

struct DemoAlbum
{
    const char* artist;
    const char* album;
    QRgb colour; // main colour of the cover
    std::initializer_list<const char*> titles;
};

const DemoAlbum kAlbums[] = {
    {"amber", "Gold", qRgb(214, 150, 38), {"Morning Light", "Honey Street", "Late Harvest"}},
    {"Rivers", "Blue", qRgb(38, 96, 180), {"Estuary", "Slow Current", "Delta Night", "Rain on the Bridge"}},
    {"The Night Owls", "Long Road", qRgb(70, 40, 120), {"Headlights", "Midnight Diner", "Last Exit"}},
    {"Copper Kettle", "Steam", qRgb(176, 84, 48), {"Whistle", "Pressure", "Cooling Down"}},
    {"Lanterns", "Harbour", qRgb(26, 120, 112), {"Tide Bell", "Fog Horn", "Quay Lights", "Homeward"}},
    {"Velvet Static", "Neon Hours", qRgb(200, 40, 110), {"Signal", "Afterglow", "Open Late"}},
    {"_Various", "Jukebox Hits", qRgb(60, 60, 60), {"Coin Drop", "Needle Down", "Side B", "Encore"}},
};

// Notes of a major chord and its octave, so each album sounds a little different.
double toneFrequency(int albumIndex, int trackIndex)
{
    static const double kRoots[] = {261.63, 293.66, 329.63, 349.23, 392.00, 440.00, 493.88};
    static const double kSteps[] = {1.0, 1.26, 1.5, 2.0};
    return kRoots[albumIndex % 7] * kSteps[trackIndex % 4];
}

QImage drawCover(const DemoAlbum& demo)
{
    QImage image(kCoverSize, kCoverSize, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor main = QColor::fromRgb(demo.colour);

    QLinearGradient backdrop(0, 0, kCoverSize, kCoverSize);
    backdrop.setColorAt(0, main.lighter(150));
    backdrop.setColorAt(1, main.darker(220));
    painter.fillRect(image.rect(), backdrop);

    // A record: dark disc, grooves, coloured label.
    const QPointF centre(kCoverSize * 0.62, kCoverSize * 0.58);
    const double radius = kCoverSize * 0.3;
    QRadialGradient disc(centre, radius);
    disc.setColorAt(0, QColor(40, 40, 40));
    disc.setColorAt(1, QColor(12, 12, 12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);
    for (double r = radius * 0.45; r < radius * 0.97; r += 6) {
        painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
        painter.drawEllipse(centre, r, r);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(main.lighter(120));
    painter.drawEllipse(centre, radius * 0.33, radius * 0.33);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawEllipse(centre, 5, 5);

    // Title band across the top: the jukebox lays its own strip over the foot of every cover.
    painter.fillRect(QRectF(0, 0, kCoverSize, kCoverSize * 0.26), QColor(0, 0, 0, 150));
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Liberation Sans"), 30, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRectF(20, kCoverSize * 0.01, kCoverSize - 40, kCoverSize * 0.14),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(demo.album));
    QFont artist(QStringLiteral("Liberation Sans"), 18);
    painter.setFont(artist);
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(QRectF(20, kCoverSize * 0.14, kCoverSize - 40, kCoverSize * 0.11),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(demo.artist).remove(u'_'));
    return image;
}

bool writeText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool writeAlbum(const QString& root, const DemoAlbum& demo, int albumIndex)
{
    const QString artist = QString::fromUtf8(demo.artist);
    const QString album = QString::fromUtf8(demo.album);
    const QString folder = QDir(root).filePath(artist + QStringLiteral("__") + album);
    if (!QDir().mkpath(folder)) return false;
    QString titles;
    int track = 0;
    for (const char* title : demo.titles) {
        tools::Tone tone;
        tone.lengthMs = kTrackMs;
        tone.frequencyHz = toneFrequency(albumIndex, track);
        tone.amplitude = 0.25;
        tone.title = QString::fromUtf8(title);
        tone.artist = artist;
        tone.album = album;
        ++track;
        const QString name = QStringLiteral("track%1.mp3").arg(track, 2, 10, QLatin1Char('0'));
        if (!tools::writeToneMp3(QDir(folder).filePath(name), tone)) return false;
        titles += tone.title + QLatin1Char('\n');
    }
    if (!writeText(QDir(folder).filePath(QStringLiteral("title.dat")), titles)) return false;
    return drawCover(demo).save(QDir(folder).filePath(QStringLiteral("title.jpg")), "JPG", 90);
}

} // namespace

int main(int argc, char** argv)
{
    // Covers are drawn off-screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: makedemo PROGRAM_FOLDER\n");
        return 2;
    }
    const QDir programFolder(QFileInfo(arguments.at(1)).absoluteFilePath());
    const QStringList existing = programFolder.entryList({QStringLiteral("Musetra.ini")}, QDir::Files);
    if (!existing.isEmpty()) return 0; // the folder has its settings: nothing to do

    const QString root = programFolder.filePath(QStringLiteral("demo-library"));
    int albumIndex = 0;
    for (const DemoAlbum& demo : kAlbums) {
        if (!writeAlbum(root, demo, albumIndex++)) {
            std::fprintf(stderr, "makedemo: cannot write the demo library in %s\n", qPrintable(root));
            return 1;
        }
    }
    const QString settingsFile = programFolder.filePath(QStringLiteral("Musetra.ini"));
    if (!writeText(settingsFile, QStringLiteral("[main]\nPath=%1/\n").arg(root))) {
        std::fprintf(stderr, "makedemo: cannot write %s\n", qPrintable(settingsFile));
        return 1;
    }
    std::printf("makedemo: wrote a demo library of %d albums to %s\n", albumIndex, qPrintable(root));
    return 0;
}

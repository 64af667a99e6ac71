// Draws every built-in picture of the program into a resource folder (PNG bitmaps, JPEG
// backdrops), and optionally a contact sheet and two screen mock-ups for reviewing the look.
//
//   makeartwork <resources/art folder> [<docs folder>]

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QRegion>
#include <cstdio>

#include "artpainter.h"
#include "artwork.h"
#include "platform/jpegcodec.h"

namespace {

constexpr int kJpegQuality = 90;

bool writePicture(const QString& folder, const art::Picture& picture)
{
    const QString base = QDir(folder).filePath(picture.name.toLower());
    if (picture.jpeg) {
        QFile file(base + QStringLiteral(".jpg"));
        const QByteArray data = platform::encodeJpeg(picture.image, kJpegQuality);
        return !data.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    }
    return picture.image.save(base + QStringLiteral(".png"), "PNG");
}

QImage contactSheet(const QVector<art::Picture>& pictures)
{
    constexpr int kCell = 190, kLabel = 30, kColumns = 8;
    const int rows = int((pictures.size() + kColumns - 1) / kColumns);
    QImage sheet(kColumns * kCell, rows * (kCell + kLabel) + 50, QImage::Format_RGB32);
    sheet.fill(QColor(0x1A, 0x1C, 0x24));
    QPainter p(&sheet);
    art::prepare(p);
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(22);
    p.setFont(title);
    p.setPen(art::kAmber);
    p.drawText(QRect(0, 0, sheet.width(), 46), Qt::AlignCenter,
               QStringLiteral("Built-in pictures (small ones shown twice their size)"));
    QFont label(QStringLiteral("Liberation Sans"));
    label.setPixelSize(12);
    p.setFont(label);
    for (int i = 0; i < pictures.size(); ++i) {
        const art::Picture& pic = pictures[i];
        const QRect cell((i % kColumns) * kCell, 50 + (i / kColumns) * (kCell + kLabel), kCell,
                         kCell + kLabel);
        QSizeF shown = pic.image.size();
        if (shown.width() <= 64 && shown.height() <= 64) shown *= 2;
        shown = shown.scaled(QSizeF(kCell - 16, kCell - 16), Qt::KeepAspectRatio).boundedTo(shown);
        const QRectF target(cell.left() + (kCell - shown.width()) / 2,
                            cell.top() + (kCell - shown.height()) / 2, shown.width(), shown.height());
        p.fillRect(target.adjusted(-3, -3, 3, 3), QColor(0x30, 0x33, 0x40));
        p.drawImage(target, pic.image);
        p.setPen(QColor(0xD8, 0xDC, 0xE6));
        p.drawText(QRect(cell.left(), cell.bottom() - kLabel, kCell, kLabel), Qt::AlignCenter,
                   QStringLiteral("%1  %2x%3").arg(pic.name).arg(pic.image.width()).arg(pic.image.height()));
    }
    return sheet;
}

// The region left after cutting the pure white runs of `mask` away.
QRegion cutWhite(const QImage& mask)
{
    QRegion region;
    for (int y = 0; y < mask.height(); ++y) {
        int start = -1;
        for (int x = 0; x <= mask.width(); ++x) {
            const bool keep = x < mask.width() && (mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            if (keep && start < 0) start = x;
            if (!keep && start >= 0) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    return region;
}

// `picture` with its pixels of colour `key` made transparent.
QImage seeThrough(const QImage& picture, QRgb key)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            if ((result.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF)) result.setPixel(x, y, 0);
    return result;
}

// An illustration of a jukebox screen made of the pictures (not the program's exact layout).
QImage mockup(const QHash<QString, QImage>& pics, QSize screen)
{
    QImage shot(screen, QImage::Format_RGB32);
    QPainter p(&shot);
    art::prepare(p);
    const qreal ax = screen.width() / 800.0, ay = screen.height() / 600.0;
    const auto box = [&](qreal x, qreal y, qreal w, qreal h) {
        return QRectF(x * ax, y * ay, w * ax, h * ay);
    };
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(screen)), pics[QStringLiteral("BACKGROUND")]);
    // Album pages: two covers with their title strips.
    for (int i = 0; i < 2; ++i) {
        const QRectF cover = box(40 + i * 300, 40, 260, 260);
        p.drawImage(cover, pics[QStringLiteral("NOIMAGE")]);
        p.setPen(QColor(0x80, 0x80, 0x80));
        QFont f(QStringLiteral("EB Garamond"));
        f.setPixelSize(int(14 * ay));
        p.setFont(f);
        for (int t = 0; t < 8; ++t)
            p.drawText(
                box(40 + i * 300, 320 + t * 26, 260, 24), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("%1  Track title number %2").arg(t + 1, 2, 10, QLatin1Char('0')).arg(t + 1));
    }
    const QRectF maskRect = box(11, 11, 637, 575);
    const QImage mask = pics[QStringLiteral("CENTERMASK")].scaled(maskRect.size().toSize());
    p.save();
    p.setClipRegion(cutWhite(mask).translated(maskRect.topLeft().toPoint()));
    p.drawImage(maskRect.topLeft(), mask);
    p.restore();
    // Right column: page buttons, number display, keypad.
    p.drawImage(box(680, 165, 51, 51), pics[QStringLiteral("LBUTUP")]);
    p.drawImage(box(740, 165, 51, 51), pics[QStringLiteral("RBUTDOWN")]);
    p.fillRect(box(653, 240, 134, 60), Qt::black);
    QFont digits(QStringLiteral("DSEG7 Classic"));
    digits.setPixelSize(int(22 * ay));
    p.setFont(digits);
    p.setPen(art::kAmber);
    p.drawText(box(655, 244, 130, 30), Qt::AlignCenter, QStringLiteral("0042 017"));
    const qreal keyLeft = 653;
    const QStringList captions = {QStringLiteral("7"), QStringLiteral("8"),     QStringLiteral("9"),
                                  QStringLiteral("4"), QStringLiteral("5"),     QStringLiteral("6"),
                                  QStringLiteral("1"), QStringLiteral("2"),     QStringLiteral("3"),
                                  QStringLiteral("0"), QStringLiteral("Clear"), QStringLiteral("Enter")};
    QFont keyFont(QStringLiteral("EB Garamond"));
    keyFont.setPixelSize(int(13 * ax));
    keyFont.setBold(true);
    for (int i = 0; i < 12; ++i) {
        const QRectF key = box(keyLeft + 2 + (i % 3) * 44, 310 + (i / 3) * 44, 42, 42);
        p.drawImage(key, pics[i == 4 ? QStringLiteral("KEYPADDOWN") : QStringLiteral("KEYPADUP")]);
        p.setFont(keyFont);
        p.setPen(Qt::white);
        p.drawText(key, Qt::AlignCenter, captions[i]);
    }
    const QRectF wide = box(keyLeft + 2, 310 + 4 * 44, 130, 21);
    p.drawImage(wide, pics[QStringLiteral("WIDEBUTUP")]);
    p.drawText(wide, Qt::AlignCenter, QStringLiteral("Cancel Last Entry"));
    // Corners and the letter bar down the left edge.
    p.drawImage(box(0, 0, 32, 32), pics[QStringLiteral("LCORNERDOWN")]);
    p.drawImage(box(0, 568, 32, 32), pics[QStringLiteral("BLCORNERDOWN")]);
    p.drawImage(box(768, 0, 32, 32), pics[QStringLiteral("RCORNERUP")]);
    p.drawImage(box(768, 568, 32, 32), pics[QStringLiteral("BRCORNERDOWN")]);
    const qreal cell = (600 - 64) / 26.0;
    keyFont.setPixelSize(int(14 * ay));
    p.setFont(keyFont);
    for (int i = 0; i < 26; ++i) {
        const QRectF r = box(0, 32 + i * cell, 32, cell);
        const QImage& letter =
            pics[i == 7 ? QStringLiteral("ALPHABUTTONDOWN") : QStringLiteral("ALPHABUTTONUP")];
        p.drawImage(r.topLeft(), seeThrough(letter.scaled(r.size().toSize()), letter.pixel(0, 0)));
        p.setPen(art::kAmber);
        p.drawText(r, Qt::AlignCenter, QString(QChar(u'a' + i)));
    }
    return shot;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: makeartwork <resource folder> [<docs folder>]\n");
        return 2;
    }
    QVector<art::Picture> pictures = art::skinPictures();
    pictures += art::fixedPictures();
    pictures += art::playerPictures();
    QDir().mkpath(args[1]);
    QHash<QString, QImage> byName;
    for (const art::Picture& picture : std::as_const(pictures)) {
        if (!writePicture(args[1], picture)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(picture.name));
            return 1;
        }
        byName.insert(picture.name, picture.image);
    }
    if (args.size() > 2) {
        QDir().mkpath(args[2]);
        const QDir docs(args[2]);
        if (!contactSheet(pictures).save(docs.filePath(QStringLiteral("artwork.png"))) ||
            !mockup(byName, QSize(800, 600)).save(docs.filePath(QStringLiteral("artwork-800x600.png"))) ||
            !mockup(byName, QSize(1920, 1080)).save(docs.filePath(QStringLiteral("artwork-1920x1080.png")))) {
            std::fprintf(stderr, "cannot write the review pictures\n");
            return 1;
        }
    }
    std::printf("%d pictures written\n", int(pictures.size()));
    return 0;
}

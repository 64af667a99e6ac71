#include "skins/imaging.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <cmath>
#include <vector>

#include "library/global.h"
#include "platform/screens.h"
#include "skins/colors.h"
#include "skins/resourceskins.h"

namespace skins {

namespace {

constexpr int kCoverSize = 300;
constexpr int kCoverShapes = 16;
constexpr int kCoverTitles = 31;
constexpr double kCoverTintAlpha = 0.2;
// Antialiasing is skipped on screens exactly this wide.
constexpr int kUnsoftenedScreenWidth = 1024;

// `image` cut or extended to `size`, keeping its top-left part; new pixels are black.
QImage resized(const QImage& image, QSize size)
{
    if (image.size() == size) return image;
    QImage result(size, QImage::Format_RGB32);
    result.fill(Qt::black);
    QPainter p(&result);
    p.drawImage(0, 0, image);
    p.end();
    return result;
}

// The runs of one mask row that stay, as [first, after) column pairs.
std::vector<std::pair<int, int>> keptRuns(const QImage& mask, int y, QRgb cut)
{
    std::vector<std::pair<int, int>> runs;
    const QRgb* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    const int width = mask.width();
    int start = -1;
    for (int x = 0; x <= width; ++x) {
        const bool keep = x < width && (line[x] & 0xFFFFFF) != (cut & 0xFFFFFF);
        if (keep && start < 0) start = x;
        if (!keep && start >= 0) {
            runs.emplace_back(start, x);
            start = -1;
        }
    }
    return runs;
}

QColor randomColour(QRandomGenerator& random, int limit)
{
    const int r = random.bounded(limit);
    const int g = random.bounded(limit);
    const int b = random.bounded(limit);
    return QColor(r, g, b);
}

void drawCoverShapes(QImage& pic, QRandomGenerator& random)
{
    QPainter p(&pic);
    for (int i = 0; i < kCoverShapes; ++i) {
        const int left = random.bounded(300) - random.bounded(100);
        const int right = random.bounded(300);
        const int top = random.bounded(300) - random.bounded(100);
        const int bottom = random.bounded(300);
        const QColor colour = randomColour(random, 250);
        const int penWidth = random.bounded(4);
        const bool hollow = random.bounded(4) % 2 == 1;
        const bool rectangle = random.bounded(2) % 2 == 1;
        p.setPen(QPen(colour, penWidth));
        p.setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(colour));
        const QRect box = QRect(QPoint(left, top), QPoint(right, bottom)).normalized();
        if (rectangle)
            p.drawRect(box);
        else
            p.drawEllipse(box);
    }
}

void drawCoverTitles(QImage& pic, const QString& title, QRandomGenerator& random)
{
    const QString text = title.toUpper();
    QPainter p(&pic);
    for (int i = 0; i < kCoverTitles; ++i) {
        const QColor colour = randomColour(random, 255);
        const int size = random.bounded(10);
        const int x = random.bounded(300) - random.bounded(100);
        const int y = random.bounded(300);
        QFont font(QStringLiteral("Garamond"));
        if (size > 0) font.setPointSize(size); // 0 keeps the font's default height
        p.setFont(font);
        p.setPen(colour);
        p.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text);
    }
}

// One step of the softening: `n` moves towards the centre value `c` when it differs.
void soften(uchar* n, const uchar* c, double weight)
{
    if (n[0] == c[0] && n[1] == c[1] && n[2] == c[2]) return;
    for (int k = 0; k < 3; ++k)
        n[k] = uchar(std::clamp(std::nearbyint(c[k] + (n[k] - c[k]) * weight), 0.0, 255.0));
}

} // namespace

int32_t loadbitmap(QImage& target, const QString& rc)
{
    try {
        QImage picture;
        loadbitmapresource(nullptr, rc, picture);
        target = picture;
        return 0;
    } catch (const ResourceNotFound&) {
        return -1;
    }
}

void alphablendbitmapwithcolor(const QImage& blend, int32_t blendcolor, QImage& source, double alpha)
{
    if (library::SLOWPROCESSOR) return;
    source = resized(source, blend.size());
    addcolortobitmap(source, blendcolor, alpha);
}

QRegion maskRegion(const QImage& mask, QRgb cut)
{
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    // Rows with the same runs make one band of taller rectangles.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band;
    size_t bandStart = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        auto runs = keptRuns(pixels, y, cut);
        if (y > 0 && runs == band) {
            for (size_t i = bandStart; i < rects.size(); ++i)
                rects[i].setHeight(rects[i].height() + 1);
            continue;
        }
        bandStart = rects.size();
        for (const auto& [first, after] : runs)
            rects.emplace_back(first, y, after - first, 1);
        band = std::move(runs);
    }
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), int(rects.size()));
    return region;
}

void CutOutWindowFromMask(QWidget* window, const QImage& mask)
{
    if (!window || mask.width() == 0) return;
    const QRegion region = maskRegion(mask);
    // An empty mask would mean "no shape" and show the whole window: keep one pixel outside it instead.
    window->setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

void moveformtomonitor(QWidget* f)
{
    QVector<QRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.append(screen->geometry());
    moveformtomonitor(f, monitors);
}

void moveformtomonitor(QWidget* f, const QVector<QRect>& monitors)
{
    const int32_t monitor = library::config.monitor;
    if (!f || monitor <= 0 || monitor >= monitors.size()) return;
    const QRect bounds = monitors[monitor];
    const int width = f->frameGeometry().width();
    f->move(bounds.left() + (bounds.width() / 2 - width / 2), f->frameGeometry().top());
}

void generatecover(QImage& pic, const QString& title)
{
    static QRandomGenerator random{static_cast<quint32>(QDateTime::currentMSecsSinceEpoch())};
    generatecover(pic, title, random);
}

void generatecover(QImage& pic, const QString& title, QRandomGenerator& random)
{
    pic = resized(pic, QSize(kCoverSize, kCoverSize)).convertToFormat(QImage::Format_RGB32);
    drawCoverShapes(pic, random);
    const int green = random.bounded(128);
    const int blue = random.bounded(255);
    const int32_t tint = 128 | (green << 8) | (blue << 16);
    alphablendbitmapwithcolor(pic, tint, pic, kCoverTintAlpha);
    drawCoverTitles(pic, title, random);
}

void Antialiasing(QImage& Image, int32_t Percent)
{
    Antialiasing(Image, Percent, platform::screens().geometry(nullptr).width());
}

void Antialiasing(QImage& Image, int32_t Percent, int screenWidth)
{
    // Percent -50 would divide by zero; below it the weight turns negative.
    if (library::SLOWPROCESSOR || screenWidth == kUnsoftenedScreenWidth || Percent <= -50 || Image.isNull())
        return;
    const double weight = 50.0 / (Percent + 50);
    if (Image.format() != QImage::Format_RGB888) Image = Image.convertToFormat(QImage::Format_RGB888);
    const int w = Image.width(), h = Image.height();
    const auto pixel = [&Image](int x, int y) { return Image.scanLine(y) + 3 * x; };
    for (int y = 0; y < h; ++y) {
        for (int x = 1; x < w; ++x) {
            const uchar* at = pixel(x, y);
            const uchar c[3] = {at[0], at[1], at[2]};
            soften(pixel(x - 1, y), c, weight);
            soften(pixel(x + 1 < w ? x + 1 : 0, y), c, weight);
            soften(pixel(x, y > 0 ? y - 1 : h - 1), c, weight);
            soften(pixel(x, y + 1 < h ? y + 1 : 0), c, weight);
        }
    }
}

} // namespace skins

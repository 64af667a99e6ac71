#include "jukebox/pagefaces.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "controls/drawing.h"
#include "jukebox/jukeboxform.h"
#include "skins/imaging.h"
#include "skins/loadjpegorbmp.h"

namespace jukebox {

namespace {
// The album strip at the bottom of a cover.
constexpr int kStripShare = 8; // an eighth of the cover's height
constexpr int32_t kStripGrey = 0x808080;
constexpr double kStripAlpha = 0.4;
constexpr int kNumberFontSize = 10;
constexpr int kNumberLeft = 10;
constexpr int kNumberTop = 4;
constexpr int kRingMarginX = 4;
constexpr int kRingMarginY = 2;
constexpr int kNamesGap = 25;
constexpr int kNamesRaise = 2;
constexpr int kNamesFontSize = 7;
constexpr int kNamesOutline = 3;

// The album number "%.4d" in a white-ringed black oval; returns the text's width.
int paintAlbumNumber(QPainter& painter, int number, int top)
{
    const QFont font = controls::panelFont(aspy(kNumberFontSize));
    const QString text = QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0'));
    const QFontMetrics metrics(font, painter.device());
    const QRect area(aspx(kNumberLeft), top, metrics.horizontalAdvance(text), metrics.height());
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawEllipse(
        area.adjusted(-aspx(kRingMarginX), -aspy(kRingMarginY), aspx(kRingMarginX), aspy(kRingMarginY)));
    painter.setFont(font);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, text);
    return area.width();
}

// Artist (capitals, bold) and album name in two lines from `left`, `top`: first as outlines stroked
// with a 3-pixel black pen and filled white, then as white text over them, so the small names keep
// a dark edge and read on any cover.
void paintAlbumNames(QPainter& painter, int left, int top, const QString& artist, const QString& name)
{
    const QFont artistFont = controls::panelFont(aspy(kNamesFontSize), true);
    const QFont nameFont = controls::panelFont(aspy(kNamesFontSize));
    const QFontMetrics artistMetrics(artistFont, painter.device());
    const QFontMetrics nameMetrics(nameFont, painter.device());
    // One text line lower: the height a line of "LL" takes.
    const int lineHeight = artistMetrics.size(Qt::TextSingleLine, QStringLiteral("LL")).height();
    const QString upper = artist.toUpper();
    QPainterPath outline;
    outline.addText(left, top + artistMetrics.ascent(), artistFont, upper);
    outline.addText(left, top + lineHeight + nameMetrics.ascent(), nameFont, name);
    painter.setPen(QPen(Qt::black, kNamesOutline));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);
    painter.setPen(Qt::white);
    painter.setFont(artistFont);
    painter.drawText(QPoint(left, top + artistMetrics.ascent()), upper);
    painter.setFont(nameFont);
    painter.drawText(QPoint(left, top + lineHeight + nameMetrics.ascent()), name);
}

void paintAlbumStrip(QImage& lab, int number, const QString& artist, const QString& name)
{
    const int height = lab.height() / kStripShare;
    if (height <= 0 || lab.width() <= 0) return;
    const QRect place(0, lab.height() - height, lab.width(), height);
    QImage strip = lab.copy(place).convertToFormat(QImage::Format_RGB888);
    skins::alphablendbitmapwithcolor(strip, kStripGrey, strip, kStripAlpha);
    {
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const int top = aspy(aspx(kNumberTop));
        const int numberWidth = paintAlbumNumber(painter, number, top);
        paintAlbumNames(painter, numberWidth + aspx(kNamesGap) + aspx(kRingMarginX), top - aspy(kNamesRaise),
                        artist, name);
    }
    QPainter painter(&lab);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(place.topLeft(), strip);
}
} // namespace

void paintAlbumFace(QImage& lab, int number, const QString& artist, const QString& name)
{
    paintAlbumStrip(lab, number, artist, name);
    if (lab.isNull()) return;
    QPainter painter(&lab);
    painter.setPen(Qt::black);
    painter.drawLine(0, 0, 0, lab.height() - 1);
}

QImage stretchedCover(const QString& folder, const QSize& size)
{
    // In the screen's own format, so the cover control shows this picture without a copy of it.
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QImage cover;
    skins::loadjpegbmp(folder, cover, size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(picture.rect(), cover);
    return picture;
}

QImage paintCoverFace(const FaceSource& source)
{
    if (source.size.isEmpty()) return QImage();
    QImage picture = stretchedCover(source.folder, source.size);
    paintAlbumFace(picture, source.album, source.artist, source.name);
    return picture;
}

void PreparedFaces::prepare(QVector<FaceSource> sources, int workers)
{
    if (sources == sources_) return;
    clear();
    sources_ = std::move(sources);
    workers_ = std::clamp<int>(workers, 1, std::max<int>(1, int(sources_.size())));
    // Worker w makes the pictures w, w + workers, w + 2 workers, ...
    for (int w = 0; w < workers_; ++w) {
        QVector<FaceSource> share;
        for (qsizetype i = w; i < sources_.size(); i += workers_)
            share.append(sources_.at(i));
        work_.push_back(std::async(std::launch::async, [share = std::move(share)] {
                            QVector<QImage> pictures;
                            for (const FaceSource& source : share)
                                pictures.append(paintCoverFace(source));
                            return pictures;
                        }).share());
    }
}

QImage PreparedFaces::take(const FaceSource& source)
{
    const qsizetype index = sources_.indexOf(source);
    if (index < 0) return QImage();
    return work_.at(size_t(index % workers_)).get().at(index / workers_);
}

void PreparedFaces::clear()
{
    for (const std::shared_future<QVector<QImage>>& pictures : work_)
        pictures.wait();
    work_.clear();
    sources_.clear();
}

} // namespace jukebox

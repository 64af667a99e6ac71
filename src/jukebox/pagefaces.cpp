#include "jukebox/pagefaces.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QMetaObject>
#include <algorithm>
#include <mutex>

#include "controls/drawing.h"
#include "jukebox/jukeboxform.h"
#include "platform/threads.h"
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

QImage stripOnBlack(const FaceSource& source)
{
    QImage picture(source.size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture.fill(Qt::black);
    paintAlbumFace(picture, source.album, source.artist, source.name);
    return picture;
}

// One prepare's pictures as its workers and the window thread share them.
struct PreparedFaces::Batch
{
    QVector<FaceSource> sources;
    std::mutex guard;
    QVector<QImage> standIns; // null until painted
    QVector<QImage> pictures; // null until made
    QVector<bool> asked;      // taken before it was made: goes to `late`
    bool dropped = false;     // pictures not asked for are no longer made
};

PreparedFaces::~PreparedFaces()
{
    clear();
    abandonAsked();
    // Each worker ends after the picture it is making.
    for (std::future<void>& worker : workers_)
        worker.wait();
}

void PreparedFaces::abandonAsked()
{
    for (const std::shared_ptr<Batch>& batch : asked_) {
        const std::lock_guard lock(batch->guard);
        batch->asked.fill(false);
    }
    asked_.clear();
}

void PreparedFaces::prepare(QVector<FaceSource> sources, Drawing drawing)
{
    if (batch_ && sources == batch_->sources) return;
    clear();
    // The pictures of a new page supersede those earlier drawings still wait for.
    abandonAsked();
    platform::dropEnded(workers_);
    auto batch = std::make_shared<Batch>();
    batch->sources = std::move(sources);
    batch->standIns.resize(batch->sources.size());
    batch->pictures.resize(batch->sources.size());
    batch->asked.fill(false, batch->sources.size());
    batch_ = batch;
    if (drawing == Drawing::AfterASlide)
        workers_.push_back(platform::startBelowWindowThread([batch] { paintStandIns(batch); }));
    const int count = drawing == Drawing::AfterASlide     ? 1
                      : drawing == Drawing::BesideALayout ? 2
                                                          : std::max<int>(1, int(batch->sources.size()));
    for (int w = 0; w < count; ++w) {
        workers_.push_back(
            platform::startBelowWindowThread([batch, w, count, context = QPointer(context_), late = late_] {
                makeFaces(batch, w, count, context, late);
            }));
    }
}

void PreparedFaces::paintStandIns(const std::shared_ptr<Batch>& batch)
{
    for (qsizetype i = 0; i < batch->sources.size(); ++i) {
        {
            const std::lock_guard lock(batch->guard);
            // The page was drawn: a stand-in is no longer wanted.
            if (batch->dropped) return;
        }
        const QImage standIn = stripOnBlack(batch->sources.at(i));
        const std::lock_guard lock(batch->guard);
        batch->standIns[i] = standIn;
    }
}

void PreparedFaces::makeFaces(const std::shared_ptr<Batch>& batch, int w, int count,
                              const QPointer<QObject>& context, const Late& late)
{
    for (qsizetype i = w; i < batch->sources.size(); i += count) {
        {
            const std::lock_guard lock(batch->guard);
            if (batch->dropped && !batch->asked.at(i)) continue;
        }
        // A picture dropped while it waits for its turn at a huge cover is given up.
        skins::setLoadCancelled([&batch, i] {
            const std::lock_guard held(batch->guard);
            return batch->dropped && !batch->asked.at(i);
        });
        const QImage picture = paintCoverFace(batch->sources.at(i));
        skins::setLoadCancelled(nullptr);
        const std::lock_guard lock(batch->guard);
        batch->pictures[i] = picture;
        if (!batch->asked.at(i) || !context) continue;
        QMetaObject::invokeMethod(context, [batch, i, late] {
            QImage made;
            {
                const std::lock_guard held(batch->guard);
                if (!batch->asked.at(i)) return;
                batch->asked[i] = false;
                made = batch->pictures.at(i);
            }
            late(batch->sources.at(i), made);
        });
    }
}

QImage PreparedFaces::take(const FaceSource& source)
{
    if (!batch_) return QImage();
    const qsizetype index = batch_->sources.indexOf(source);
    if (index < 0) return QImage();
    const std::lock_guard lock(batch_->guard);
    if (!batch_->pictures.at(index).isNull()) return batch_->pictures.at(index);
    batch_->asked[index] = true;
    return batch_->standIns.at(index);
}

bool PreparedFaces::pending() const
{
    std::vector<std::shared_ptr<Batch>> batches = asked_;
    if (batch_) batches.push_back(batch_);
    return std::any_of(batches.cbegin(), batches.cend(), [](const std::shared_ptr<Batch>& batch) {
        const std::lock_guard lock(batch->guard);
        return batch->asked.contains(true);
    });
}

void PreparedFaces::clear()
{
    std::erase_if(asked_, [](const std::shared_ptr<Batch>& batch) {
        const std::lock_guard lock(batch->guard);
        return !batch->asked.contains(true);
    });
    if (!batch_) return;
    {
        const std::lock_guard lock(batch_->guard);
        batch_->dropped = true;
        if (batch_->asked.contains(true)) asked_.push_back(batch_);
    }
    batch_.reset();
}

} // namespace jukebox

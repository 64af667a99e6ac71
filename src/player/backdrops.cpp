#include "player/backdrops.h"

#include <QPainter>
#include <utility>

#include "library/skintypes.h"
#include "platform/screens.h"
#include "skins/resourceskins.h"

namespace player {

namespace {
// A picture of the screen's size with `picture` stretched over all of it, 24 bits per pixel (it
// is opaque, and the operator panels only copy pieces of it). The picture is let go once drawn and
// the screen-sized one is narrowed in place, so no two large copies are held at the same time.
QImage stretchedToScreen(QImage picture)
{
    const QSize size = platform::screens().geometry(nullptr).size();
    QImage screen(size, QImage::Format_RGB32);
    screen.fill(Qt::black);
    if (!picture.isNull()) {
        QPainter painter(&screen);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size), picture);
    }
    picture = QImage();
    return std::move(screen).convertToFormat(QImage::Format_RGB888);
}
} // namespace

void makeAdminBackdrop()
{
    // Only stretched, so the decoded picture is not kept among the skin's pictures.
    if (bg.isNull())
        bg = stretchedToScreen(skins::uncachedSkinPictureOrNull(
            QStringLiteral("ADMINBACKDROP"), library::tskin{QString(), library::clNone}, true));
}

void dropAdminBackdrop()
{
    bg = QImage();
}

} // namespace player

#pragma once

// Interim stand-ins for the picture services of the skins layer, until that layer lands.

#include <QColor>
#include <QImage>
#include <QRegion>
#include <cstdint>

#include "library/skintypes.h"

namespace controls {

QImage programBitmap(const QString& name);
void blendTowards(QImage& picture, int32_t colour, double alpha);
QRegion regionWithout(const QImage& mask, QRgb colour);
QImage skinPicture(const QString& name, const library::tskin& skin);

} // namespace controls

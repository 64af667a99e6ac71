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
QColor toQColor(int32_t colour);
QRegion regionWithout(const QImage& mask, QRgb colour);
QImage skinPicture(const QString& name, const library::tskin& skin);

constexpr int32_t clWindow = static_cast<int32_t>(0xFF000005u);
constexpr int32_t clBtnShadow = static_cast<int32_t>(0xFF000010u);

} // namespace controls

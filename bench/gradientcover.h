#pragma once

// The cover picture of album `n` in the benchmarks' generated libraries: a square of `side` pixels
// shaded diagonally between two colours of its own.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

inline QImage gradientCover(int n, int side)
{
    QImage cover(side, side, QImage::Format_RGB32);
    QPainter painter(&cover);
    QLinearGradient shade(0, 0, side, side);
    shade.setColorAt(0, QColor::fromHsv(n * 40 % 360, 200, 230));
    shade.setColorAt(1, QColor::fromHsv((n * 40 + 120) % 360, 220, 90));
    painter.fillRect(cover.rect(), shade);
    return cover;
}

#pragma once

// The skin and theme records: which skin file and tint each screen element uses.
// Plain values, copied freely; the active theme is the `theme` field of the settings.

#include <QString>
#include <QVector>
#include <cstdint>

namespace library {

// Tint value meaning "no tint" (as 0 does).
constexpr int32_t clNone = 0x1FFFFFFF;

struct tskin
{
    QString Skin;      // skin file base name without ".SKN"; empty = the program's own pictures
    int32_t Color = 0; // tint colour ($00BBGGRR); 0 and clNone mean no tint
    bool operator==(const tskin&) const = default;
};

struct ttheme
{
    tskin sbut;
    tskin skeypad;
    tskin slcorner;
    tskin srcorner;
    tskin sblcorner;
    tskin sbrcorner;
    tskin salphabuttons;
    tskin swidebut;
    tskin sbackground;
    int32_t alphaorientation = 0; // 0 left, 1 top, 2 bottom, 3 invisible
    QString name;
    bool operator==(const ttheme&) const = default;
};

using TThemeSubset = QVector<ttheme>;

} // namespace library

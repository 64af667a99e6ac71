#pragma once

// Colour values as the settings and skin files store them: 32-bit TColor values with red in
// the low byte, then green, then blue ($00BBGGRR). Negative values name system colours; they
// resolve through one fixed table (the classic "Windows Standard" scheme), so a picture comes out
// the same on every machine. Plain functions, any thread.

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace skins {

// System colours: the flag $FF000000 plus the system colour index.
constexpr int32_t clSystemColor = int32_t(0xFF000000u);
constexpr int32_t clScrollBar = clSystemColor | 0;
constexpr int32_t clBackground = clSystemColor | 1;
constexpr int32_t clActiveCaption = clSystemColor | 2;
constexpr int32_t clInactiveCaption = clSystemColor | 3;
constexpr int32_t clMenu = clSystemColor | 4;
constexpr int32_t clWindow = clSystemColor | 5;
constexpr int32_t clWindowFrame = clSystemColor | 6;
constexpr int32_t clMenuText = clSystemColor | 7;
constexpr int32_t clWindowText = clSystemColor | 8;
constexpr int32_t clCaptionText = clSystemColor | 9;
constexpr int32_t clActiveBorder = clSystemColor | 10;
constexpr int32_t clInactiveBorder = clSystemColor | 11;
constexpr int32_t clAppWorkSpace = clSystemColor | 12;
constexpr int32_t clHighlight = clSystemColor | 13;
constexpr int32_t clHighlightText = clSystemColor | 14;
constexpr int32_t clBtnFace = clSystemColor | 15;
constexpr int32_t clBtnShadow = clSystemColor | 16;
constexpr int32_t clGrayText = clSystemColor | 17;
constexpr int32_t clBtnText = clSystemColor | 18;
constexpr int32_t clInactiveCaptionText = clSystemColor | 19;
constexpr int32_t clBtnHighlight = clSystemColor | 20;
constexpr int32_t cl3DDkShadow = clSystemColor | 21;
constexpr int32_t cl3DLight = clSystemColor | 22;
constexpr int32_t clInfoText = clSystemColor | 23;
constexpr int32_t clInfoBk = clSystemColor | 24;

// `color` with system colours resolved: a plain $00BBGGRR value. Unknown system colour
// indexes give black, as the system does. Non-negative values keep their low three bytes.
int32_t ColorToRGB(int32_t color);

// The pixel value of `color` (system colours resolved), fully opaque.
QRgb tcolorToRgb(int32_t color);
QColor tcolorToQColor(int32_t color);

// The TColor value of a pixel (alpha ignored).
int32_t rgbToTColor(QRgb rgb);

} // namespace skins

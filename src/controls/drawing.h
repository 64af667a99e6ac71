#pragma once

// Small drawing helpers shared by the owner-drawn controls.

#include <QRgb>

class QColor;
class QFont;
class QImage;
class QPainter;
class QRect;
class QString;
class QWidget;

namespace controls {

// A copy of `picture` in which every pixel of exactly the colour `key` is transparent.
QImage keyedOut(const QImage& picture, QRgb key);
// Draws `picture` stretched into `target`; pixels of the colour `key` leave the background visible.
void drawKeyed(QPainter& painter, const QRect& target, const QImage& picture, QRgb key);
// The rectangle `place` (inside `picture`) as a picture of its own that shares the pixels of
// `picture` and keeps them alive; drawing on it makes a copy first.
QImage sharedPiece(const QImage& picture, const QRect& place);

// Text measures in `font` as `widget` shows them (the height is that of a line of the font).
int textWidth(const QWidget& widget, const QFont& font, const QString& text);
int textHeight(const QWidget& widget, const QFont& font);
// Draws `text` in the painter's font and pen with its top-left corner at (x, y), no background.
void textOut(QPainter& painter, int x, int y, const QString& text);

// The jukebox's panel face "Garamond" at its default size, or at `points` points (at least 1).
QFont panelFont();
QFont panelFont(int points, bool bold = false);

// One of the program's own pictures by name, decoded once; a null picture when there is none.
// GUI thread only.
QImage programPicture(const QString& name);

// The colour of a control's text: its palette's window text.
QColor fontColor(const QWidget& widget);

// Where a captioned button's picture goes: from (2, 2) to (picture width + 2, picture height).
QRect pictureRect(const QImage& picture);

} // namespace controls

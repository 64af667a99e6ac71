#pragma once

// The frame every dialog of the extraction road shares: the scaling of the 800 x 600 design to the
// screen, the placement of a dialog over the extraction window just below its title strip, and the
// painting of the extraction window's backdrop behind a dialog, so the dialog seems transparent.
// The extraction window provides its title strip as the QLabel child named "toptitle" and its
// backdrop as the child named "bg". GUI thread only.

#include <QString>
#include <cstdint>

class QWidget;

namespace ripper {

// Screen width / 800 and screen height / 600, worked out once by the extraction window.
inline double aspectx = 1.0;
inline double aspecty = 1.0;

// A horizontal (vertical) length of the design in screen pixels, rounded half to even.
int32_t aspx(int32_t x);
int32_t aspy(int32_t y);

// Places `form` over the extraction window below its title strip and shows `caption` in that strip.
// The form reaches the bottom of the extraction window, or only two thirds of its height when
// `musoskneeded` (the lowest third is left to the on-screen keyboard). Nothing happens while the
// extraction window does not exist.
void sizeform(QWidget* form, const QString& caption, bool musoskneeded);

// Paints the part of the extraction window's backdrop that lies beneath `form` onto `form`; black
// when there is no backdrop. Called from the paint handler of every dialog of the road.
void dobg(QWidget* form);

// The dialogs' texts: amber panel text, grey list and entry text ($00BBGGRR).
constexpr int32_t kDialogTextColour = 0x00C6F7;
constexpr int32_t kListTextColour = 0x808080;

// Gives `widget` the font `points` and the text colour `colour`.
void setDialogText(QWidget* widget, int points, int32_t colour);

} // namespace ripper

#pragma once

// The on-screen keyboard: a separate program, "musosk.exe", started with its size and layout
// on the command line and closed by the message "close" on its mailslot "KVOSK1" of this
// display, so a jukebox on another display of the machine never closes this one's keyboard.
// GUI thread only.

#include <QString>

namespace library {

// The keyboard's mailslot on this display.
QString oskMailslotName();

// True after the keyboard was started, false after it was told to close.
inline bool keyboardshowing = false;

// The keyboard's command line for a screen `screenheight` pixels high: it takes a quarter of the
// screen's height; `alpha` asks for the letter layout.
QString oskCommandLine(int screenheight, bool alpha);

// Starts the keyboard (show), in the letter layout when `alpha`, or tells it to close.
void osk(bool show, bool alpha);

// Closes the keyboard when it shows; nothing otherwise.
void hideosk();

// Sends `s` with a terminating zero byte to the keyboard's mailslot; nothing happens when the
// keyboard is not running.
void writeoskmailslot(const QString& s);

} // namespace library

#pragma once

// Key strokes sent to whatever window has the keyboard focus, as if typed on a keyboard (the
// on-screen keyboard program's output). On X11 through the XTest extension, on a connection of
// its own opened at the first use. Any one thread.

#include <QChar>

namespace platform {

// True when key strokes can be sent: an X server with the XTest extension answers.
[[nodiscard]] bool keystrokesAvailable();

// Presses and releases the key of `key`: a letter (sent in lower case), a digit, a blank,
// '\b' for Backspace or '\r' for Enter. False for any other character or without an X server.
bool sendKeystroke(QChar key);

} // namespace platform

#pragma once

// Keeping a guest at one full-screen window of the program under a window manager: the window
// shows on every desktop in front of other windows, and it holds the keyboard so the window
// manager's shortcuts (desktop switching, window cycling, menus) never fire. The real seam
// works on the program's own connection to the X server, where its windows live; on another
// platform (the tests' offscreen one) it does nothing. GUI thread only; the seam object is owned
// by whoever installs it.

#include "platform/toplevelwindows.h"

namespace platform {

class KioskWindow
{
public:
    virtual ~KioskWindow() = default;

    // While `on`, the shown `window` stays on every desktop; otherwise it goes back to the current one.
    virtual void showOnEveryDesktop(WindowId window, bool on) = 0;
    // While `on`, the shown `window` stays above ordinary windows, even the program's own dialogs.
    virtual void keepAbove(WindowId window, bool on) = 0;
    // Holds the keyboard for `window` until released: key presses meant for any window of the
    // program (its dialogs, or typed by the on-screen keyboard) still reach it, all others come to
    // `window`. A hold that another grab interrupted (a popup menu's) is taken back when it ends.
    virtual void holdKeyboard(WindowId window) = 0;
    // Gives the keyboard back to the window manager; nothing when it is not held.
    virtual void releaseKeyboard() = 0;
};

// The seam in force: the real one unless a test installed another.
KioskWindow& kioskWindow();
// Installs another seam (not owned); nullptr restores the real one.
void setKioskWindow(KioskWindow* replacement);

} // namespace platform

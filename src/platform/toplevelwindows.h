#pragma once

// Other programs' top-level windows, as the window manager lists them: their titles, and bringing
// one back from the minimised state to the front. The real seam asks the X server through the
// window manager's standard properties; without an X server or a window manager that keeps the
// list, the list is empty. Tests install a fake. GUI thread only; the seam object is owned by
// whoever installs it.

#include <QString>
#include <QVector>
#include <QtGlobal>

namespace platform {

// A top-level window; 0 stands for none.
using WindowId = quint64;

class TopLevelWindows
{
public:
    virtual ~TopLevelWindows() = default;

    // The managed top-level windows, in the window manager's order.
    [[nodiscard]] virtual QVector<WindowId> list() = 0;
    // The window's title; empty when it has none or is gone.
    [[nodiscard]] virtual QString title(WindowId window) = 0;
    // True while the window is still one of the managed windows.
    [[nodiscard]] virtual bool exists(WindowId window) = 0;
    // Restores the window from the minimised state and brings it to the front.
    virtual void restore(WindowId window) = 0;
};

// The first managed window of a process of this user that runs a program file from `folder`; 0
// when there is none (or no X server).
WindowId windowOfProgramIn(const QString& folder);

// The seam in force: the real one unless a test installed another.
TopLevelWindows& topLevelWindows();
// Installs another seam (not owned); nullptr restores the real one.
void setTopLevelWindows(TopLevelWindows* replacement);

} // namespace platform

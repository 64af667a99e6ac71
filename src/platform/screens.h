#pragma once

// Where the screens are. The full-screen windows size and scale themselves by the screen they stand
// on; tests install a fixed geometry instead of the platform's, so layouts can be checked at any
// screen size on any machine. GUI thread only.

#include <QRect>

class QWidget;

namespace platform {

class Screens
{
public:
    virtual ~Screens() = default;
    // The bounds of the screen `window` stands on (the primary screen when it stands on none).
    virtual QRect geometry(const QWidget* window) const = 0;
};

// The screens in force: the platform's unless a test installed others.
Screens& screens();
// Installs other screens (not owned); nullptr restores the platform's.
void setScreens(Screens* replacement);

} // namespace platform

#include "platform/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/seam.h"

namespace platform {

namespace {

class QtScreens final : public Screens
{
public:
    QRect geometry(const QWidget* window) const override
    {
        const QScreen* screen = window ? window->screen() : nullptr;
        if (!screen) screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry() : QRect(0, 0, 800, 600);
    }
};

} // namespace

Screens& screens()
{
    return Seam<Screens, QtScreens>::get();
}

void setScreens(Screens* replacement)
{
    Seam<Screens, QtScreens>::set(replacement);
}

} // namespace platform

#include "platform/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

Screens* installed = nullptr;

} // namespace

Screens& screens()
{
    if (installed) return *installed;
    static QtScreens platformScreens;
    return platformScreens;
}

void setScreens(Screens* replacement)
{
    installed = replacement;
}

} // namespace platform

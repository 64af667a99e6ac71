#include "player/aboutform.h"

#include <QCoreApplication>

namespace player {

Tabout::Tabout(QWidget* parent) : QWidget(parent) {}

Tabout::~Tabout() = default;

void showabout(int mode)
{
    (void)mode;
}

void initmessage(const QString& mes, const QString& artist, const QString& album)
{
    (void)mes;
    (void)artist;
    (void)album;
    QCoreApplication::processEvents();
}

} // namespace player

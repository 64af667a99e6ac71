#include "player/aboutform.h"

#include <QCoreApplication>

namespace player {

Tabout::Tabout(QWidget* parent) : QWidget(parent) {}

Tabout::~Tabout() = default;

void showabout(int) {}

void initmessage(const QString&, const QString&, const QString&)
{
    QCoreApplication::processEvents();
}

} // namespace player

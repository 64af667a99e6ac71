#include "player/volumedisplay.h"

namespace player {

Tvolumedisplay::Tvolumedisplay(QWidget* parent) : QWidget(parent) {}

Tvolumedisplay::~Tvolumedisplay() = default;

} // namespace player

#include "player/volumedisplay.h"

namespace player {

Tvolumedisplay::Tvolumedisplay(QWidget* parent) : QWidget(parent) {}

Tvolumedisplay::~Tvolumedisplay() = default;

void Tvolumedisplay::draw(uint8_t) {}

} // namespace player

#include "player/video.h"

namespace player {

Tvideo::Tvideo(QWidget* parent) : QWidget(parent) {}

Tvideo::~Tvideo() = default;

void videoshow() {}

} // namespace player

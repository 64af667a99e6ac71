#include "player/video.h"

namespace player {

Tvideo::Tvideo(QWidget* parent) : QWidget(parent) {}

Tvideo::~Tvideo() = default;

} // namespace player

#include "player/randomfromalbums.h"

namespace player {

Trnd_dialog::Trnd_dialog(QWidget* parent) : QDialog(parent) {}

Trnd_dialog::~Trnd_dialog() = default;

} // namespace player

#include "ripper/musripmain.h"

namespace ripper {

Tripmain::Tripmain(QWidget* parent) : QWidget(parent) {}

Tripmain::~Tripmain() = default;

} // namespace ripper

#include "jukebox/coverform.h"

namespace jukebox {

Tcoverform::Tcoverform(QWidget* parent) : QWidget(parent) {}

Tcoverform::~Tcoverform() = default;

void Tcoverform::covershow(const QString&) {}

} // namespace jukebox

#include "ripper/artworkform.h"

#include "ripper/verifyform.h"

namespace ripper {

Tartwork::Tartwork(QWidget* parent) : QDialog(parent) {}

// The choice is not built yet: no cover is chosen and the road goes back.
int32_t doartwork(int32_t m)
{
    mode = m;
    return 2;
}

} // namespace ripper

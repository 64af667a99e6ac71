#pragma once

// The manual artist and album entry of the CD road, with the on-screen keyboard below it.
// GUI thread only.

#include <QString>
#include <cstdint>

namespace ripper {

// 1 when the user accepted the entered names (both arguments replaced), 2 when the user went
// back (both keep their values).
int32_t getuseralbumtitle(QString& album, QString& artist);

} // namespace ripper

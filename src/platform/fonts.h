#pragma once

// Fonts the program draws with under the face names its screens use. A TrueType file built into the
// program is loaded for this process only, and the face name given to it is mapped to the family the
// file really carries, so QFont(face) finds it. GUI thread only.

#include <future>

class QString;

namespace platform {

// Starts reading the system's font list on a worker thread, so the first text the window thread
// measures finds it read instead of reading it then. Done (or waited for) before the application goes.
[[nodiscard]] std::future<void> startReadingSystemFonts();

// True when `face` names a font this process can draw with: loaded by installFontResource, or
// installed on the system under that family name.
bool fontKnown(const QString& face);

// Loads the TrueType data of `resource` (a Qt resource path such as ":/FONT") into the font table of
// this process and makes `face` draw with it. False when the data cannot be loaded.
[[nodiscard]] bool installFontResource(const QString& resource, const QString& face);

// The family that draws `face`: the family loaded for it, else `face` itself.
QString fontFamily(const QString& face);

} // namespace platform

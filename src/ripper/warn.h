#pragma once

// A plain framed warning with an optional link and an optional "Don't warn me of this again." box.
// GUI thread only.

#include <QString>

namespace ripper {

// Shows the warning; false when the user ticked "Don't warn me of this again.", else true. The
// link is shown only when `url` is given, the box only when `w`.
bool showwarning(const QString& caption, const QString& main, const QString& secondary,
                 const QString& urltext, const QString& url, bool w);

} // namespace ripper

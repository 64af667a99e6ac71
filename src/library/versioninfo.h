#pragma once

// The file version text shown in the About box. The program's version numbers are compiled in;
// other files carry no version this program can read.

#include <QString>

namespace library {

inline const QString kNoVersionInfo = QStringLiteral("No Version Info");

// major.minor.release + " Build: " + the build number in at least four digits, zero-filled.
QString versionText(int major, int minor, int release, int build);

// The version text of `FileNameVar`: the program's own version when it names the program's own
// file, else "No Version Info".
QString GetVersionInfo(const QString& FileNameVar);

} // namespace library

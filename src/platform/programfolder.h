#pragma once

// The folder of the running program, where the settings file lives. Tests point it elsewhere.

class QString;

namespace platform {

// The folder of the running executable (no trailing separator), unless a test set another one.
QString programFolder();

// Makes programFolder() answer `folder` (tests); an empty text restores the executable's folder.
void setProgramFolder(const QString& folder);

} // namespace platform

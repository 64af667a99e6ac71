#pragma once

// The folder of the running program, where the settings file lives, and the claim of one running
// jukebox on it. Tests point the folder elsewhere.

class QString;

namespace platform {

// The folder of the running executable (no trailing separator), unless a test set another one.
QString programFolder();

// Makes programFolder() answer `folder` (tests); an empty text restores the executable's folder.
void setProgramFolder(const QString& folder);

// Claims the program folder for this process until it ends, however it ends (the kernel drops the
// claim with the process, so none is left behind by a crash or a kill). False when another running
// process holds it: two jukeboxes of one folder would overwrite each other's settings and both
// write the play log. A folder that cannot be opened cannot be shared either and counts as claimed.
[[nodiscard]] bool claimProgramFolder();

} // namespace platform

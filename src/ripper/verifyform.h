#pragma once

// The track list editor: the titles of the shared track list, one row each, corrected one at a time
// over the on-screen keyboard. Serves the CD road (mode 0) and the album edit menu (mode 1).
// GUI thread only.

#include <cstdint>

namespace ripper {

// 1 while editing an album on disk, 0 while extracting a new CD; the cover choice reads it too.
inline int32_t mode = 0;

// Sets `mode` to `m` and edits the shared track titles; 1 for "Next", 2 for "Go Back".
int32_t doverify(int32_t m);

} // namespace ripper

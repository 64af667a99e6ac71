#pragma once

// The internet as the CD road and the album edit menu need it: whether the servers they use answer,
// and the dial-up program for machines that connect on demand. Each check runs off the window
// thread while the window stays alive. GUI thread only.

namespace ripper {

// True when the CD database server of the settings answers on its port.
bool cddbServerReachable();
// True when the cover-art service of the settings answers on its port.
bool coverServiceReachable();
// Runs the dial-up program and waits for its report; true once it reports "connected".
bool dialUp();

} // namespace ripper

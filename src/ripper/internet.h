#pragma once

// The internet as the CD road and the album edit menu need it: a reachability test, and the
// dial-up program for machines that connect on demand. GUI thread only.

namespace ripper {

// True when the internet answers.
bool internetReachable();
// Runs the dial-up program and waits for its report; true once it reports "connected".
bool dialUp();

} // namespace ripper

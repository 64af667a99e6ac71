#pragma once

// The cursor that controls show where a pointing hand is wanted. The program may replace it for the
// whole run (the kiosk start gives it an invisible cursor), so controls ask for it here rather than
// naming Qt::PointingHandCursor themselves. GUI thread only.

class QCursor;

namespace platform {

// The hand-point cursor in force: Qt's pointing hand unless replaced.
QCursor handPointCursor();
// Replaces the hand-point cursor for controls that ask for it from now on.
void setHandPointCursor(const QCursor& cursor);
// Back to Qt's pointing hand (test fixtures).
void resetHandPointCursor();

} // namespace platform

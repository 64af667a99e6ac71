#pragma once

// The program's command-line arguments, counted as the start-up switches count them: 0 is the
// program itself, 1 the first switch ("KIOSK", "/J"), 2 the second ("/S"), 3 the third ("/L").
// Tests install their own list. GUI thread only.

#include <QString>
#include <QStringList>

namespace platform {

// Argument `n`, or an empty text when the command line has fewer.
QString commandLineArgument(int n);
// Installs another command line (not owned) for every later question; nullptr restores the real one.
void setCommandLineArguments(const QStringList* replacement);

} // namespace platform

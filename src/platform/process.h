#pragma once

// Starting other programs. A command line is split into words (blanks separate, double quotes
// group) and the first word names the program; it never passes through a shell, so shell
// characters in the arguments are plain text. A name ending in ".exe" is also tried without it,
// and a bare name is looked up in the program's own folder before the folders of PATH.
// GUI thread only; the seam object is owned by whoever installs it.

#include <QtGlobal>

class QString;

namespace platform {

// The process id of a started program; 0 stands for none.
using ProgramId = qint64;

class Processes
{
public:
    virtual ~Processes() = default;

    // Starts the program of `commandline` with the current folder and environment and no open
    // files but the standard ones. Returns its id, 0 when it could not be started.
    [[nodiscard]] virtual ProgramId start(const QString& commandline) = 0;
    // True while the program `id` runs; false once it has ended or was never ours.
    [[nodiscard]] virtual bool running(ProgramId id) = 0;
};

// The processes seam in force: the real one unless a test installed another.
Processes& processes();
// Installs another seam (not owned); nullptr restores the real one.
void setProcesses(Processes* replacement);

} // namespace platform

#pragma once

// The files the program keeps up to date while it runs (the settings, the play log): a write that
// fails is told to the operator on the screen, not only in the error output, and stands until a
// write of that file succeeds, so that the messages of later actions cannot hide it. The
// composition root installs where the telling goes; until then, and in lower-level tests, it goes
// nowhere. GUI thread only.

#include <QStringList>
#include <functional>

class QString;

namespace library {

// Receives the operator's text for each failed write, and an empty text when a failure stops
// standing.
using WriteFailureReporter = std::function<void(const QString& text)>;

// Installs where failed writes are told; an empty function tells nobody.
void setWriteFailureReporter(WriteFailureReporter reporter);

// Notes that `file` could not be written and tells the operator `text`, which names it.
void reportWriteFailure(const QString& file, const QString& text);

// Notes that `file` was written: its failure, if one stood, no longer does.
void reportWriteSuccess(const QString& file);

// The texts of the failures that stand, in the order the files first failed.
QStringList standingWriteFailures();

// Forgets every failure that stands (a new run's state).
void clearWriteFailures();

} // namespace library

#pragma once

// The files the program keeps up to date while it runs (the settings, the play log): a write that
// fails is told to the operator on the screen, not only in the error output. The composition root
// installs where the telling goes; until then, and in lower-level tests, it goes nowhere.
// GUI thread only.

#include <functional>

class QString;

namespace library {

// Receives the operator's text for each failed write.
using WriteFailureReporter = std::function<void(const QString& text)>;

// Installs where failed writes are told; an empty function tells nobody.
void setWriteFailureReporter(WriteFailureReporter reporter);

// Tells the operator `text`, which names the file that could not be written.
void reportWriteFailure(const QString& text);

} // namespace library

#pragma once

// The operator's error log: the file the setting `errorlog` names, one dated line per error, for
// what the operator should hear of after the fact (a missing track, an album folder left out).
// GUI thread only.

class QString;

namespace library {

// Appends `text` to the error log named by the settings, when that file exists; never creates it.
// The file is emptied before a write once it is more than 80 blocks of 128 bytes long.
void writeerrorlog(const QString& text);

} // namespace library

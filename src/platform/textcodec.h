#pragma once

// Text files may come from the Windows program: they are read as UTF-8 when valid, else as
// Windows-1252, with CR LF, LF or CR line ends. We always write UTF-8 with LF.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// `bytes` as UTF-8 when they are valid UTF-8, else as Windows-1252.
QString decodeText(const QByteArray& bytes);

// The lines of `text`, split at CR LF, LF or CR; a final line end adds no empty line.
QStringList splitLines(const QString& text);

// `text` cut so that its UTF-8 form is at most `maxBytes` long, never inside a character.
QString cutToUtf8Bytes(const QString& text, int maxBytes);

} // namespace platform

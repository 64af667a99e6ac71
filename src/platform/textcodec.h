#pragma once

// Text files may come from the Windows program: they are read as UTF-8 when valid, else as
// Windows-1252, with CR LF, LF or CR line ends. We always write UTF-8 with LF.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace platform {

// `bytes` as UTF-8 when they are valid UTF-8, else as Windows-1252.
QString decodeText(QByteArrayView bytes);

// The lines of `text`, split at CR LF, LF or CR; a final line end adds no empty line.
QStringList splitLines(const QString& text);

// Where visitTextLines hands its lines: `take` gets each line in turn (its text lasts until the
// next call) and returns false to stop reading. `restart` (may be empty) is called when the file
// proves not to be UTF-8 part way through: every line taken so far no longer counts, and all come
// again from the first, read as Windows-1252.
struct LineVisitor
{
    std::function<bool(QStringView line)> take;
    std::function<void()> restart;
};

// The first `maxLines` lines of the text file `path`, read and split as above, each cut to
// `maxLineBytes` bytes (never inside a UTF-8 character), handed to `visitor` one at a time as
// they are read: only one line is held, whatever the file's size. Nothing past the last wanted
// line is read, the part of a longer line beyond the cut is skipped, not kept, and reading ends
// after `maxLines` x (`maxLineBytes` + 2) bytes, the most a file within the bounds holds: a huge
// or hostile file costs no more memory or time than the lines wanted. False, with no line handed
// on, when the file cannot be opened.
[[nodiscard]] bool visitTextLines(const QString& path, qsizetype maxLines, qsizetype maxLineBytes,
                                  const LineVisitor& visitor);

// A visitor that appends every line to `lines` (emptied again on a restart).
LineVisitor collectLines(QStringList& lines);

// The lines visitTextLines gives, all together. False, with `lines` unchanged, when the file
// cannot be opened.
[[nodiscard]] bool readTextLines(const QString& path, qsizetype maxLines, qsizetype maxLineBytes,
                                 QStringList& lines);

// `text` cut so that its UTF-8 form is at most `maxBytes` long, never inside a character.
QString cutToUtf8Bytes(const QString& text, int maxBytes);

} // namespace platform

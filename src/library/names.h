#pragma once

// Small text and file procedures shared by every subsystem: album folder names ("artist__album")
// and their parts, checks on names typed by the operator, and the size of an album on disk.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace library {

// l = the text before the first `ch` (its first character), r = everything after it;
// no `ch` in `s`: l = s and r is empty.
void split(const QString& s, const QString& ch, QString& l, QString& r);

// `a` without the characters \ / : * ? " > < |, cut to a folder name's 255 bytes.
QString stripbadchars(const QString& a);

// `s` without spaces and control characters (codes 0 to 32) at both ends.
QString trimcontrols(const QString& s);

// `s` without any control character.
QString stripcontrols(const QString& s);

// The title `s` as one line of a titles file: every line or paragraph separator and every other
// control character (TAB, CR, VT, FF, FS to US, U+0085 among them) becomes a space. Whatever a
// title comes from, a tag, a file name, the CD database or the editor, it passes through here,
// so that each title keeps its own line and the titles stay beside their tracks.
QString oneLineTitle(const QString& s);

// Artist and album made fit to name a new album folder "artist__album" that the scan reads back as
// the same two names: no control characters, none of \ / : * ? " > < |, no "__" inside and no "_"
// at either end (either would move the split), no leading "." (the scan skips hidden folders), and
// the whole folder name at most 255 bytes. Either may come back empty.
void cleanfoldernames(QString& artist, QString& album);

// False when `s` holds any of _ - + / \ : * ? " < > | or only blanks.
bool validname(const QString& s);

// Every byte of `p` except the zero bytes, as text.
QString stripnulls(const QByteArray& p);

// Splits the last component of the folder path `s` at its first "__" into artist and album and
// returns album + " - " + artist. A name without "__" is all artist.
QString extractalbumandaristfrompath(const QString& s, QString& artist, QString& album);

// The artist and album of the last component of the path `st`, split as above.
void extractalbumartist(const QString& st, QString& album, QString& artist);

// Device path of the first CD drive ("/dev/sr0"); empty when the machine has none.
QString getfirstcddriveletter();
// The first drive named by the "drive name:" line of /proc/sys/dev/cdrom/info text; empty when none.
QString firstCdDevice(const QString& cdromInfo);

// Adds the album's "*.mp3" files (unless `cancel`) and its info, titles and cover files to the
// counters and returns the sum of their sizes. The counters are only increased.
int64_t getalbumsize(const QString& pathtoalbum, int32_t& filecount, int32_t& mp3count, bool cancel);

} // namespace library

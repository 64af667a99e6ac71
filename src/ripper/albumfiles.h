#pragma once

// The files of an album folder as the cover choice, the album edit menu and the Add Track dialog
// change them: the track files ("track" + number + ".mp3" or ".mpg" in any case, in track-number
// order), "title.dat" and the cover "title.jpg", both written whole through a temporary file.
// GUI thread.

#include <QString>
#include <QStringList>

class QImage;

namespace ripper {

// The highest track number an album can hold ("track99").
constexpr int kMaxTrackNumber = 99;

// The number of a track file name, -1 for a name that is no track file.
int tracknumber(const QString& name);

// Names of the track files of `folder` ("track*.mp?" in any case), by track number.
QStringList trackfiles(const QString& folder);

// One above the highest track number in `folder`; 1 for an album without tracks.
int nexttracknumber(const QString& folder);

// Writes `titles`, each made one line, as the "title.dat" of `folder`, in the spelling the folder's
// file has. False on failure (the old file stays).
[[nodiscard]] bool writetitles(const QString& folder, const QStringList& titles);

// "Track" and the number right-aligned in two places: the title of a track nobody named.
QString defaulttitle(int number);

// `titles` grown with default titles up to `count` entries.
void padtitles(QStringList& titles, int count);

// The lines of the "title.dat" of `folder`, none when there is no such file. False when one
// stands there that cannot be read (a folder, a FIFO).
[[nodiscard]] bool readtitles(const QString& folder, QStringList& titles);

// Makes `title` line `number` of the "title.dat" of `folder` (made when missing), so it stands
// beside its track; missing lines before it get default titles.
[[nodiscard]] bool settitleline(const QString& folder, int number, const QString& title);

// Saves `picture` as the JPEG cover "title.jpg" of `folder` (24-bit, the compressor's default
// quality). False on failure (the old cover stays).
[[nodiscard]] bool writecover(const QString& folder, const QImage& picture);

// The same, saying so with the skinned question ("Filing Error") when it fails.
bool savecover(const QString& folder, const QImage& picture);

// The full name of the cover file of `folder`.
QString coverfile(const QString& folder);

} // namespace ripper

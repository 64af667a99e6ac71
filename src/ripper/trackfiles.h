#pragma once

// The track files of an album folder and its titles file, as the album edit menu and the Add Track
// dialog change them: "track" + number + ".mp3" or ".mpg" in any case, in track-number order, and
// "title.dat" rewritten whole through a temporary file. GUI thread.

#include <QString>
#include <QStringList>

namespace ripper {

// The highest track number an album can hold ("track99").
constexpr int kMaxTrackNumber = 99;

// Names of the track files of `folder` ("track*.mp?" in any case), by track number.
QStringList trackfiles(const QString& folder);

// One above the highest track number in `folder`; 1 for an album without tracks.
int nexttracknumber(const QString& folder);

// Writes `titles`, one a line, as the "title.dat" of `folder`. False on failure (the old file stays).
[[nodiscard]] bool writetitles(const QString& folder, const QStringList& titles);

// "Track" and the number right-aligned in two places: the title of a track nobody named.
QString defaulttitle(int number);

// `titles` grown with default titles up to `count` entries.
void padtitles(QStringList& titles, int count);

// Makes `title` line `number` of the "title.dat" of `folder` (made when missing), so it stands
// beside its track; missing lines before it get default titles.
[[nodiscard]] bool settitleline(const QString& folder, int number, const QString& title);

} // namespace ripper

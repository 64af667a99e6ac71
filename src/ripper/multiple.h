#pragma once

// The match list of the CD road: the CD database's candidates for the disc, one row each, from
// which the user picks one, goes back or chooses to type the details in. GUI thread only.

#include <QStringList>
#include <cstdint>

namespace ripper {

// The CD database matches handed to the match list: match i is artists[i] + "-" + titles[i].
struct talbums
{
    QStringList titles;
    QStringList artists;
    int32_t count = 0;
};

// What `multipledialog` answers besides a match index.
constexpr int32_t kMatchGoBack = -1;
constexpr int32_t kMatchManualEntry = -4;

// The chosen match's index (from 0), kMatchGoBack or kMatchManualEntry.
int32_t multipledialog(const talbums& albs);

} // namespace ripper

#pragma once

// The match list of the CD road: the CD database's candidates for the disc, one row each, from
// which the user picks one, goes back or chooses to type the details in.
// Created, run and freed by `multipledialog` on the GUI thread.

#include <QStringList>
#include <cstdint>

#include "ripper/ripdialog.h"

class QLabel;
namespace controls {
class TScrollListbox;
class TBitmapActionButton;
} // namespace controls

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

class Tmultiplealbums : public RipDialog
{
    Q_OBJECT

public:
    // The dialog's results: a row was chosen, "Go Back", "Enter Details Manually".
    static constexpr int kChosen = 1;
    static constexpr int kGoBack = 2;
    static constexpr int kManualEntry = 8;

    // Lists a copy of `albs`.
    explicit Tmultiplealbums(const talbums& albs);

    // The row the user chose; kMatchGoBack when no row is chosen.
    int32_t chosenRow() const;

    controls::TScrollListbox* lb = nullptr;
    controls::TBitmapActionButton* cancel = nullptr;
    QLabel* lab = nullptr;
    controls::TBitmapActionButton* manentry = nullptr;

protected:
    int backResult() const override { return kGoBack; }

private:
    void fillList();
    void layOut();
    // Only a click on a row chooses; the "MORE" boxes and the empty area do not.
    void lbClick();

    talbums albums;
};

// The chosen match's index (from 0), kMatchGoBack or kMatchManualEntry; the list is shown even
// for a single match.
int32_t multipledialog(const talbums& albs);

} // namespace ripper

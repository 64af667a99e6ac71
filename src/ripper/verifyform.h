#pragma once

// The track list editor: the titles of the shared track list, one row each, corrected one at a
// time in an entry box over the on-screen keyboard. Serves the CD road (mode 0) and the album edit
// menu (mode 1, where "Next" reads "Save"). Created, run and freed by `doverify` on the GUI
// thread.

#include <cstdint>

#include "ripper/ripdialog.h"

class QLabel;
class QLineEdit;
namespace controls {
class TBitmapActionButton;
class TScrollListbox;
class TTransparentPanel;
} // namespace controls

namespace ripper {

// 1 while editing an album on disk, 0 while extracting a new CD; the cover choice reads it too.
inline int32_t mode = 0;

class Tverify : public RipDialog
{
    Q_OBJECT

public:
    static constexpr int kNext = 1;
    static constexpr int kGoBack = 2;

    Tverify();

    QLabel* lab = nullptr;
    QLineEdit* titleedit = nullptr;
    controls::TBitmapActionButton* settitle = nullptr;
    controls::TBitmapActionButton* cancel1 = nullptr;
    controls::TBitmapActionButton* next = nullptr;
    QWidget* lbpanel = nullptr;
    controls::TScrollListbox* lb = nullptr;

    // The row being edited; -1 for none.
    int editedIndex() const { return edited_; }

protected:
    int backResult() const override { return kGoBack; }
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    void fitList();
    // Takes a list font of `points`; whether the list area then holds enough rows between the bands.
    bool listHoldsRows(int points);
    void fillList();
    // Takes the chosen row into the entry box.
    void lbClick();
    // Puts the entry box's text into the edited row and the shared titles.
    void settitleClick();

    int edited_ = 0;
};

// Sets `mode` to `m` and edits the shared track titles; 1 for "Next" ("Save"), 2 for "Go Back"
// (at once, without showing anything, when there are no titles).
int32_t doverify(int32_t m);

} // namespace ripper

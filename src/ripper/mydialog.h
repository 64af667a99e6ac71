#pragma once

// The skinned question dialog of the extraction road, the album edit menu and the cover choice: a
// borderless dialog over the extraction window that shows a message, the road's backdrop and up to
// three buttons, and puts its title into the extraction window's title strip.
// Created, run and freed by `md` on the GUI thread.

#include <QString>
#include <cstdint>

#include "ripper/ripdialog.h"

class QLabel;
namespace controls {
class TBitmapActionButton;
}

namespace ripper {

// What the last `md` asked: message, first and second button captions (an empty second caption
// hides that button), title strip text and whether "Back to Jukebox" is offered.
inline QString mes;
inline QString okmes;
inline QString cancelmes;
inline QString stitle;
inline bool squit = false;

// The answers of the dialog.
constexpr uint16_t kFirstButton = 1;
constexpr uint16_t kSecondButton = 2;
constexpr uint16_t kBackToJukebox = 3;

class Tmdialog : public RipDialog
{
    Q_OBJECT

public:
    // Lays itself out from the unit's question (`mes` .. `squit`).
    Tmdialog();

    // Escape and a close request answer like the last button shown: "Back to Jukebox" when it is
    // offered, else the second button, else the first.
    int backResult() const override;

    QLabel* lb = nullptr;
    controls::TBitmapActionButton* OK = nullptr;
    controls::TBitmapActionButton* cancel = nullptr;
    controls::TBitmapActionButton* quitbut = nullptr;

private:
    void placeMessage();
    void placeAnswerButtons();
    void placeQuitButton();
};

// Asks `Msg` with the buttons `aOkmes` and `aCancelmes` (empty: only the first) and, when `quit`,
// "Back to Jukebox"; `title` goes into the extraction window's title strip. Returns 1, 2 or 3.
uint16_t md(const QString& Msg, const QString& aOkmes, const QString& aCancelmes, const QString& title,
            bool quit);

} // namespace ripper

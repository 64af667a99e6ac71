#pragma once

// The on-screen keyboard of a touch-only kiosk: a frameless window of keys, always on top and
// never taking the focus, whose keys are typed into the window that has it. It closes when the
// message "close" arrives on its mailslot "KVOSK1".
// GUI thread only; the program's main owns the one window.

#include <QString>
#include <QWidget>

#include "platform/mailslot.h"

class QGridLayout;
class QTimer;

namespace osk {

class OnScreenKeyboard : public QWidget
{
    Q_OBJECT

public:
    // `alpha` gives the letter layout, otherwise the digits.
    explicit OnScreenKeyboard(bool alpha);

    // Starts listening on the mailslot; false when it cannot be opened (another keyboard has it).
    [[nodiscard]] bool listen();

    // The key rows of a layout; "\b" is Backspace, "\r" Enter and " " the space bar.
    static QStringList layout(bool alpha);

private:
    void addKey(QGridLayout* grid, QChar key, int row, int column, int span);
    void readMailslot();

    platform::Mailslot mailslot_;
    QTimer* poll_ = nullptr;
};

// The window's place for the command line "top width% height% [ALPHA]" on a screen `screen`;
// an invalid rectangle when the arguments are not numbers.
QRect keyboardGeometry(const QStringList& arguments, const QRect& screen);

} // namespace osk

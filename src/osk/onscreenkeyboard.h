#pragma once

// The on-screen keyboard of a touch-only kiosk: a frameless window of keys, always on top and
// never taking the focus, whose keys are typed into the window that has it. It closes when the
// message "close" arrives on its mailslot "KVOSK1" of its display.
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
    OnScreenKeyboard();

    // Starts listening on the mailslot; false when it cannot be opened (another keyboard has it).
    [[nodiscard]] bool listen();

    // The key rows; "\b" is Backspace, "\r" Enter and " " the space bar.
    static QStringList layout();

private:
    void addKey(QGridLayout* grid, QChar key, int row, int column, int span);
    void readMailslot();

    platform::Mailslot mailslot_;
    QTimer* poll_ = nullptr;
};

// The window's place for the command line "top width% height% [ALPHA]" on a screen `screen`: in
// the lowest third, at the bottom edge; an invalid rectangle when the arguments are not numbers.
QRect keyboardGeometry(const QStringList& arguments, const QRect& screen);

} // namespace osk

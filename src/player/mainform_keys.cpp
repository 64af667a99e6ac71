// The player window's keyboard chords: Ctrl+Alt with a letter, and Esc. Key strokes the chords pass
// on (Space, Up, Down) are posted to the control they are meant for as Qt key events, so nothing is
// injected into the rest of the desktop.

#include "player/mainform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "player/randomfromalbums.h"

namespace player {

namespace {

// Exactly Ctrl and Alt held (the keypad flag says where the key is, not what is held).
bool ctrlAltOnly(Qt::KeyboardModifiers Shift)
{
    return (Shift & ~Qt::KeypadModifier) == (Qt::ControlModifier | Qt::AltModifier);
}

// The focused control when it is one of `window`'s, else `fallback`.
QWidget* focusedIn(const QWidget* window, QWidget* fallback)
{
    QWidget* focused = QApplication::focusWidget();
    return focused && focused->window() == window ? focused : fallback;
}

} // namespace

void Tmainform::sendKeyStroke(QWidget* target, int key)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
}

void Tmainform::FormKeyUp(QObject*, int& Key, Qt::KeyboardModifiers Shift)
{
    if (Key == Qt::Key_Escape) {
        if (Stop->isEnabled() && !Stop->isChecked()) {
            Stop->setChecked(true);
            StopClick(Stop);
            Key = 0;
        } else if (Stop->isChecked()) {
            Cdplayerbut->setChecked(true);
            CdplayerbutClick(nullptr);
            Key = 0;
        }
        return;
    }
    if (!ctrlAltOnly(Shift)) return;
    const int chord = Key;
    Key = 0;
    switch (chord) {
    case Qt::Key_P:
        if (!play->isEnabled()) {
            if (tracklist->currentRow() < 0) tracklist->setFocus();
            sendKeyStroke(focusedIn(this, tracklist), Qt::Key_Space);
            QCoreApplication::processEvents();
        }
        play->setChecked(true);
        playClick(play);
        return;
    case Qt::Key_M:
        if (pause->isEnabled()) {
            pause->setChecked(true);
            pauseClick(pause);
        }
        return;
    case Qt::Key_A:
    case Qt::Key_Z:
        albumlist->setFocus();
        sendKeyStroke(albumlist, chord == Qt::Key_A ? Qt::Key_Up : Qt::Key_Down);
        return;
    case Qt::Key_S:
        bckClick(nullptr);
        return;
    case Qt::Key_T:
        if (dj->isEnabled()) {
            dj->toggle();
            djClick(dj);
        }
        return;
    case Qt::Key_X:
        tracklist->setFocus();
        QCoreApplication::processEvents();
        if (tracklist->currentRow() >= 0)
            fwdClick(nullptr);
        else
            sendKeyStroke(focusedIn(this, tracklist), Qt::Key_Space);
        return;
    case Qt::Key_C:
        coverClick(nullptr);
        return;
    case Qt::Key_R:
        makeWholeLibraryRandomPlaylist();
        return;
    default:
        Key = chord;
        return;
    }
}

// A random playlist of the whole library, made through the random playlist dialog without waiting
// for the operator.
void Tmainform::makeWholeLibraryRandomPlaylist()
{
    if (playmode == 1) StopClick(nullptr);
    if (!rnd_dialog) return;
    rnd_dialog->show();
    playlistbutClick(nullptr);
    playlistbut->setChecked(true);
    selectQueueRow(0);
    rnd_dialog->all->click();
    rnd_dialog->OKBtn->click();
    restoreDefaultCursor();
    QCoreApplication::processEvents();
}

} // namespace player

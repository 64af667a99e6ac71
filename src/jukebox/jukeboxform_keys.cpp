// Keys of the jukebox window, the application-wide event hook and the keyboard-light show.
//
// A jukebox is often driven without a mouse: a numeric keypad, a keyboard, a coin mechanism or a
// button panel that types keys. Every key of the window is seen by `FormKeydown` / `FormKeyUp`
// first, as a virtual key code, and mapped to the operation of the matching on-screen control.
// The application-wide hook `OnMessage` changes keys before anyone sees them: the numeric keypad
// always gives digits, fast repeats of the arrow keys are dropped, Print Screen starts a program.

#include "jukebox/jukeboxform.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTimer>
#include <QWindow>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/transparentpanel.h"
#include "jukebox/creditssystem.h"
#include "jukebox/editbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/searchtrack.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "library/runprogram.h"
#include "library/windowsversion.h"
#include "platform/arguments.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keylights.h"
#include "platform/kioskwindow.h"
#include "platform/programfolder.h"
#include "platform/virtualkeys.h"
#include "player/mainform.h"
#include "skins/thememanagerform.h"

namespace jukebox {

namespace vk = platform::vk;

namespace {

constexpr int32_t kWindows95 = 1;
// Light show: the longest pattern (in steps and milliseconds) and the number of patterns.
constexpr int kLongestPattern = 200;
constexpr int kPatterns = 5;
constexpr int kLightShowArgument = 3;
const QString kLightShowSwitch = QStringLiteral("/L");
const QString kPrintScreenProgram = QStringLiteral("com.com");
// Mute has a code of its own beside Home and Alt+M, for button panels that can send any code.
constexpr uint16_t kMuteCode = 0x3D;

// The modifiers a key chord is told by.
constexpr Qt::KeyboardModifiers kChordModifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

bool isDigitKey(uint16_t key)
{
    return (key >= vk::Key0 && key <= vk::Key9) || (key >= vk::Numpad0 && key <= vk::Numpad9);
}

int digitOf(uint16_t key)
{
    return key >= vk::Numpad0 ? key - vk::Numpad0 : key - vk::Key0;
}

// Delete, Backspace and the keypad's decimal and separator keys all clear the entry.
bool isClearKey(uint16_t key)
{
    return key == vk::Delete || key == vk::Separator || key == vk::Decimal || key == vk::Back;
}

bool isLetterKey(uint16_t key)
{
    return key >= vk::KeyA && key <= vk::KeyZ;
}

bool lightShowAllowed()
{
    return platform::commandLineArgument(kLightShowArgument).toUpper() == kLightShowSwitch;
}

// True for a key typed into one of the window's text edits, which keeps it to itself: a search
// for "1999" or "50 Cent" must not key in a selection and buy a track. While the search panel
// shows, every key is the search's, wherever the focus stands. Chords (coins and the like with
// Alt, the operator's Ctrl keys) and Escape still act.
bool typedIntoEdit(const QWidget& target, const QKeyEvent& key)
{
    const bool searching = searchpanel && !searchpanel->isHidden();
    if (!searching && !qobject_cast<const EditBox*>(&target)) return false;
    return !(key.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) && key.key() != Qt::Key_Escape;
}

// The program started by Print Screen, from the program's own folder, without waiting for it.
void startPrintScreenProgram()
{
    const QString path = platform::joinPath(platform::programFolder(), kPrintScreenProgram);
    // Quoted, so a folder name with blanks stays one word. A missing program starts nothing.
    (void)library::runprogram(QLatin1Char('"') + path + QLatin1Char('"'), 0, false);
}

// Drops a Left or Right key-down that follows the last one by less than the repeat interval;
// every key-up lets the next one through at once. True when the key is dropped.
bool dropsArrowRepeat(QEvent::Type type, uint16_t code)
{
    if (type == QEvent::KeyRelease) {
        lastnavkeyinterval = 0;
        return false;
    }
    if (code != vk::Left && code != vk::Right) return false;
    // Keyboard auto-repeat of Left and Right closer together than this is dropped: a held arrow
    // steps through its own repeat timer instead.
    const qint64 now = platform::clock().steadyMs();
    const bool drop = lastnavkeyinterval != 0 && now - lastnavkeyinterval < Tjukebox::kNavInterval;
    lastnavkeyinterval = now;
    return drop;
}

// The keypad code of a navigation code as the keypad gives it with NumLock off; 0 for others.
uint16_t navigationToKeypad(uint16_t code)
{
    switch (code) {
    case vk::Clear:
        return vk::Numpad0 + 5;
    case vk::Prior:
        return vk::Numpad0 + 9;
    case vk::Next:
        return vk::Numpad0 + 3;
    case vk::End:
        return vk::Numpad0 + 1;
    case vk::Home:
        return vk::Numpad0 + 7;
    case vk::Left:
        return vk::Numpad0 + 4;
    case vk::Up:
        return vk::Numpad0 + 8;
    case vk::Right:
        return vk::Numpad0 + 6;
    case vk::Down:
        return vk::Numpad0 + 2;
    case vk::Insert:
        return vk::Numpad0;
    case vk::Delete:
        return vk::Decimal;
    default:
        return 0;
    }
}

// The keypad's own keys give their digits whatever the NumLock state: with NumLock off they
// arrive as the navigation codes, which become the keypad codes again. The separate arrow and
// editing block (the extended keys) keeps its meaning. 0 when the key stays as it is.
uint16_t keypadCodeOf(const QKeyEvent& key, uint16_t code)
{
    const uint16_t keypad = navigationToKeypad(code);
    if (keypad == 0 || platform::isExtendedKey(key) || platform::keyLights().isHeld(platform::LockKey::Num))
        return 0;
    return keypad;
}

// The hook's work on one key event that has not been changed yet. True when the event goes no
// further: dropped, or replaced by a copy with another key that has been sent in its place (an
// event cannot be changed in place, so the control and the window get the copy).
bool hookKey(QObject* receiver, QKeyEvent& key)
{
    const uint16_t code = platform::virtualKey(key);
    if (code == vk::Snapshot && key.type() == QEvent::KeyPress && !key.isAutoRepeat())
        startPrintScreenProgram();
    if (dropsArrowRepeat(key.type(), code)) return true;
    const uint16_t keypad = keypadCodeOf(key, code);
    if (keypad == 0) return false;
    if (const std::unique_ptr<QKeyEvent> copy = platform::withVirtualKey(key, keypad))
        QCoreApplication::sendEvent(receiver, copy.get());
    return true;
}

// Presses one of the control panel's shapes as the left mouse button does; with `release`, lets
// go of it again.
void pressShape(Tjukebox& window, FrameShape* shape, bool release)
{
    window.panelshapeMouseDown(shape, Qt::LeftButton, Qt::NoModifier, 0, 0);
    if (release) window.panelshapeMouseUp(shape, Qt::LeftButton, Qt::NoModifier, 0, 0);
}

// A keyboard reject or mute is a whole click on its control, so its picture comes back up.
void reject(Tjukebox& window)
{
    pressShape(window, window.rejectshape2, true);
}

void mute(Tjukebox& window)
{
    pressShape(window, window.muteshape2, true);
}

// Background play on or off, and "Reject All", are the operator's (the switch is a setting the
// settings file keeps): under the operator lock no key reaches them, as no key reaches the
// operator's menu that offers them.
void toggleBackgroundPlay(Tjukebox& window)
{
    if (library::config.lock) return;
    window.autoplaycb->setchecked(!window.autoplaycb->checked());
    window.autoplaycbClick(window.autoplaycb);
}

void rejectAll(Tjukebox& window)
{
    if (!library::config.lock) window.rejectallClick(window.rejectall);
}

// The Alt chords of coin mechanisms and button panels.
void altChord(Tjukebox& window, uint16_t key)
{
    switch (key) {
    case 'O':
        // Held: the volume repeats until O is let go.
        pressShape(window, window.volumeupshape2, false);
        break;
    case 'K':
        pressShape(window, window.volumedownshape2, false);
        break;
    case 'R':
        reject(window);
        break;
    case 'F':
        rejectAll(window);
        break;
    case 'P':
    case 'B':
        toggleBackgroundPlay(window);
        break;
    case 'M':
        mute(window);
        break;
    case 'C':
        if (window.credit) window.credit->AddCoinCredit();
        break;
    case 'S':
        if (window.credit && library::config.allowfreecredit) window.credit->AddFreeCredit();
        break;
    default:
        break;
    }
}

// Keys that act whatever the modifiers.
void anyChordKey(Tjukebox& window, uint16_t key)
{
    switch (key) {
    case vk::Oem4:
        window.lsb1playallClick(window.lsb1playall);
        break;
    case vk::Oem6:
        window.lsb2playallClick(window.lsb2playall);
        break;
    case vk::Oem1:
        reject(window);
        break;
    case vk::Oem3:
        rejectAll(window);
        break;
    case kMuteCode:
        mute(window);
        break;
    case vk::Multiply:
        toggleBackgroundPlay(window);
        break;
    default:
        break;
    }
}

// The keys of the number entry and the keypad's other keys; not while the keypad is locked.
void keypadKey(Tjukebox& window, uint16_t key)
{
    if (isDigitKey(key)) window.dolcd(digitOf(key), lcddelay);
    if (key == vk::Return) window.dolcd(-2, lcddelay);
    if (isClearKey(key)) window.dolcd(-1, lcddelay);
    if (key == vk::Subtract) pressShape(window, window.volumedownshape2, true);
    if (key == vk::Add) pressShape(window, window.volumeupshape2, true);
    if (key == vk::Multiply) reject(window);
    if (key == vk::Home) mute(window);
    if (key == vk::Insert && lightShowAllowed())
        window.lightstimer->setEnabled(!window.lightstimer->isEnabled());
}

// Presses the lock key `key` when its light is not as `on` wants it.
void switchLight(Tjukebox& window, platform::LockKey light, uint16_t key, bool on)
{
    if (platform::keyLights().isOn(light) != on) window.presskey(key);
}

void showLight(Tjukebox& window, int position)
{
    switch (position) {
    case 0:
        window.numon();
        break;
    case 1:
        window.capson();
        break;
    default:
        window.scrollon();
        break;
    }
}

// The interval for the rest of a pattern, when any of it is left.
void shortenToRest(controls::Ticker& timer)
{
    if (leddest - ledcount > 0) timer.setInterval(leddest - ledcount);
}

} // namespace

void Tjukebox::FormKeydown(QObject*, uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    const Qt::KeyboardModifiers chord = Shift & kChordModifiers;
    if (chord.testFlag(Qt::AltModifier)) altChord(*this, Key);
    anyChordKey(*this, Key);
    if (Key == 'T' && chord == Qt::ControlModifier) {
        // The theme manager is an operator's window, which writes the settings: not under the lock.
        if (!library::config.lock) skins::gothemes([this] { restyle(); });
        return;
    }
    // A step onto the albums that begin with "_" may turn the key into the letter A or Z.
    if (!moveinprogress) {
        if (Key == vk::Left)
            pageForward(Key);
        else if (Key == vk::Right)
            pageBack(Key);
    }
    if (Key == vk::Left || Key == vk::Right) return;
    if (isClearKey(Key)) errortime = Tjukebox::kBlinkTicks;
    if (Key == vk::Escape) {
        if (!thumbpanel->isHidden()) {
            setvisualspanel(false);
            return;
        }
        // Under the operator lock a guest must not reach the desktop.
        if (!library::config.lock) close();
    }
    if (!keypadlocked) keypadKey(*this, Key);
    // Alt chords are coins, credits, volume and the like from coin mechanisms and button panels:
    // paying must not turn the guest's page, so only plain letters jump.
    if (isLetterKey(Key) && !chord.testFlag(Qt::AltModifier)) letterJump(QChar(char16_t(Key)));
}

void Tjukebox::FormKeyUp(QObject*, uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    // The volume repeat of Alt+O and Alt+K stops when the letter is let go, whether or not Alt
    // still is: Alt may well be released first.
    if (Key == 'O') panelshapeMouseUp(volumeupshape2, Qt::LeftButton, Qt::NoModifier, 0, 0);
    if (Key == 'K') panelshapeMouseUp(volumedownshape2, Qt::LeftButton, Qt::NoModifier, 0, 0);
    if (Shift.testFlag(Qt::AltModifier)) return;
    if (Key == vk::Left) butllabelMouseUp(butllabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
    if (Key == vk::Right) butrlabelMouseUp(butrlabel, Qt::LeftButton, Qt::NoModifier, 0, 0);
}

// Runs for every event of the program. Qt cannot change an event in place, so a key the hook
// drops is swallowed (`Handled`), and a key it changes is swallowed and sent again as a copy
// with the new key. Keys bound for this window then reach `FormKeydown` / `FormKeyUp` before the
// control that has the focus: the window previews every key.
void Tjukebox::OnMessage(QObject* Receiver, QEvent* Msg, bool& Handled)
{
    // The message line keeps moving while the window is busy with long work.
    if (lcd3 && lcd3->running()) lcd3->timercall(this);
    if (Msg->type() != QEvent::KeyPress && Msg->type() != QEvent::KeyRelease) return;
    auto& key = static_cast<QKeyEvent&>(*Msg);
    // A held key repeats as key-downs only; the releases Qt puts between them are no key-ups.
    if (key.type() == QEvent::KeyRelease && key.isAutoRepeat()) return;
    // Keys go to a window first and then to its widget: the hook waits for the widget. A key at a
    // window is a new one, even where it reuses the memory of the last.
    if (!Receiver->isWidgetType()) {
        hookedKey_ = nullptr;
        return;
    }
    const QWidget& target = static_cast<const QWidget&>(*Receiver);
    // Qt offers a key that the focused control leaves alone to each of its parents in turn, and
    // every offer passes the application's filters again: the hook takes a key at its first stop.
    // The offers are told by their path up the parents, not by the focus, which the key itself
    // may have moved (Escape hides the focused thumbnails).
    const bool passedOn = Msg == hookedKey_ && hookedStop_ && hookedStop_->parentWidget() == &target;
    hookedKey_ = Msg;
    hookedStop_ = &target;
    if (passedOn) return;
    // Chords with Alt are system keys, which the hook leaves as they are.
    if (!key.modifiers().testFlag(Qt::AltModifier) && hookKey(Receiver, key)) {
        Handled = true;
        Msg->accept();
        return;
    }
    if (&target != this && !isAncestorOf(&target)) return;
    if (key.type() == QEvent::KeyPress && typedIntoEdit(target, key)) return;
    uint16_t vkey = platform::virtualKey(key);
    if (key.type() == QEvent::KeyPress)
        FormKeydown(this, vkey, key.modifiers());
    else
        FormKeyUp(this, vkey, key.modifiers());
}

void Tjukebox::presskey(uint16_t key)
{
    // Only the lock keys have lights; the show presses no other key.
    switch (key) {
    case vk::Capital:
        platform::keyLights().press(platform::LockKey::Caps);
        break;
    case vk::NumLock:
        platform::keyLights().press(platform::LockKey::Num);
        break;
    case vk::ScrollLock:
        platform::keyLights().press(platform::LockKey::Scroll);
        break;
    default:
        break;
    }
}

void Tjukebox::capson()
{
    switchLight(*this, platform::LockKey::Caps, vk::Capital, true);
}

void Tjukebox::capsoff()
{
    switchLight(*this, platform::LockKey::Caps, vk::Capital, false);
}

void Tjukebox::scrollon()
{
    switchLight(*this, platform::LockKey::Scroll, vk::ScrollLock, true);
}

void Tjukebox::scrolloff()
{
    switchLight(*this, platform::LockKey::Scroll, vk::ScrollLock, false);
}

void Tjukebox::numon()
{
    switchLight(*this, platform::LockKey::Num, vk::NumLock, true);
}

void Tjukebox::numoff()
{
    switchLight(*this, platform::LockKey::Num, vk::NumLock, false);
}

void Tjukebox::off()
{
    numoff();
    scrolloff();
    capsoff();
}

void Tjukebox::lightstimerTimer(QObject*)
{
    if (library::Getwindowsversion() == kWindows95) {
        lightstimer->setEnabled(false);
        return;
    }
    QRandomGenerator& random = lightsRandom_ ? *lightsRandom_ : *QRandomGenerator::global();
    if (ledcount >= leddest) ledcount = 0;
    if (ledcount == 0) {
        // A new pattern of a random length (in steps, and its first step as many milliseconds).
        leddest = 1 + random.bounded(kLongestPattern);
        lightstimer->setInterval(leddest);
        ledmode = 1 + random.bounded(kPatterns);
        ledprog = 0;
    }
    ++ledcount;
    off();
    switch (ledmode) {
    case 1: // chase: Num, Caps, Scroll, Num...
        showLight(*this, ledprog);
        if (ledprog >= 2) ledprog = -1;
        shortenToRest(*lightstimer);
        ++ledprog;
        break;
    case 2: // the chase the other way round: Num, Scroll, Caps, Num...
        showLight(*this, ledprog);
        if (ledprog == 0) ledprog = 3;
        shortenToRest(*lightstimer);
        --ledprog;
        break;
    case 3:
        if (ledcount % 2 == 1) {
            numon();
            scrollon();
        } else {
            capson();
        }
        shortenToRest(*lightstimer);
        break;
    case 4:
        if (ledcount % 2 == 1) {
            capson();
            scrollon();
        } else {
            numon();
            capson();
        }
        break;
    default: // one light at random
        showLight(*this, random.bounded(3));
        shortenToRest(*lightstimer);
        break;
    }
}

void Tjukebox::keyPressEvent(QKeyEvent* event)
{
    // With the application-wide hook in place the window has seen every key there already; only
    // without it (while debugging) do the keys that reach the window come here.
    if (player::DEBUGON) {
        uint16_t vkey = platform::virtualKey(*event);
        FormKeydown(this, vkey, event->modifiers());
    }
    QWidget::keyPressEvent(event);
}

void Tjukebox::restoreFullScreen()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
    show();
    raise();
    activateWindow();
}

void Tjukebox::holdGuest()
{
    platform::KioskWindow& kiosk = platform::kioskWindow();
    if (!library::config.lock || !isVisible()) {
        kiosk.releaseKeyboard();
        return;
    }
    // Another window of the program (a dialog) that is active shows over the jukebox.
    const QWidget* active = QApplication::activeWindow();
    kiosk.showOnEveryDesktop(winId(), true);
    kiosk.keepAbove(winId(), !active || active == this);
    kiosk.holdKeyboard(winId());
}

void Tjukebox::takeGuestBack()
{
    if (!library::config.lock || !isVisible() || QApplication::activeWindow()) return;
    // Unmapped from outside, the window is no longer the window manager's: shown anew, it is.
    if (windowHandle() && !windowHandle()->isExposed()) hide();
    platform::kioskWindow().showOnEveryDesktop(winId(), true);
    restoreFullScreen();
}

void Tjukebox::letGuestGo()
{
    platform::KioskWindow& kiosk = platform::kioskWindow();
    kiosk.releaseKeyboard();
    if (!isVisible()) return;
    kiosk.showOnEveryDesktop(winId(), false);
    kiosk.keepAbove(winId(), false);
}

void Tjukebox::keyReleaseEvent(QKeyEvent* event)
{
    if (player::DEBUGON && !event->isAutoRepeat()) {
        uint16_t vkey = platform::virtualKey(*event);
        FormKeyUp(this, vkey, event->modifiers());
    }
    QWidget::keyReleaseEvent(event);
}

void Tjukebox::changeEvent(QEvent* event)
{
    // Under the operator lock a minimise request from outside comes straight back full-screen,
    // once the window system has finished minimising.
    if (event->type() == QEvent::WindowStateChange && event->spontaneous() && library::config.lock &&
        isMinimized())
        QTimer::singleShot(0, this, &Tjukebox::restoreFullScreen);
    if (event->type() == QEvent::ActivationChange) holdGuest();
    if (event->type() == QEvent::ActivationChange && library::config.lock && !QApplication::activeWindow())
        QTimer::singleShot(0, this, &Tjukebox::takeGuestBack);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() &&
        (volumesender == volumeupshape2 || volumesender == volumedownshape2))
        panelshapeMouseUp(volumesender, Qt::LeftButton, Qt::NoModifier, 0, 0);
    QWidget::changeEvent(event);
}

} // namespace jukebox

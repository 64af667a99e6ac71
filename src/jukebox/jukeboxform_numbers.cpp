// Number entry: the keypad, the two number displays and the road from typed digits to a queued,
// playing track, with the credit it costs, the operator lock's passcode and the error blink.

#include "jukebox/jukeboxform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QToolButton>

#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/transparentpanel.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/creditssystem.h"
#include "jukebox/entrypause.h"
#include "jukebox/picturebox.h"
#include "jukebox/playlistview.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "player/mainform.h"
#include "skins/resourceskins.h"

namespace jukebox {

namespace {

constexpr int kClear = -1;
constexpr int kEnter = -2;
constexpr int kCancelLastEntry = -3;
constexpr int kNoKey = -100;
constexpr int kAlbumDigits = 4;
constexpr int kTrackDigits = 3;
constexpr int kAlbumComplete = kAlbumDigits + 1;
constexpr int kTrackComplete = kTrackDigits + 1;
// The entry stays on the display this long after a track was queued.
constexpr int kQueuedTrackDelay = 50;
// How often the entry looks at a running fade while it waits for its end.
constexpr int kFadePoll = 10;

const QString kLockedAlbum = QStringLiteral("0000");

// Keypad hit areas of the 800 x 600 design, bounds included: the three columns, the four rows of
// square keys and the wide key below them.
struct Span
{
    int from;
    int to;
};
constexpr Span kColumns[] = {{4, 46}, {49, 89}, {93, 134}};
constexpr Span kRows[] = {{4, 44}, {47, 89}, {91, 133}, {136, 177}};
constexpr Span kWideColumns{4, 136};
constexpr Span kWideRow{180, 200};
constexpr int kKeyCodes[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, kClear, kEnter}};

bool within(int v, Span span, int32_t (*scale)(int32_t))
{
    return v >= scale(span.from) && v <= scale(span.to);
}

// The code of the key under `p` (keypad pixels), kNoKey between the keys.
int keyAt(QPoint p)
{
    if (within(p.x(), kWideColumns, aspx) && within(p.y(), kWideRow, aspy)) return kCancelLastEntry;
    for (int row = 0; row < 4; ++row) {
        if (!within(p.y(), kRows[row], aspy)) continue;
        for (int column = 0; column < 3; ++column) {
            if (within(p.x(), kColumns[column], aspx)) return kKeyCodes[row][column];
        }
    }
    return kNoKey;
}

// The number a field's characters hold; blanks or anything else read as 0.
int numberOf(const QString& field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    return ok ? value : 0;
}

// The typed part of a field shown right-aligned behind blanks while it is incomplete.
QString shownField(const QString& field, int count, int width)
{
    if (count > width) return field;
    return field.left(count - 1).rightJustified(width, u' ');
}

QImage keypadPicture(const QString& name)
{
    return skins::skinPictureOrNull(name, library::config.theme.skeypad);
}

} // namespace

bool Tjukebox::isvalidalbum(int a) const
{
    // The player's album rows give the numbers; an album without a row cannot be chosen there.
    const player::Tmainform* mf = player::mainform;
    return mf && a >= 1 && a <= library::albumcount && a <= mf->Dalbumlist->count();
}

bool Tjukebox::isvalidtrack(int a) const
{
    const player::Tmainform* mf = player::mainform;
    return mf && a >= 1 && a <= mf->dtracklist->count();
}

void Tjukebox::dolcd(int k, int delay)
{
    ++entryBusy_;
    const auto done = qScopeGuard([this] { endEntryStep(); });
    keypadlocked = true;
    numButDown(k);
    QCoreApplication::processEvents();

    lcd1text = lcd1text.leftJustified(kAlbumDigits, u' ', true);
    lcd2text = lcd2text.leftJustified(kTrackDigits, u' ', true);
    if (k == kEnter)
        padActiveField();
    else if (k == kClear)
        clearTypedEntry();
    else if (k >= 0 && k <= 9)
        addTypedDigit(k);
    showEntry();

    if (lcd1count >= kAlbumComplete) selectTypedAlbum();
    // Without a credit the step ends at once; the error blink unlocks the keypad.
    if (lcd2count >= kTrackComplete && !finishTypedTrack()) return;

    entrypause(delay);
    numButUp();
    keypadlocked = false;
}

void Tjukebox::clearTypedEntry()
{
    lcdpanelcurrent = 0;
    lcd1text = QString(kAlbumDigits, u' ');
    lcd2text = QString(kTrackDigits, u' ');
    lcd1count = 1;
    lcd2count = 1;
}

void Tjukebox::addTypedDigit(int digit)
{
    if (lcdpanelcurrent == 0 && lcd1count >= kAlbumComplete) lcdpanelcurrent = 1;
    if (lcdpanelcurrent == 1 && lcd2count >= kTrackComplete) clearTypedEntry();
    const QChar character(u'0' + digit);
    if (lcdpanelcurrent == 0) {
        lcd1text[lcd1count - 1] = character;
        ++lcd1count;
    } else {
        lcd2text[lcd2count - 1] = character;
        ++lcd2count;
    }
}

// Enter completes the active field: the typed digits move right and zeros fill the front. With no
// digit typed the field stays blank (and reads as 0).
void Tjukebox::padActiveField()
{
    if (lcdpanelcurrent == 0) {
        const QString typed = lcd1text.left(std::min(lcd1count, kAlbumComplete) - 1);
        if (!typed.isEmpty()) lcd1text = typed.rightJustified(kAlbumDigits, u'0');
        lcd1count = kAlbumComplete;
    } else {
        const QString typed = lcd2text.left(std::min(lcd2count, kTrackComplete) - 1);
        if (!typed.isEmpty()) lcd2text = typed.rightJustified(kTrackDigits, u'0');
        lcd2count = kTrackComplete;
    }
}

void Tjukebox::showEntry()
{
    lcdtext1->setText(shownField(lcd1text, lcd1count, kAlbumDigits));
    lcdtext2->setText(shownField(lcd2text, lcd2count, kTrackDigits));
}

// Runs at every step while the album number is complete, so each track digit selects it again.
void Tjukebox::selectTypedAlbum()
{
    const int a = numberOf(lcd1text);
    if (isvalidalbum(a))
        selectAlbumRow(a);
    else if (a != 0)
        starterrorblink();
    lcdpanelcurrent = 1;
}

void Tjukebox::selectAlbumRow(int albumNumber)
{
    player::Tmainform* mf = player::mainform;
    mf->Dalbumlist->setCurrentIndex(albumNumber - 1);
    mf->DalbumlistChange(mf->Dalbumlist);
}

bool Tjukebox::finishTypedTrack()
{
    const int t = numberOf(lcd2text);
    // `dtracklist` holds the album chosen last: after an invalid album number that is another
    // album, so a track is queued only when the typed album is a real one.
    if (isvalidalbum(numberOf(lcd1text)) && isvalidtrack(t)) return queueTypedTrack(t);
    if (lcd1text == kLockedAlbum && lcd2text == library::config.password)
        togglelock();
    else
        starterrorblink();
    return true;
}

bool Tjukebox::queueTypedTrack(int track)
{
    bool creditTaken = false;
    if (library::config.creditsystem) {
        if (!credit || !credit->UseCredit()) {
            numButUp();
            starterrorblink();
            domessage(QStringLiteral("NO CREDITS - INSERT COIN"));
            return false;
        }
        creditTaken = true;
    }
    QCoreApplication::processEvents();
    fadeOutBackground();
    queueTrackRow(track - 1, creditTaken);
    lcdtext2->repaint();
    dolcd(kClear, kQueuedTrackDelay);
    return true;
}

// A background track fades out but keeps playing, so the guest's track takes over without a gap
// of silence before it.
void Tjukebox::fadeOutBackground()
{
    if (autoplaying) {
        dofade();
        fadetimernostop = true;
        // A guest who keys on meanwhile is not kept waiting for the rest of the fade, nor is a
        // program asked to end.
        while (fadetimer->isEnabled() && waitingTouches_.isEmpty() && entrypause(kFadePoll)) {
        }
        if (fadetimer->isEnabled()) endFade();
    }
    autoplaying = false;
}

void Tjukebox::queueTrackRow(int row, bool creditTaken)
{
    player::Tmainform* mf = player::mainform;
    mf->dtracklist->setCurrentRow(row);
    mf->AddClick(this, creditTaken);
    playstimer->setEnabled(true);
    startWhenIdle();
}

void Tjukebox::startWhenIdle()
{
    player::Tmainform* mf = player::mainform;
    // An empty queue has nothing to start (its stale entries must not play).
    if (mf->play->isChecked() || mf->dplaylist->count() == 0) return;
    mf->dplaylist->setCurrentRow(mf->dplaylist->count() - 1);
    mf->dplaylistClick(this);
    mf->playClick(this);
}

void Tjukebox::togglelock()
{
    library::config.lock = !library::config.lock;
    if (library::config.lock) {
        if (tagOf(kioskpanel) == 1) kioskpanelClick(kioskpanel);
        kioskpanelpanel->hide();
        holdGuest();
    } else {
        kioskpanelpanel->show();
        letGuestGo();
    }
    lcdtext1->clear();
    lcdtext2->clear();
    library::writeini();
}

// ---- The keypad ----

int Tjukebox::keyCode(const QObject* label) const
{
    const TextLabel* const labels[] = {numlabel1,  numlabel2,  numlabel3, numlabel4, numlabel5,
                                       numlabel6,  numlabel7,  numlabel8, numlabel9, numlabel10,
                                       numlabel11, numlabel12, numlabel13};
    constexpr int codes[] = {7, 8, 9, 4, 5, 6, 1, 2, 3, 0, kClear, kEnter, kCancelLastEntry};
    for (int i = 0; i < 13; ++i) {
        if (labels[i] == label) return codes[i];
    }
    return kNoKey;
}

PictureBox* Tjukebox::keyImage(int key) const
{
    // The key that carries the code's caption: code 1 is `num7`, the bottom left digit.
    PictureBox* const digits[] = {num10, num7, num8, num9, num4, num5, num6, num1, num2, num3};
    if (key >= 0 && key <= 9) return digits[key];
    if (key == kClear) return num11;
    if (key == kEnter) return num12;
    if (key == kCancelLastEntry) return num13;
    return nullptr;
}

void Tjukebox::clearKey()
{
    errortime = kBlinkTicks;
    dolcd(kClear, lcddelay);
}

void Tjukebox::numClick(QObject* Sender)
{
    const int pressed = keyCode(Sender);
    if (noinput || pressed == kNoKey) return;
    // A step that pumps events (a background fade takes seconds) is not entered again half-way:
    // every touch waits its turn and is taken in order.
    waitingTouches_.append(pressed);
    if (entryBusy_ == 0) takeWaitingTouches();
}

void Tjukebox::endEntryStep()
{
    if (--entryBusy_ == 0) takeWaitingTouches();
}

void Tjukebox::takeWaitingTouches()
{
    // One loop takes them all: a touch taken here ends its own step inside it.
    if (takingTouches_) return;
    const QScopedValueRollback taking(takingTouches_, true);
    while (!waitingTouches_.isEmpty())
        touchKey(waitingTouches_.takeFirst());
}

void Tjukebox::touchKey(int key)
{
    if (key == kCancelLastEntry) {
        player::Tmainform* mf = player::mainform;
        if (!mf || mf->dplaylist->count() == 0) return;
        mf->dplaylist->setCurrentRow(mf->dplaylist->count() - 1);
        mf->DelClick(this);
    } else if (key == kClear) {
        clearKey();
    } else {
        dolcd(key, lcddelay);
    }
}

void Tjukebox::numButDown(int sender)
{
    if (library::SLOWPROCESSOR) return;
    PictureBox* key = keyImage(sender);
    if (!key) return;
    key->setPicture(keypadPicture(sender == kCancelLastEntry ? QStringLiteral("WIDEBUTDOWN")
                                                             : QStringLiteral("KEYPADDOWN")));
}

void Tjukebox::numButUp()
{
    if (library::SLOWPROCESSOR) return;
    const QImage up = keypadPicture(QStringLiteral("KEYPADUP"));
    for (PictureBox* key : {num1, num2, num3, num4, num5, num6, num7, num8, num9, num10, num11, num12})
        key->setPicture(up);
    num13->setPicture(keypadPicture(QStringLiteral("WIDEBUTUP")));
}

void Tjukebox::rightpanelpicMouseDown(QObject* Sender, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    const auto* label = qobject_cast<const QWidget*>(Sender);
    if (!label) return;
    // The touch in keypad pixels: the key areas are measured from the keypad's top-left corner.
    const QPoint onKeypad = keypadpanel->mapFromGlobal(label->mapToGlobal(QPoint(X, Y)));
    const int pressed = keyAt(onKeypad);
    if (pressed != kNoKey) numButDown(pressed);
}

void Tjukebox::keypadpanelMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (playlistpanel && playlistpanel->isVisible()) playlistpanel->hide();
    numButUp();
}

// ---- The error blink ----

void Tjukebox::starterrorblink()
{
    // A blink already running goes on; a new one always gets its ten ticks, whatever the counter
    // was left at by a Clear pressed outside a blink.
    if (errortimer->isEnabled()) return;
    errortime = 0;
    errortimer->setEnabled(true);
}

void Tjukebox::errortimerTimer(QObject*)
{
    keypadlocked = true;
    if (errortime < kBlinkTicks) {
        const bool dark = errortime % 2 == 0;
        if (dark && !errorscroll) {
            errorscroll = true;
            lcd3->settext(QStringLiteral("           Error"));
            lcd3->state(true);
        }
        lcdtext1->setVisible(!dark);
        lcdtext2->setVisible(!dark);
        ++errortime;
    }
    if (errortime >= kBlinkTicks) enderrorblink();
}

void Tjukebox::enderrorblink()
{
    errorscroll = false;
    errortime = 0;
    lcd3->settext(oldmessage);
    lcd3->state(true);
    lcdtext1->show();
    lcdtext2->show();
    errortimer->setEnabled(false);
    dolcd(kClear, lcddelay);
    keypadlocked = false;
}

} // namespace jukebox

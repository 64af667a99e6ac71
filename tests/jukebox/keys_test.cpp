// The jukebox's keys: the key table of the window, the application-wide hook (keypad digits,
// arrow repeat, Print Screen, the moving message line) and the keyboard-light show.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstddef>
#include <new>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/bitmapcheckbox.h"
#include "controls/textscroller.h"
#include "controls/ticker.h"
#include "controls/transparentpanel.h"
#include "fakeclock.h"
#include "fakekeylights.h"
#include "fakesystem.h"
#include "jukebox/creditssystem.h"
#include "jukebox/pageslide.h"
#include "jukeboxfixture.h"
#include "numberstesting.h"
#include "platform/files.h"
#include "printers.h"

using jukebox::Tjukebox;
using platform::LockKey;

namespace {

// A widget of no window of the jukebox: what reaches it shows what the hook did to a key.
class KeyProbe : public QWidget
{
public:
    struct Seen
    {
        QEvent::Type type;
        int key;
        bool keypad;
    };
    QVector<Seen> seen;

    qsizetype presses() const
    {
        return std::count_if(seen.cbegin(), seen.cend(),
                             [](const Seen& s) { return s.type == QEvent::KeyPress; });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { note(*event); }
    void keyReleaseEvent(QKeyEvent* event) override { note(*event); }

private:
    void note(const QKeyEvent& event)
    {
        seen.append({event.type(), event.key(), event.modifiers().testFlag(Qt::KeypadModifier)});
    }
};

void sendKey(QWidget& to, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             bool repeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), repeat);
    QCoreApplication::sendEvent(&to, &event);
}

void clickKey(QWidget& to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    sendKey(to, QEvent::KeyPress, key, modifiers);
    sendKey(to, QEvent::KeyRelease, key, modifiers);
}

class KeysTest : public JukeboxTest
{
protected:
    Tjukebox& startWith(const QString& settings = QString())
    {
        addAlbums(4);
        writeSettings(settings);
        return start();
    }

    FakeKeyLights lights;
    FakeClock clock{QDateTime(QDate(2024, 3, 1), QTime(12, 0))};
    FakeProcesses processes;
    KeyProbe probe;
};

// ---- The key table ----

// What a key of the window's table does: switch background play, end a running error blink, or
// neither.
enum class Does { SwitchesBackgroundPlay, EndsTheBlink, Nothing };

struct TableKey
{
    int key;
    Qt::KeyboardModifiers modifiers;
    Does does;
};

class KeyTable : public KeysTest, public ::testing::WithParamInterface<TableKey>
{
};

TEST_P(KeyTable, DoesWhatItsKeyStandsForAndNothingElse)
{
    Tjukebox& window = startWith();
    ASSERT_FALSE(window.autoplaycb->checked());
    jukebox::errortime = 3;
    const auto click = [&] {
        QTest::keyClick(&window, static_cast<Qt::Key>(GetParam().key), GetParam().modifiers);
    };
    click();
    EXPECT_EQ(window.autoplaycb->checked(), GetParam().does == Does::SwitchesBackgroundPlay);
    EXPECT_EQ(jukebox::errortime, GetParam().does == Does::EndsTheBlink ? 10 : 3);
    click();
    EXPECT_FALSE(window.autoplaycb->checked());
}

constexpr Does kSwitch = Does::SwitchesBackgroundPlay;
constexpr Does kClear = Does::EndsTheBlink;
constexpr Does kNothing = Does::Nothing;

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTable,
    ::testing::Values(
        TableKey{Qt::Key_P, Qt::AltModifier, kSwitch}, TableKey{Qt::Key_B, Qt::AltModifier, kSwitch},
        TableKey{Qt::Key_P, Qt::AltModifier | Qt::ShiftModifier, kSwitch},
        TableKey{Qt::Key_Asterisk, Qt::KeypadModifier, kSwitch},
        // The asterisk of the main block is Shift+8: a digit, not the keypad's key.
        TableKey{Qt::Key_Asterisk, Qt::NoModifier, kNothing},
        TableKey{Qt::Key_P, Qt::ControlModifier, kNothing}, TableKey{Qt::Key_Delete, Qt::NoModifier, kClear},
        TableKey{Qt::Key_Backspace, Qt::NoModifier, kClear},
        TableKey{Qt::Key_Period, Qt::KeypadModifier, kClear},
        TableKey{Qt::Key_Comma, Qt::KeypadModifier, kClear},
        // The keypad's Delete (NumLock off) is its decimal key.
        TableKey{Qt::Key_Delete, Qt::KeypadModifier, kClear},
        // The same signs elsewhere are no Clear keys.
        TableKey{Qt::Key_Period, Qt::NoModifier, kNothing}, TableKey{Qt::Key_Comma, Qt::NoModifier, kNothing},
        TableKey{Qt::Key_Minus, Qt::KeypadModifier, kNothing}));

// Escape closes nothing under the operator lock; without it, it closes an open thumbnail panel
// only, and then the jukebox.
TEST_F(KeysTest, EscapeClosesTheThumbnailsThenTheJukeboxUnlessLocked)
{
    Tjukebox& window = startWith(QStringLiteral("lock=1\n"));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(form->isHidden()) << "the lock did not hold";

    library::config.lock = false;
    window.show();
    QApplication::setActiveWindow(&window);
    window.VisualsPanelClick(nullptr);
    ASSERT_TRUE(window.thumbpanel->hasFocus());
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(window.thumbpanel->isHidden());
    EXPECT_TRUE(form->isHidden()) << "the jukebox window closed with the thumbnails";
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(form->isHidden()) << "closing the jukebox shows the desktop player";
}

TEST_F(KeysTest, InsertSwitchesTheLightShowOnlyWhenTheCommandLineAsksForIt)
{
    Tjukebox& window = startWith();
    QTest::keyClick(&window, Qt::Key_Insert);
    EXPECT_FALSE(window.lightstimer->isEnabled());

    arguments = QStringList{QStringLiteral("musetra"), QStringLiteral("KIOSK"), QStringLiteral("/S"),
                            QStringLiteral("/l")};
    QTest::keyClick(&window, Qt::Key_Insert);
    EXPECT_TRUE(window.lightstimer->isEnabled());
    // The keypad's Insert with NumLock off is its 0, a digit.
    QTest::keyClick(&window, Qt::Key_Insert, Qt::KeypadModifier);
    EXPECT_TRUE(window.lightstimer->isEnabled());
    jukebox::keypadlocked = true;
    QTest::keyClick(&window, Qt::Key_Insert);
    EXPECT_TRUE(window.lightstimer->isEnabled());
    jukebox::keypadlocked = false;
    QTest::keyClick(&window, Qt::Key_Insert);
    EXPECT_FALSE(window.lightstimer->isEnabled());
}

// ---- The application-wide hook ----

struct KeypadCase
{
    int key;
    Qt::KeyboardModifiers modifiers;
    bool numLockHeld;
    int arrives;
    bool keypad;
};

class KeypadDigits : public KeysTest, public ::testing::WithParamInterface<KeypadCase>
{
};

TEST_P(KeypadDigits, TheKeypadGivesDigitsWhateverItsNumLock)
{
    startWith();
    lights.setHeld(LockKey::Num, GetParam().numLockHeld);
    clickKey(probe, GetParam().key, GetParam().modifiers);
    ASSERT_EQ(probe.seen.size(), 2);
    for (const KeyProbe::Seen& seen : probe.seen) {
        EXPECT_EQ(seen.key, GetParam().arrives);
        EXPECT_EQ(seen.keypad, GetParam().keypad);
    }
    EXPECT_EQ(probe.seen[0].type, QEvent::KeyPress);
    EXPECT_EQ(probe.seen[1].type, QEvent::KeyRelease);
}

constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, KeypadDigits,
    ::testing::Values(KeypadCase{Qt::Key_Home, kKeypad, false, Qt::Key_7, true},
                      KeypadCase{Qt::Key_Up, kKeypad, false, Qt::Key_8, true},
                      KeypadCase{Qt::Key_PageUp, kKeypad, false, Qt::Key_9, true},
                      KeypadCase{Qt::Key_Left, kKeypad, false, Qt::Key_4, true},
                      KeypadCase{Qt::Key_Clear, kKeypad, false, Qt::Key_5, true},
                      KeypadCase{Qt::Key_Right, kKeypad, false, Qt::Key_6, true},
                      KeypadCase{Qt::Key_End, kKeypad, false, Qt::Key_1, true},
                      KeypadCase{Qt::Key_Down, kKeypad, false, Qt::Key_2, true},
                      KeypadCase{Qt::Key_PageDown, kKeypad, false, Qt::Key_3, true},
                      KeypadCase{Qt::Key_Insert, kKeypad, false, Qt::Key_0, true},
                      KeypadCase{Qt::Key_Delete, kKeypad, false, Qt::Key_Period, true},
                      // The separate block keeps its meaning.
                      KeypadCase{Qt::Key_Home, Qt::NoModifier, false, Qt::Key_Home, false},
                      KeypadCase{Qt::Key_Insert, Qt::NoModifier, false, Qt::Key_Insert, false},
                      KeypadCase{Qt::Key_Delete, Qt::NoModifier, false, Qt::Key_Delete, false},
                      // While NumLock itself is held the keypad's codes stay.
                      KeypadCase{Qt::Key_Home, kKeypad, true, Qt::Key_Home, true},
                      // Chords with Alt are left alone.
                      KeypadCase{Qt::Key_Home, kKeypad | Qt::AltModifier, false, Qt::Key_Home, true}));

TEST_F(KeysTest, HeldArrowStepsAtMostOncePerHundredMilliseconds)
{
    startWith();
    const QDateTime start = clock.now();
    auto pressAt = [&](int ms, bool repeat) {
        clock.set(start.addMSecs(ms));
        sendKey(probe, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, repeat);
    };
    // Auto-repeat every 30 ms, with the releases Qt puts between the repeats.
    pressAt(0, false);
    for (int ms = 30; ms <= 300; ms += 30) {
        sendKey(probe, QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, true);
        pressAt(ms, true);
    }
    EXPECT_EQ(probe.presses(), 1);

    // Let go and press again: at once.
    clock.set(start.addMSecs(310));
    sendKey(probe, QEvent::KeyRelease, Qt::Key_Left);
    pressAt(320, false);
    EXPECT_EQ(probe.presses(), 2);
    // Slower than the interval: each press comes through.
    pressAt(420, true);
    pressAt(530, true);
    EXPECT_EQ(probe.presses(), 4);
    // Right shares the interval with Left.
    pressAt(560, false);
    sendKey(probe, QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(probe.presses(), 4);
    // Other keys never wait.
    sendKey(probe, QEvent::KeyPress, Qt::Key_Up);
    sendKey(probe, QEvent::KeyPress, Qt::Key_Up);
    EXPECT_EQ(probe.presses(), 6);
}

TEST_F(KeysTest, PrintScreenStartsTheProgramOncePerPress)
{
    startWith();
    sendKey(probe, QEvent::KeyPress, Qt::Key_Print);
    sendKey(probe, QEvent::KeyPress, Qt::Key_Print, Qt::NoModifier, true);
    sendKey(probe, QEvent::KeyRelease, Qt::Key_Print);
    const QString expected =
        QLatin1Char('"') + platform::joinPath(program.path(), QStringLiteral("com.com")) + QLatin1Char('"');
    EXPECT_EQ(processes.started, QStringList{expected});
    // The key itself still reaches its control.
    EXPECT_EQ(probe.seen.size(), 3);
}

TEST_F(KeysTest, MessageLineMovesWithTheProgramsEvents)
{
    Tjukebox& window = startWith();
    window.domessage(QStringLiteral("Added Track: One"));
    const QString before = window.lcd3->shownText();
    timers.now += 1000;
    QEvent nudge(QEvent::User);
    QCoreApplication::sendEvent(&probe, &nudge);
    const QString moved = window.lcd3->shownText();
    EXPECT_NE(moved, before);
    // At most one step per interval of the line.
    QCoreApplication::sendEvent(&probe, &nudge);
    EXPECT_EQ(window.lcd3->shownText(), moved);

    window.lcd3->state(false);
    const QString stopped = window.lcd3->shownText();
    timers.now += 1000;
    QCoreApplication::sendEvent(&probe, &nudge);
    EXPECT_EQ(window.lcd3->shownText(), stopped);
}

TEST_F(KeysTest, TheHookLeavesWithTheWindow)
{
    startWith();
    player::setFrontEnd(nullptr);
    frontEnd.reset();
    ASSERT_EQ(jukebox::jukebox, nullptr);
    lights.setHeld(LockKey::Num, false);
    clickKey(probe, Qt::Key_Home, Qt::KeypadModifier);
    ASSERT_EQ(probe.seen.size(), 2);
    EXPECT_EQ(probe.seen[0].key, Qt::Key_Home);
}

// ---- The light show ----

// Which lights are lit, as "N", "C", "S" in that order.
QString lit(const FakeKeyLights& lights)
{
    QString text;
    if (lights.isOn(LockKey::Num)) text += QLatin1Char('N');
    if (lights.isOn(LockKey::Caps)) text += QLatin1Char('C');
    if (lights.isOn(LockKey::Scroll)) text += QLatin1Char('S');
    return text;
}

struct Pattern
{
    int mode;
    QStringList steps;
    bool shortens;
};

class LightPatterns : public KeysTest, public ::testing::WithParamInterface<Pattern>
{
};

TEST_P(LightPatterns, StepThroughTheirLights)
{
    Tjukebox& window = startWith();
    jukebox::ledmode = GetParam().mode;
    jukebox::leddest = 50;
    jukebox::ledcount = 1;
    jukebox::ledprog = 0;
    window.lightstimer->setInterval(50);
    QStringList steps;
    for (int n = 0; n < GetParam().steps.size(); ++n) {
        window.lightstimerTimer(window.lightstimer);
        steps.append(lit(lights));
    }
    EXPECT_EQ(steps, GetParam().steps);
    EXPECT_EQ(window.lightstimer->interval(), GetParam().shortens ? 50 - jukebox::ledcount : 50);
}

QStringList stepsOf(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

INSTANTIATE_TEST_SUITE_P(Modes, LightPatterns,
                         ::testing::Values(Pattern{1, stepsOf("N C S N C"), true},
                                           Pattern{2, stepsOf("N S C N S"), true},
                                           // ledcount runs 2, 3, 4...: even first.
                                           Pattern{3, stepsOf("C NS C NS"), true},
                                           Pattern{4, stepsOf("NC CS NC CS"), false}));

TEST_F(KeysTest, APatternStartsWithARandomLengthAndModeAndTheRandomOneLightsOneAtATime)
{
    Tjukebox& window = startWith();
    for (quint32 seed : {1u, 2u, 3u, 99u}) {
        QRandomGenerator random(seed);
        QRandomGenerator same(seed);
        window.setLightsRandom(&random);
        jukebox::ledcount = 10;
        jukebox::leddest = 10;
        window.lightstimerTimer(window.lightstimer);
        const int length = 1 + same.bounded(200);
        EXPECT_EQ(jukebox::leddest, length);
        EXPECT_EQ(jukebox::ledmode, 1 + same.bounded(5));
        EXPECT_EQ(jukebox::ledcount, 1);
        // The first step lasts the pattern's length; the patterns that shorten it do so at once.
        if (jukebox::ledmode != 4 && length > 1)
            EXPECT_EQ(window.lightstimer->interval(), length - 1) << "seed " << seed;
        else
            EXPECT_EQ(window.lightstimer->interval(), length) << "seed " << seed;
    }
    // The random pattern lights one light at a time.
    QRandomGenerator random(7);
    window.setLightsRandom(&random);
    jukebox::ledmode = 5;
    jukebox::leddest = 50;
    jukebox::ledcount = 1;
    for (int n = 0; n < 20; ++n) {
        window.lightstimerTimer(window.lightstimer);
        EXPECT_EQ(lit(lights).size(), 1) << "step " << n;
    }
    window.setLightsRandom(nullptr);
}

TEST_F(KeysTest, LightSwitchesPressOnlyTheKeysThatMustChange)
{
    Tjukebox& window = startWith();
    lights.setOn(LockKey::Caps, true);
    window.capson();
    window.numoff();
    window.scrolloff();
    EXPECT_TRUE(lights.pressed.isEmpty());

    lights.setOn(LockKey::Num, true);
    lights.setOn(LockKey::Scroll, true);
    window.off();
    EXPECT_EQ(lights.pressed, (QVector<LockKey>{LockKey::Num, LockKey::Scroll, LockKey::Caps}));
    EXPECT_EQ(lit(lights), QString());

    window.presskey(0x41);
    EXPECT_EQ(lights.pressed.size(), 3) << "only lock keys are pressed";
}

} // namespace

// ---- Keys into the number entry ----

class KeyEntryTest : public NumberEntryTest
{
protected:
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window, static_cast<Qt::Key>(key), modifiers);
    }

    FakeKeyLights lights;
};

TEST_F(KeyEntryTest, KeyboardAndKeypadSelectATrack)
{
    addLibrary(3);
    open();
    // Main-row 1 and Enter for album 0001; the keypad's 2 (its Down with NumLock off) and its Enter
    // for track 002.
    press(Qt::Key_1);
    press(Qt::Key_Return);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("0001"));
    press(Qt::Key_Down, Qt::KeypadModifier);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/2")});
    EXPECT_TRUE(playing());

    // The keypad's 7 with NumLock off (its Home) is a digit; the block's Home is not.
    press(Qt::Key_Home);
    EXPECT_EQ(jukebox::lcd1count, 1);
    press(Qt::Key_Home, Qt::KeypadModifier);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("   7"));
    press(Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("  77"));
    press(Qt::Key_Backspace);
    EXPECT_EQ(jukebox::lcd1count, 1);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("    "));
}

TEST_F(KeyEntryTest, DigitsWaitWhileTheErrorBlinks)
{
    addLibrary(3);
    open();
    for (int key : {Qt::Key_9, Qt::Key_9, Qt::Key_9, Qt::Key_9})
        press(key);
    ASSERT_TRUE(blinking());
    ticker(window->errortimer).fire();
    press(Qt::Key_1);
    press(Qt::Key_Return);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("9999"));
    EXPECT_EQ(jukebox::lcdpanelcurrent, 1);

    // Delete ends the blink at its next tick, which clears the entry.
    press(Qt::Key_Delete);
    EXPECT_TRUE(blinking());
    ticker(window->errortimer).fire();
    EXPECT_FALSE(blinking());
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("    "));
    press(Qt::Key_2);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("   2"));
}

TEST_F(KeyEntryTest, CoinKeyPaysForASelection)
{
    addLibrary(3);
    open(QStringLiteral("[Commercial]\ncreditsystem=1\nplayspercoincredit=1\n"));
    ASSERT_TRUE(library::config.creditsystem);
    for (int key : {Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_2, Qt::Key_0, Qt::Key_0, Qt::Key_1})
        press(key);
    EXPECT_TRUE(queue().isEmpty());
    EXPECT_EQ(jukebox::oldmessage, QStringLiteral("NO CREDITS - INSERT COIN"));
    finishBlink();

    press(Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(window->credit->Credits(), 1);
    for (int key : {Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_2, Qt::Key_0, Qt::Key_0, Qt::Key_1})
        press(key);
    EXPECT_EQ(queue(), QStringList{QStringLiteral("2/1")});
    EXPECT_EQ(window->credit->Credits(), 0);
}

// Under the operator lock a guest's keyboard reaches nothing the operator's menu offers: not the
// theme manager (which writes the settings), not background play on or off, not "Reject All". The
// passcode keyed in lifts the lock and writes the settings, which hold nothing the refused keys
// did; unlocked, the same keys work.
TEST_F(KeyEntryTest, OperatorKeysDoNothingUnderTheLockUntilThePasscodeLiftsIt)
{
    addLibrary(3);
    open(QStringLiteral("lock=1\npassword=123\nautoplay=0\n"));
    const auto pressOperatorKeys = [this] {
        press(Qt::Key_T, Qt::ControlModifier);
        press(Qt::Key_F, Qt::AltModifier);
        press(Qt::Key_QuoteLeft);
        // Three switches of background play: on, off, on.
        press(Qt::Key_P, Qt::AltModifier);
        press(Qt::Key_B, Qt::AltModifier);
        press(Qt::Key_Asterisk, Qt::KeypadModifier);
    };
    for (const int key : {Qt::Key_1, Qt::Key_Return, Qt::Key_1, Qt::Key_Return})
        press(key);
    ASSERT_EQ(queue(), QStringList{QStringLiteral("1/1")});

    pressOperatorKeys();
    EXPECT_EQ(dialogs.modalCount, 0) << "the theme manager opened";
    EXPECT_FALSE(window->autoplaycb->checked());
    EXPECT_EQ(queue(), QStringList{QStringLiteral("1/1")}) << "all rejected";
    for (const int key : {Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_3})
        press(key);
    ASSERT_FALSE(library::config.lock);
    const QByteArray settings = program.read(QStringLiteral("Musetra.ini"));
    EXPECT_TRUE(settings.contains("lock=0") && settings.contains("autoplay=0")) << settings.toStdString();

    pressOperatorKeys();
    EXPECT_EQ(dialogs.modalCount, 1);
    EXPECT_TRUE(queue().isEmpty());
    EXPECT_TRUE(window->autoplaycb->checked());
}

// The keypad types a passcode as the three digits after album 0000. One it cannot type is refused
// at start, with a word on the welcome line (which does not show it) and in the error log (which
// does); the lock stays on, so Escape still cannot leave. One of fewer digits is typed with leading
// zeros.
TEST_F(KeyEntryTest, APasscodeTheKeypadCannotTypeIsRefusedAndTheLockHolds)
{
    addLibrary(3);
    program.write(QStringLiteral("errors.log"), "");
    open(QStringLiteral("lock=1\npassword=4321\nErrorLog=%1/errors.log\n").arg(program.path()));
    fillScreen(*window);
    const QString remedy = QStringLiteral("refused: the keypad types 3 digits, set password=000 to 999");
    EXPECT_EQ(window->lcd3->text(),
              (QStringLiteral("Welcome - 3 albums available - The passcode in the settings is ") + remedy)
                  .toUpper());
    EXPECT_TRUE(QString::fromUtf8(program.read(QStringLiteral("errors.log")))
                    .trimmed()
                    .endsWith(QStringLiteral("Passcode 4321 ") + remedy));
    press(Qt::Key_Escape);
    EXPECT_TRUE(form->isHidden()) << "the lock held the jukebox";
}

TEST_F(KeyEntryTest, AShortPasscodeIsTypedWithLeadingZeros)
{
    addLibrary(3);
    open(QStringLiteral("lock=1\npassword=7\n"));
    for (const int key : {Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_7})
        press(key);
    EXPECT_FALSE(library::config.lock);
    EXPECT_FALSE(blinking());
}

TEST_F(KeyEntryTest, TheWindowSeesKeysTypedIntoItsTextBoxesOnce)
{
    addLibrary(3);
    open();
    arguments = QStringList{QStringLiteral("musetra"), QString(), QString(), QStringLiteral("/L")};
    auto* edit = new QLineEdit(window);
    window->show();
    QApplication::setActiveWindow(window);
    edit->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit);

    // The box takes the digit, and the window enters it too.
    QTest::keyClick(edit, Qt::Key_5);
    EXPECT_EQ(edit->text(), QStringLiteral("5"));
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral("   5"));
    // A key the box leaves alone passes on to the window, which has handled it already.
    window->lightstimer->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Insert);
    EXPECT_TRUE(window->lightstimer->isEnabled());

    // A digit typed into the box, then the guest leaves the box: the next digit is a key of its
    // own, though the system may hand it over in the memory of the last one.
    alignas(QKeyEvent) std::byte memory[sizeof(QKeyEvent)];
    auto pressInMemory = [&](int key) {
        auto* press = new (memory) QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(window->windowHandle(), press);
        press->~QKeyEvent();
    };
    pressInMemory(Qt::Key_6);
    EXPECT_EQ(edit->text(), QStringLiteral("56"));
    window->setFocus();
    pressInMemory(Qt::Key_7);
    EXPECT_EQ(window->lcdtext1->text(), QStringLiteral(" 567"));
}

// ---- Keys that turn pages ----

class KeyPagesTest : public JukeboxTest
{
protected:
    Tjukebox& open(const QStringList& artists, const QString& settings = QString())
    {
        for (const QString& artist : artists)
            program.write(QStringLiteral("music/%1__Hits/title.dat").arg(artist), "One\r\n");
        writeSettings(settings);
        Tjukebox& window = start();
        window.pageSlide().setFrameInterval(0);
        fillScreen(window);
        return window;
    }

    static QStringList names(const char* text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); }

    FakeKeyLights lights;
    FakeClock clock{QDateTime(QDate(2024, 3, 1), QTime(12, 0))};
};

TEST_F(KeyPagesTest, ArrowKeysStepPagesAndAHeldArrowRepeatsByItsTimerOnly)
{
    Tjukebox& window = open(names("A1 A2 A3 A4 A5 A6 A7 A8"));
    ASSERT_EQ(jukebox::currentalbum, 1);
    const QDateTime start = clock.now();

    sendKey(window, QEvent::KeyPress, Qt::Key_Left);
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_TRUE(window.navbuttimer->isEnabled());
    for (int ms = 30; ms <= 150; ms += 30) {
        clock.set(start.addMSecs(ms));
        sendKey(window, QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, true);
        sendKey(window, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, true);
    }
    EXPECT_EQ(jukebox::currentalbum, 3);
    EXPECT_TRUE(window.navbuttimer->isEnabled());

    // Letting go stops the repeat; the next press steps at once.
    sendKey(window, QEvent::KeyRelease, Qt::Key_Left);
    EXPECT_FALSE(window.navbuttimer->isEnabled());
    clock.set(start.addMSecs(160));
    clickKey(window, Qt::Key_Left);
    EXPECT_EQ(jukebox::currentalbum, 5);
    clock.set(start.addMSecs(400));
    clickKey(window, Qt::Key_Right);
    EXPECT_EQ(jukebox::currentalbum, 3);
    // The keypad's arrows are digits, not page steps.
    clock.set(start.addMSecs(600));
    clickKey(window, Qt::Key_Left, Qt::KeypadModifier);
    EXPECT_EQ(jukebox::currentalbum, 3);
}

TEST_F(KeyPagesTest, LettersJumpWhileTheKeypadIsLockedAndCtrlTOpensOnlyTheThemes)
{
    Tjukebox& window = open(names("Abba Beck Cher Dido Tina Toto"));
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(jukebox::currentalbum, 1);
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(jukebox::currentalbum, 5);

    jukebox::keypadlocked = true;
    QTest::keyClick(&window, Qt::Key_C);
    EXPECT_EQ(jukebox::currentalbum, 3);
    QTest::keyClick(&window, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(jukebox::currentalbum, 1);
}

// Alt+C adds a coin's credits and Alt+S a free one where the operator allows it; neither letter jumps
// from the guest's page, and without Alt the letters are no chords.
TEST_F(KeyPagesTest, CoinAndFreeCreditChordsLeaveTheGuestsPage)
{
    Tjukebox& window = open(names("Abba Beck Cher Dido Tina Toto"));
    library::config.creditsystem = true;
    library::config.playspercoincredit = 3;
    library::config.allowfreecredit = false;
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(window.credit->Credits(), 3);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(window.credit->Credits(), 3);
    library::config.allowfreecredit = true;
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(window.credit->Credits(), 4);
    EXPECT_EQ(jukebox::currentalbum, 1);
    QTest::keyClick(&window, Qt::Key_C);
    QTest::keyClick(&window, Qt::Key_S);
    EXPECT_EQ(window.credit->Credits(), 4);
}

TEST_F(KeyPagesTest, AStepOntoTheUnderscoreAlbumsGoesOnAsTheLetterA)
{
    Tjukebox& window = open(names("Abba Beck Cher Dido _Misc _Xmas"), QStringLiteral("WrapOnUnderscore=1\n"));
    const QDateTime start = clock.now();
    clickKey(window, Qt::Key_Left);
    EXPECT_EQ(jukebox::currentalbum, 3);
    clock.set(start.addMSecs(500));
    clickKey(window, Qt::Key_Left);
    EXPECT_EQ(jukebox::currentalbum, 1);
}

// The on-screen keyboard program as the jukebox starts and closes it.

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QPushButton>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

#include "library/osk.h"
#include "osk/onscreenkeyboard.h"
#include "platform/mailslot.h"

namespace {

const QString kProgram = QStringLiteral(MUSOSK_PROGRAM);

TEST(Musosk, ShowsUntilCloseArrivesOnItsMailslot)
{
    QWidget jukebox;
    jukebox.setStyleSheet(QStringLiteral("background: red"));
    jukebox.showFullScreen();
    jukebox.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&jukebox));
    QTest::qWait(200);
    ASSERT_EQ(QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(jukebox.width() / 2,
                                                                                   jukebox.height() * 5 / 6),
              QColor(Qt::red));
    QProcess keyboard;
    keyboard.start(kProgram, {QStringLiteral("192"), QStringLiteral("50"), QStringLiteral("35"),
                              QStringLiteral("ALPHA")});
    ASSERT_TRUE(keyboard.waitForStarted());
    // The mailslot takes messages once the keyboard listens on it.
    ASSERT_TRUE(
        QTest::qWaitFor([] { return platform::writeMailslot(library::oskMailslotName(), "ping"); }, 10000));
    EXPECT_EQ(keyboard.state(), QProcess::Running);
    // It shows over the focused full-screen jukebox, in the lowest third of the screen.
    const QPoint keys(jukebox.width() / 2, jukebox.height() * 5 / 6);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(keys) != Qt::red; },
        5000));
    ASSERT_TRUE(platform::writeMailslot(library::oskMailslotName(), QByteArray("close", 6)));
    ASSERT_TRUE(keyboard.waitForFinished(10000));
    EXPECT_EQ(keyboard.exitCode(), 0);
}

// The ripping dialogs open the keyboard without "ALPHA" to take artist and album names, and keep
// their lowest third free for it.
TEST(Musosk, TheKeyboardForNamesHasLettersAndStandsInTheLowestThird)
{
    const osk::OnScreenKeyboard keyboard;
    QStringList keys;
    for (const QPushButton* key : keyboard.findChildren<QPushButton*>())
        keys << key->text();
    EXPECT_TRUE(keys.contains(QStringLiteral("Q")) && keys.contains(QStringLiteral("7")))
        << keys.join(QLatin1Char(' ')).toStdString();
    const QRect place = osk::keyboardGeometry(
        {QStringLiteral("192"), QStringLiteral("50"), QStringLiteral("35")}, QRect(0, 0, 1024, 768));
    EXPECT_GE(place.top(), 768 * 2 / 3);
    EXPECT_EQ(place.bottom(), 767);
}

TEST(Musosk, WithoutAnXServerItSaysSoAndEnds)
{
    QProcess keyboard;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    keyboard.setProcessEnvironment(environment);
    keyboard.start(kProgram, {QStringLiteral("192"), QStringLiteral("50"), QStringLiteral("35")});
    ASSERT_TRUE(keyboard.waitForFinished(10000));
    EXPECT_EQ(keyboard.exitCode(), 1);
    EXPECT_TRUE(keyboard.readAllStandardError().contains("no X server"));
}

// Killed, the jukebox closes nothing: the keyboard it started ends by itself, its mailslot with it.
TEST(Musosk, EndsWhenTheProgramThatStartedItIsKilled)
{
    QProcess jukebox;
    jukebox.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("\"$0\" 1 50 35 & wait"), kProgram});
    ASSERT_TRUE(
        QTest::qWaitFor([] { return platform::writeMailslot(library::oskMailslotName(), "ping"); }, 9000));
    jukebox.kill();
    EXPECT_TRUE(
        QTest::qWaitFor([] { return !QFile::exists(platform::mailslotPath(library::oskMailslotName())); }));
}

} // namespace

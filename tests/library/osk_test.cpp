#include <QByteArray>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>
#include <gtest/gtest.h>

#include "fakesystem.h"
#include "library/osk.h"
#include "platform/mailslot.h"
#include "printers.h"

TEST(Osk, CommandLineTakesAQuarterOfTheScreen)
{
    const struct
    {
        int height;
        bool alpha;
        const char* expected;
    } screens[] = {{768, false, "musosk.exe 192 50 35"},
                   {768, true, "musosk.exe 192 50 35 ALPHA"},
                   {1080, false, "musosk.exe 270 50 35"},
                   {601, true, "musosk.exe 150 50 35 ALPHA"}};
    for (const auto& s : screens)
        EXPECT_EQ(library::oskCommandLine(s.height, s.alpha), QString::fromLatin1(s.expected)) << s.expected;
}

TEST(Osk, ShowStartsTheKeyboardWithoutWaiting)
{
    FakeProcesses processes;
    library::keyboardshowing = false;
    library::osk(true, true);
    const int height = QGuiApplication::primaryScreen()->geometry().height();
    ASSERT_EQ(processes.started.size(), 1);
    EXPECT_EQ(processes.started[0], library::oskCommandLine(height, true));
    EXPECT_TRUE(library::keyboardshowing);
}

// Jukeboxes on two displays of one machine each close their own keyboard only.
TEST(Osk, CloseReachesOnlyTheKeyboardOfItsDisplayWithItsZeroByte)
{
    const QByteArray display = qgetenv("DISPLAY");
    const auto restore = qScopeGuard([&] { qputenv("DISPLAY", display); });
    qputenv("DISPLAY", ":1");
    platform::Mailslot other;
    ASSERT_TRUE(other.open(library::oskMailslotName()));
    qputenv("DISPLAY", ":2");
    platform::Mailslot keyboard;
    ASSERT_TRUE(keyboard.open(library::oskMailslotName()));
    library::keyboardshowing = true;
    library::osk(false, false);
    EXPECT_FALSE(library::keyboardshowing);
    EXPECT_EQ(keyboard.read(256), QByteArray("close\0", 6));
    EXPECT_EQ(keyboard.read(256), QByteArray());
    EXPECT_EQ(other.read(256), QByteArray());
}

TEST(Osk, CloseWithoutAKeyboardStartsNothingAndReturns)
{
    FakeProcesses processes;
    library::keyboardshowing = true;
    library::osk(false, true);
    library::writeoskmailslot(QStringLiteral("close"));
    EXPECT_FALSE(library::keyboardshowing);
    EXPECT_TRUE(processes.started.isEmpty());
}

#include <gtest/gtest.h>

#include "answeringdialogs.h"
#include "platform/fatal.h"
#include "printers.h"
#include "tempfolder.h"

TEST(Fatal, ShowsAnErrorBoxThenHalts)
{
    AnsweringDialogs dialogs;
    ThrowingHalt halting;
    EXPECT_THROW(platform::fatalError(QStringLiteral("caption"), QStringLiteral("text")), platform::Halted);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("caption"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("text"));
    EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::Error);
}

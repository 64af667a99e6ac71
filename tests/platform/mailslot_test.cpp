#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

#include "platform/mailslot.h"
#include "printers.h"

namespace {
const QString kName = QStringLiteral("TESTSLOT");
} // namespace

TEST(Mailslot, LivesInTheRuntimeFolder)
{
    EXPECT_EQ(platform::mailslotPath(kName),
              QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/TESTSLOT"));
}

TEST(Mailslot, WritersNeverWait)
{
    // Nobody reads: the message is refused at once.
    EXPECT_FALSE(platform::writeMailslot(kName, QByteArrayLiteral("close")));

    // A reader that never reads: once its queue is full, further messages are dropped.
    platform::Mailslot slot;
    ASSERT_TRUE(slot.open(kName));
    int refused = 0;
    for (int i = 0; i < 2000; ++i)
        refused += platform::writeMailslot(kName, QByteArray(1024, 'm')) ? 0 : 1;
    EXPECT_GT(refused, 0);
}

TEST(Mailslot, ClosingRemovesItAndAStaleOneIsReplaced)
{
    const QString path = platform::mailslotPath(kName);
    {
        platform::Mailslot slot;
        ASSERT_TRUE(slot.open(kName));
        EXPECT_TRUE(QFileInfo::exists(path));
        EXPECT_TRUE(slot.close());
        EXPECT_FALSE(slot.close());
        EXPECT_FALSE(slot.isOpen());
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    // A file left behind by a program that ended without closing.
    {
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    platform::Mailslot slot;
    ASSERT_TRUE(slot.open(kName));
    ASSERT_TRUE(platform::writeMailslot(kName, QByteArrayLiteral("hello")));
    EXPECT_EQ(slot.read(256), QByteArrayLiteral("hello"));
}

TEST(Mailslot, AMailslotInUseIsNotTakenOver)
{
    platform::Mailslot first;
    ASSERT_TRUE(first.open(kName));
    platform::Mailslot second;
    EXPECT_FALSE(second.open(kName));
    ASSERT_TRUE(platform::writeMailslot(kName, QByteArrayLiteral("mine")));
    EXPECT_EQ(first.read(256), QByteArrayLiteral("mine"));
}

TEST(Mailslot, ANameTooLongForASocketFailsCleanly)
{
    const QString longName(200, QLatin1Char('n'));
    platform::Mailslot slot;
    EXPECT_FALSE(slot.open(longName));
    EXPECT_FALSE(platform::writeMailslot(longName, QByteArrayLiteral("x")));
}

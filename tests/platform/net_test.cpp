#include <QString>
#include <QTcpServer>
#include <gtest/gtest.h>

#include "platform/net.h"
#include "printers.h"

// Only ever loopback: the tests send nothing to any other machine.
TEST(Network, LoopbackAnswersOneEcho)
{
    const int replies = platform::network().echo(QStringLiteral("127.0.0.1"), 2000);
    if (replies == platform::Network::kNoSocket)
        GTEST_SKIP() << "the kernel refuses both datagram and raw ICMP sockets to this user";
    EXPECT_EQ(replies, 1);
    // Each echo is matched by its own sequence number, so a second one is counted afresh.
    EXPECT_EQ(platform::network().echo(QStringLiteral("127.0.0.1"), 2000), 1);
}

TEST(Network, ConnectsOnlyWhereAServerListens)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const int port = server.serverPort();
    EXPECT_TRUE(platform::network().connects(QStringLiteral("127.0.0.1"), port, 2000));
    server.close();
    EXPECT_FALSE(platform::network().connects(QStringLiteral("127.0.0.1"), port, 2000));
    EXPECT_FALSE(platform::network().connects(QStringLiteral("bad host name"), port, 2000));
}

// These names are rejected by the resolver itself, before any query would leave the machine.
TEST(Network, UnresolvedHostGivesMinusOneWithoutSending)
{
    for (const char* name :
         {"", "bad host name",
          "a-label-far-longer-than-the-sixty-three-characters-a-dns-label-may-have.invalid"})
        EXPECT_EQ(platform::network().echo(QString::fromLatin1(name), 2000), platform::Network::kUnresolved)
            << name;
}

#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

#include "jukebox/creditssystem.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/programfolder.h"
#include "printers.h"
#include "tempfolder.h"

using namespace jukebox;
using library::config;

namespace {

// Records what the counter shows.
class RecordingView : public CreditView
{
public:
    void domessage(const QString& text) override { messages << text; }
    void setCreditStat(const QString& text) override { shown << text; }

    QStringList messages;
    QStringList shown;
};

class Credits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library::resetGlobals();
        platform::setProgramFolder(folder.path());
        config.playspercoincredit = 3;
    }
    void TearDown() override
    {
        platform::setProgramFolder(QString());
        library::resetGlobals();
    }

    // A total as the settings file holds it.
    int64_t stored(const char* key) const
    {
        library::tinifile ini;
        ini.inipath = folder.file(QStringLiteral("Musetra.ini"));
        ini.section = QStringLiteral("Commercial");
        return ini.readppint64(QString::fromLatin1(key), QStringLiteral("-1"));
    }

    TempFolder folder;
    RecordingView view;
    TCredits credit{&view};
};

} // namespace

TEST_F(Credits, ACoinAddsItsPlaysToCountAndTotalAndWritesTheSettings)
{
    config.credittotal = 10;
    credit.AddCoinCredit();
    EXPECT_EQ(credit.Credits(), 3);
    EXPECT_EQ(config.credittotal, 13);
    EXPECT_EQ(stored("credittotal"), 13);
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("COIN INSERTED - THANK YOU")});
    EXPECT_EQ(view.shown.last(), QStringLiteral("3"));

    credit.AddFreeCredit();
    EXPECT_EQ(credit.Credits(), 4);
    EXPECT_EQ(config.freecredittotal, 1);
    EXPECT_EQ(stored("freecredittotal"), 1);
    EXPECT_EQ(config.credittotal, 13);
    EXPECT_EQ(view.messages.last(), QStringLiteral("ADDED FREE CREDIT"));
    EXPECT_EQ(view.shown.last(), QStringLiteral("4"));
}

TEST_F(Credits, UsingNeedsACreditAndARefundGivesItBackQuietly)
{
    EXPECT_FALSE(credit.UseCredit());
    EXPECT_EQ(credit.Credits(), 0);
    EXPECT_TRUE(view.shown.isEmpty());

    credit.AddCoinCredit();
    const int64_t total = config.credittotal;
    view.messages.clear();
    ASSERT_TRUE(credit.UseCredit());
    EXPECT_EQ(view.shown.last(), QStringLiteral("2"));
    // A refused repeat: the credit used for it comes back; no total changes, nothing is said.
    credit.RefundCredit();
    EXPECT_EQ(credit.Credits(), 3);
    EXPECT_EQ(view.shown.last(), QStringLiteral("3"));
    EXPECT_EQ(config.credittotal, total);
    EXPECT_TRUE(view.messages.isEmpty());

    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(credit.UseCredit());
    EXPECT_FALSE(credit.UseCredit());
    EXPECT_EQ(credit.Credits(), 0);
}

TEST_F(Credits, PlaysPerCoinOutsideOneToAHundredCannotTakeCreditsOrGiveAbsurdOnes)
{
    const std::pair<int32_t, int32_t> cases[] = {{-5, 1}, {0, 1}, {1, 1}, {100, 100}, {250, 100}};
    for (const auto& [setting, plays] : cases) {
        TCredits fresh(&view);
        config.playspercoincredit = setting;
        config.credittotal = 0;
        fresh.AddCoinCredit();
        EXPECT_EQ(fresh.Credits(), plays) << setting;
        EXPECT_EQ(config.credittotal, plays) << setting;
    }
}

TEST_F(Credits, TheCountShowsWholeAndTotalsStaySixtyFourBit)
{
    for (int i = 0; i < 12345; ++i)
        credit.RefundCredit();
    EXPECT_EQ(view.shown.last(), QStringLiteral("12345"));

    config.playspercoincredit = 100;
    config.credittotal = 5'000'000'000;
    credit.AddCoinCredit();
    EXPECT_EQ(stored("credittotal"), 5'000'000'100);
    config.credittotal = std::numeric_limits<int64_t>::max() - 1;
    credit.AddCoinCredit();
    EXPECT_EQ(config.credittotal, std::numeric_limits<int64_t>::max());
}

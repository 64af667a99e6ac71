#include "jukebox/creditssystem.h"

#include <algorithm>
#include <limits>

#include "library/global.h"
#include "library/inifuncs.h"

namespace jukebox {

namespace {

// The plays a coin buys. The settings file may hold anything; outside 1..100 a coin would take
// credits away or give an absurd number.
constexpr int32_t kFewestPlaysPerCoin = 1;
constexpr int32_t kMostPlaysPerCoin = 100;

// `value` + `amount`, held at the type's largest value instead of overflowing.
template<typename Int> Int addHeld(Int value, Int amount)
{
    if (amount > 0 && value > std::numeric_limits<Int>::max() - amount)
        return std::numeric_limits<Int>::max();
    return value + amount;
}

} // namespace

TCredits::TCredits(CreditView* view) : view_(view) {}

CreditView& TCredits::view()
{
    static CreditView nowhere;
    return view_ ? *view_ : nowhere;
}

void TCredits::AddCoinCredit()
{
    using library::config;
    const int32_t plays = std::clamp(config.playspercoincredit, kFewestPlaysPerCoin, kMostPlaysPerCoin);
    fcredits = addHeld(fcredits, plays);
    config.credittotal = addHeld<int64_t>(config.credittotal, plays);
    library::writeini();
    view().domessage(QStringLiteral("COIN INSERTED - THANK YOU"));
    updatecreditview();
}

void TCredits::AddFreeCredit()
{
    using library::config;
    fcredits = addHeld(fcredits, 1);
    config.freecredittotal = addHeld<int64_t>(config.freecredittotal, 1);
    library::writeini();
    view().domessage(QStringLiteral("ADDED FREE CREDIT"));
    updatecreditview();
}

void TCredits::RefundCredit()
{
    fcredits = addHeld(fcredits, 1);
    updatecreditview();
}

bool TCredits::UseCredit()
{
    if (fcredits <= 0) return false;
    --fcredits;
    updatecreditview();
    return true;
}

void TCredits::updatecreditview()
{
    // The whole count: cutting it to four characters would show 12345 credits as 1234.
    view().setCreditStat(QString::number(fcredits));
}

} // namespace jukebox

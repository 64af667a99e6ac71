#pragma once

// The jukebox's credit counter: the credits of the running program (every run starts with none)
// and the all-time totals, which live in the settings record and are written to the settings
// file at once. Owned by the jukebox window (its field `credit`); GUI thread only.

#include <QString>
#include <cstdint>

namespace jukebox {

// What the credit counter shows on the jukebox window. The window implements it; the default
// shows nothing.
class CreditView
{
public:
    virtual ~CreditView() = default;
    // Shows `text` on the scrolling message line.
    virtual void domessage(const QString& /*text*/) {}
    // Shows `text` as the credit count (the label `CreditStat`).
    virtual void setCreditStat(const QString& /*text*/) {}
};

class TCredits
{
public:
    // `view` (not owned) shows the count and the messages; nullptr shows them nowhere.
    explicit TCredits(CreditView* view = nullptr);

    int32_t Credits() const { return fcredits; }

    // A coin was inserted: the plays per coin are added to the count and to the coin total.
    void AddCoinCredit();
    // One free credit, counted in the free total.
    void AddFreeCredit();
    // One credit given back; no total changes and nothing is said (the caller says why).
    void RefundCredit();
    // Takes one credit; false (and nothing changes) when there is none.
    [[nodiscard]] bool UseCredit();
    void updatecreditview();

private:
    CreditView& view();

    int32_t fcredits = 0;
    CreditView* view_;
};

} // namespace jukebox

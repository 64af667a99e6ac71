#pragma once

// A clock that stands at a set moment while an instance lives.

#include "platform/clock.h"

class FakeClock final : public platform::Clock
{
public:
    explicit FakeClock(const QDateTime& at) : at_(at) { platform::setClock(this); }
    ~FakeClock() override { platform::setClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    QDateTime now() const override { return at_; }
    void set(const QDateTime& at) { at_ = at; }

private:
    QDateTime at_;
};

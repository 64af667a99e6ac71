#pragma once

// A clock that stands at a set moment while an instance lives.

#include "installedfake.h"
#include "platform/clock.h"

class FakeClock final : public InstalledFake<platform::Clock, &platform::setClock>
{
public:
    explicit FakeClock(const QDateTime& at) : at_(at) {}

    QDateTime now() const override { return at_; }
    void set(const QDateTime& at) { at_ = at; }

private:
    QDateTime at_;
};

#pragma once

// Base of the test fakes that stand in for a seam: the fake is installed through `install` while
// it lives, and the real implementation is back once it is gone. Fakes are neither copied nor
// moved, since the seam holds their address.

template<class Interface, void (*install)(Interface*)> class InstalledFake : public Interface
{
public:
    InstalledFake() { install(this); }
    ~InstalledFake() override { install(nullptr); }
    InstalledFake(const InstalledFake&) = delete;
    InstalledFake& operator=(const InstalledFake&) = delete;
};

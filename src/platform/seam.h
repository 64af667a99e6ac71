#pragma once

// One replaceable service behind an interface: the implementation a test (or the program) installed,
// else a default built on first use and kept for the rest of the run. Each seam's .cpp forwards its
// getter and setter to the one Seam of its interface and default. Installing is not
// synchronised: it happens before the code that uses the seam runs.

namespace platform {

template<class Interface, class Default> class Seam
{
public:
    // The installed implementation, or the default when none is installed.
    static Interface& get()
    {
        if (installed_) return *installed_;
        // Built on first use, so a program that always installs its own never builds the default.
        static Default fallback;
        return fallback;
    }

    // Installs another implementation (not owned); nullptr restores the default.
    static void set(Interface* replacement) { installed_ = replacement; }

private:
    static inline Interface* installed_ = nullptr;
};

} // namespace platform

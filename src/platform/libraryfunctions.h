#pragma once

// A C library the program loads on its first use instead of at start (a start that never uses
// it pays none of its memory), by the soname it was built against, and the functions it needs
// from it. The library stays loaded for the program's life.

#include <QLibrary>
#include <QString>
#include <type_traits>

namespace platform {

class LibraryFunctions
{
public:
    explicit LibraryFunctions(const QString& soname) : library_(soname) { complete_ = library_.load(); }

    // Sets `function` to the library's function `name`; after one that is missing, none.
    template<class Function> void resolve(Function& function, const char* name)
    {
        if (!complete_) return;
        function = reinterpret_cast<std::remove_reference_t<Function>>(library_.resolve(name));
        complete_ = function != nullptr;
    }

    // True when the library loaded and every function asked for was found.
    bool complete() const { return complete_; }
    QString errorString() const { return library_.errorString(); }

private:
    QLibrary library_;
    bool complete_ = false;
};

} // namespace platform

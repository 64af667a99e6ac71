#pragma once

// Mesa unloads its driver when the X connection closes at the end of a test program, before the
// leak check runs; the allocations it keeps for the life of the process then have no module name
// and no suppression can match them. Pinning the driver, where a test loaded it, keeps its name
// on them.

#include <dlfcn.h>

inline void pinGraphicsDriver()
{
    for (const char* name : {"libgallium_dri.so", "swrast_dri.so"})
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

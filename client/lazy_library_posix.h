// Shared libraries opened on first use rather than at start-up: libcurl (with the two dozen
// libraries it brings) and libcrypto cost the first paint time and memory, though nothing needs
// them before the first translation.
#pragma once

#include <dlfcn.h>

// The library with this soname, kept open for the life of the process; nullptr when it cannot be
// loaded. Bound lazily, as it would have been had the program been linked against it.
inline void* open_library(const char* soname) { return dlopen(soname, RTLD_LAZY | RTLD_LOCAL); }

// Points `function` at the library's function of that name; false, leaving it null, when the
// library is not open or has no such function.
template <class Function>
bool look_up(void* library, const char* name, Function*& function) {
    function = library ? reinterpret_cast<Function*>(dlsym(library, name)) : nullptr;
    return function != nullptr;
}

#pragma once
// Link-time wrappers of imported functions. MinGW calls an imported function through the
// pointer `__imp_NAME` in the import table, so `-Wl,--wrap=NAME` catches nothing; the build
// passes `-Wl,--wrap=__imp_NAME` instead (lorvik_strict_rules in CMakeLists.txt), which
// sends every use of that pointer to `__wrap___imp_NAME`, a pointer STRICT_WRAP defines to
// the wrapper, while `__real___imp_NAME` (STRICT_REAL) is the import table's own pointer.
// A wrapper calls the real function through STRICT_REAL's pointer: a plain call would be
// wrapped again.

#define STRICT_REAL(name) extern "C" decltype(&::name) __real___imp_##name

#define STRICT_WRAP(name, wrapper)                    \
    extern "C" decltype(&::name) __wrap___imp_##name; \
    decltype(&::name) __wrap___imp_##name = wrapper

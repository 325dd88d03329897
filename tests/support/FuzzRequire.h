#pragma once

// A fuzz target's check: a broken invariant traps, and libFuzzer keeps the input.
#define REQUIRE(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (false)

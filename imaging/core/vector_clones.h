// Hot row loops that the compiler vectorises only with wider instruction
// sets (three-byte pixels need byte shuffles): built once per set and picked
// for the running processor when the program loads.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QUILLET_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUILLET_VECTOR_CLONES
#endif

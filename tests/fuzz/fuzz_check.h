#pragma once
// An invariant that fails the fuzzer run where it breaks, with its line.
#include <cstdio>
#include <cstdlib>

#define CHECK(cond)                                                              \
  do {                                                                           \
    if (!(cond)) {                                                               \
      std::fprintf(stderr, "invariant failed: %s (line %d)\n", #cond, __LINE__); \
      std::abort();                                                              \
    }                                                                            \
  } while (0)

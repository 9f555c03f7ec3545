// A failed property in a fuzz target: say which one and abort, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define K7310_FUZZ_CHECK(cond)                                                   \
  do {                                                                           \
    if (!(cond)) {                                                               \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                              \
    }                                                                            \
  } while (0)

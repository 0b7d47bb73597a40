#pragma once
// Stops the run when a property of the code under test does not hold.
#include "store/profile_store.h"

#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (0)

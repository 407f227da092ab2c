// For the tests of the program's sound loader, which run with the real
// module: each case runs in a process of its own, since a process loads the
// module at most once.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "backends/linux/loader/mapped.h"

namespace loader_test {

// Expects `check` to return 0 in a child process (else it returns the number
// of the expectation that failed) and the child's error output to match
// `printed`.
template <typename Check>
void InOwnProcess(Check check, const char* printed = "") {
  EXPECT_EXIT(
      {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::exit(check());
      },
      testing::ExitedWithCode(0), printed);
}

}  // namespace loader_test

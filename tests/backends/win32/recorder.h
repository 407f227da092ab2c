// What the backend reported through its test seam, and the fixed clock.
#pragma once

#include <string>
#include <vector>

namespace wine_test {

// The clock reads `hh_mm_ss` of day `day` from now on.
void FixClock(const std::string& hh_mm_ss, int day = 0);

void ClearCalls();
std::vector<std::string> Calls();

// Waits up to `timeout_ms` for a recorded call that starts with `prefix`.
bool WaitForCall(const std::string& prefix, int timeout_ms = 5000);

}  // namespace wine_test

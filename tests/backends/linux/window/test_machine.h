// What the window tests put in place of the clock, the sound player and the
// speech engine: a clock the test sets, and a record of what was announced.
#pragma once

#include <string>
#include <vector>

namespace test_machine {

// The clock reads `hh_mm_ss` of day `day` from now on.
void SetClock(const std::string& hh_mm_ss, int day = 0);
// Every sound and speech call so far, e.g. "PlaySoundSync /a.wav", "Speak 1 2 3 4".
std::vector<std::string> Calls();
bool Called(const std::string& call);
void ClearCalls();

}  // namespace test_machine

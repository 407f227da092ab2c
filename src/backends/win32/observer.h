// Where the Windows integration tests look into the backend. The program
// links observer_none.cpp (nobody watching, the real clock); the test
// executable links its own definitions to record calls and fix the clock.
#pragma once

#include <cstdint>
#include <string>

namespace win32 {

// Told about each sound and speech request just before it reaches the system,
// e.g. "PlaySound C:\a.wav|0x20009", "Speak 1 2 3 4", "Beep 500 300".
void NotePlatformCall(const std::string& call);

// True when the clock has been fixed; `local_seconds` then holds the fixed
// time as platform::LocalClockSeconds counts it.
bool FixedLocalClock(std::int64_t& local_seconds);

}  // namespace win32

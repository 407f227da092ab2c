// The once-a-second timer turned into one evaluation per clock minute, and
// every alarm rung, also one whose minute the clock did not see.
#pragma once

#include <string>

// The window's one timer.
constexpr int kClockTimerId = 1000;

// Handles one timer event with the given timer id.
void ClockTick(int timer_id);

// The window starts running: an alarm due from this minute on rings, also
// when the first tick comes only after it (the process stopped at once).
void StartClockTick();

// Forgets every minute the tick has seen, as before the program's start.
void ResetClockTick();

// "hh:mm" in the clock label's 12-hour form: hour 0 shows as 12, 13 to 23 as
// 1 to 11, no leading zero, no AM/PM.
std::string TwelveHourLabel(const std::string& hh_mm);

// The once-a-second timer turned into one evaluation per clock minute.
#pragma once

#include <string>

// The window's one timer.
constexpr int kClockTimerId = 1000;

// "hh:mm" of the last minute the tick processed; cleared to force the next
// tick to process the current minute again.
extern std::string LastMinute;

// Handles one timer event with the given timer id.
void ClockTick(int timer_id);

// "hh:mm" in the clock label's 12-hour form: hour 0 shows as 12, 13 to 23 as
// 1 to 11, no leading zero, no AM/PM.
std::string TwelveHourLabel(const std::string& hh_mm);

// PLACEHOLDER: replaced by the rules module.
#include "rules/clock_tick.h"
std::string LastMinute;
void ClockTick(int) {}
std::string TwelveHourLabel(const std::string& t) { return t; }

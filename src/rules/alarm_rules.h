// Rules 8 and 9: the two custom alarms, set in the window's time pickers.
#pragma once

#include <string>

#include "rules/clock_digits.h"
#include "platform/rule_list.h"

// True when the time `alarm`'s picker shows is the clock time `now`.
bool AlarmIsDue(Rule alarm, const ClockDigits& now);

// The minute of the day (0 to 1439) that `alarm`'s picker shows.
int AlarmMinuteOfDay(Rule alarm);

// What `alarm` announces when it rings at clock time `now`: its words for
// `now` or its sound file, behind the alarm marker.
std::string AlarmAnnouncement(Rule alarm, const ClockDigits& now, bool hour12);

// The alarm's spoken time: "7 oh 5", "7 30" (19:30 on a 12-hour clock),
// "19 30" otherwise, "12 oh 0" for midnight on a 12-hour clock.
std::string AlarmWords(const ClockDigits& time, bool hour12);

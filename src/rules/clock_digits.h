// A clock time as the rules see it: four digits HHMM.
#pragma once

#include <optional>
#include <string_view>

// Hour tens, hour units, minute tens, minute units; each 0 to 9.
struct ClockDigits {
  int h1, h2, m1, m2;
};

// Reads "H:MM" or "HH:MM", optionally followed by ":SS"; blanks around the
// hour are allowed. Any other text is no clock time at all, so that odd
// input can neither match a rule nor be read past its end.
std::optional<ClockDigits> ClockDigitsFromText(std::string_view text);

int HourOf(const ClockDigits& digits);
int MinuteOf(const ClockDigits& digits);

// The hour on a 12-hour dial without AM/PM: 0 reads 12, 13 and later lose 12.
int TwelveHour(int hour);

// The same time on a 12-hour dial, hour zero-padded (13:45 reads 01:45).
ClockDigits TwelveHourDigits(const ClockDigits& digits);

// The decimal digits at the start of `text` after leading blanks; 0 when
// there are none. Saturates instead of overflowing on endless digits.
int LeadingDecimal(std::string_view text);

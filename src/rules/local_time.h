// The clock as points in time: minutes counted in local reckoning from a
// midnight long ago, so that a gap across midnight or over days is told
// apart from a minute of the same day.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

using LocalMinute = std::int64_t;

inline constexpr LocalMinute kMinutesInADay = 24 * 60;

// The minute the clock shows now.
LocalMinute CurrentLocalMinute();

// The local time now as "hh:mm:ss", 24-hour, two digits per field.
std::string LocalTimeText();

// "hh:mm" of `minute`'s time of day.
std::string MinuteText(LocalMinute minute);

// The last minute the clock tick processed in full. Forgotten (reset) so that
// the next tick processes the current minute again: when a hover starts, and
// when the 12-hour clock is chosen.
extern std::optional<LocalMinute> LastMinute;

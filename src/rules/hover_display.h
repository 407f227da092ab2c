// Resting the mouse on a rule shows the next time that matches it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Shown when no minute of the day matches (the rule has neither words nor a
// sound file, or no clock is switched on): an old time would mislead.
inline constexpr char kNoMatchText[] = "--:--";

// The highlighted rule check box, 0 when none; the clock tick pauses while
// it is set.
extern std::int32_t HoverControl;

// Handles the cursor arriving over the control with id `control_id` (0 for
// the window itself).
void HoverDisplay(int control_id);

// The time a hover of control `control_id` would put into the clock label
// ("1:23", "--:--"); nothing where a hover shows no time (the alarms, other
// controls, the 3:21 box without the 12-hour clock). Changes nothing shown.
std::optional<std::string> NextMatchingTimeText(int control_id);

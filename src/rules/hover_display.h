// Resting the mouse on a rule shows the next time that matches it.
#pragma once

#include <cstdint>
#include <optional>

#include "rules/rule_list.h"

// The highlighted rule check box, 0 when none; the clock tick pauses while
// it is set.
extern std::int32_t HoverControl;

struct NextMatch {
  int hour;    // 0 to 23
  int minute;  // 0 to 59
  bool found_in_12_hour_trial;
};

// Walks forward from the current minute over one whole day and returns the
// first minute at which `rule` alone gives an announcement.
std::optional<NextMatch> FindNextMatch(Rule rule, bool allow_24_hour_trial);

// Handles the cursor arriving over the control with id `control_id` (0 for
// the window itself).
void HoverDisplay(int control_id);

// The next time at which one rule alone gives an announcement.
#pragma once

#include <optional>

#include "platform/rule_list.h"

struct NextMatch {
  int hour;    // 0 to 23
  int minute;  // 0 to 59
  bool found_in_12_hour_trial;
};

// Walks forward from the current minute over one whole day and returns the
// first minute at which `rule` alone gives an announcement.
std::optional<NextMatch> FindNextMatch(Rule rule, bool allow_24_hour_trial);

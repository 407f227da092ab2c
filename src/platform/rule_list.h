// The ten clock rules, in the one order used everywhere: settings, window
// rows and the switches handed to EvaluateRules.
#pragma once

#include <array>
#include <cstdint>

enum Rule : int {
  SayAscending,
  SayDescending,
  SayDescendingEnd1,
  SaySelfSimilar,
  SayHourMinuteMatch,
  SayHourMinuteMirror,
  SayHourProg,
  Say420,
  SayAlarm1,
  SayAlarm2,
};

constexpr int kRuleCount = 10;

// One Say switch per rule; a rule takes part only when its switch is exactly 1.
using SaySwitches = std::array<std::int32_t, kRuleCount>;
